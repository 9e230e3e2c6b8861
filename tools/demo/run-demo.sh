#!/usr/bin/env bash
# The demo: installs the QVorvane platform from the demo platform service on this machine.
#
#   tools/demo/run-demo.sh [--windows] [--scenario NAME] [--use-my-home] [--timeout SECONDS]
#                          [--service-only] [--list]
#
# Installs the Debian packages the project needs, builds the `demo` preset (the installer with
# the service's loopback addresses and CA built in), starts the demo platform service with the
# scenario (default: plugin-312, a new installation with the runtime plug-in), runs the installer
# as tov3_web.run on your display (or, without a usable one, under Xvfb with a compositing
# manager, taking screenshots), waits until it quits, stops the service and reports what the
# installation left behind.
#
# Everything the installer writes for "this user" goes into a throw-away folder (HOME, XDG_*,
# TMPDIR and QV_MACHINE_ROOT point there), unless --use-my-home is given.
#
#   --windows         the Windows installer under Wine instead: builds the windows-demo preset
#                     (the installer with the service's addresses by the name localhost and
#                     the demo CA) and the service's content with the Windows demo client, makes a
#                     fresh Wine prefix in the throw-away folder (font faces the windows ask for
#                     mapped to installed fonts) and runs tov3_web.exe there; the report reads
#                     the prefix's registry (wine reg query) and its shortcuts
#   --scenario NAME   a scenario of tools/demo-service/scenarios (see --list)
#   --use-my-home     install into your own home folder instead of the throw-away folder (not
#                     with --windows: a Wine run always has a prefix of its own)
#   --timeout S       stop an installer still open after S seconds (default 120; a failed run
#                     waits for a click on its message box or its close button, which under
#                     Xvfb the script gives)
#   --service-only    start only the service (ports 18443, 18080, 18444) until Ctrl-C
#   --list            list the scenarios and exit
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$(pwd)

readonly https_port=18443 http_port=18080 probe_port=18444  # as in the demo preset
readonly scenario_dir="$source_dir/tools/demo-service/scenarios"
readonly build_dir="$source_dir/build/demo"
readonly windows_build_dir="$source_dir/build/windows-demo"

scenario=plugin-312
installer_wait_s=120
use_my_home=0
service_only=0
windows=0
while [ $# -gt 0 ]; do
  case "$1" in
    --scenario) scenario=${2:?--scenario takes a name}; shift 2 ;;
    --use-my-home) use_my_home=1; shift ;;
    --windows) windows=1; shift ;;
    --timeout) installer_wait_s=${2:?--timeout takes seconds}; shift 2 ;;
    --service-only) service_only=1; shift ;;
    --list)
      for file in "$scenario_dir"/*.json; do
        name=$(basename "$file" .json)
        description=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1])).get("description",""))' "$file")
        printf '  %-24s %s\n' "$name" "$description"
      done
      exit 0 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) echo "run-demo: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
scenario_file="$scenario_dir/$scenario.json"
if [ ! -f "$scenario_file" ]; then
  echo "run-demo: no scenario \"$scenario\"; these exist:" >&2
  "$0" --list >&2
  exit 2
fi

if [ "$windows" -eq 1 ] && [ "$use_my_home" -eq 1 ]; then
  echo "run-demo: --use-my-home does not go with --windows (a Wine run has a prefix of its own)" >&2
  exit 2
fi

say() { printf '\n== %s\n' "$*"; }

say "Dependencies"
bash tools/install-deps.sh
service_build_dir="$build_dir"
content_dir="$build_dir/demo-content"
if [ "$windows" -eq 1 ]; then
  bash tools/install-deps.sh windows
  say "Building the windows-demo preset (build/windows-demo)"
  cmake --preset windows-demo >/dev/null
  cmake --build --preset windows-demo
  # The service and its content with the Windows demo client come from the wine-e2e build (the
  # Linux side of the runs under Wine); the CA stays the demo's, the one the installer trusts.
  say "Building the wine-e2e preset (build/wine-e2e): the service with the Windows content"
  cmake --preset wine-e2e >/dev/null
  cmake --build --preset wine-e2e
  service_build_dir="$source_dir/build/wine-e2e"
  content_dir="$service_build_dir/demo-content-windows"
  windows_installer="$windows_build_dir/src/app/qvorvane-installer.exe"
  if [ ! -f "$windows_installer" ]; then
    echo "run-demo: the windows-demo build made no installer ($windows_installer)" >&2
    exit 1
  fi
else
  say "Building the demo preset (build/demo)"
  cmake --preset demo >/dev/null
  cmake --build --preset demo
fi

state=$(mktemp -d "${TMPDIR:-/tmp}/qvorvane-demo.XXXXXX")
service_pid=""
xvfb_pid=""
compositor_pid=""
installer_pid=""
tail_pid=""
cleanup() {
  # A Wine run: every Windows process of the prefix ends with its server.
  [ "$windows" -eq 1 ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
  for pid in "$tail_pid" "$installer_pid" "$compositor_pid" "$xvfb_pid" "$service_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
}
trap cleanup EXIT

# The demo's archives are small: downloads are paced so that the largest (the platform archive)
# takes about four seconds, and a person (and the screenshots) can see the download happen. A
# scenario with a rate of its own keeps it.
largest_archive=$(find "$content_dir/qvorvane/repository" -type f -name '*.zip' -printf '%s\n' \
                  | sort -n | tail -n 1)
pace=$(( ${largest_archive:-0} / 4 > 1024 ? ${largest_archive:-0} / 4 : 1024 ))

say "Starting the demo platform service: scenario $scenario"
# The Windows installer asks for its content by the name localhost: its TLS matches the
# certificate by name only.
content_host=()
[ "$windows" -eq 1 ] && content_host=(--content-host localhost)
"$service_build_dir/tools/demo-service/qv-demo-service" \
  --scenario "$scenario_file" --content "$content_dir" --pace "$pace" "${content_host[@]}" \
  --stats-log "$state/statistics.log" --pki "$build_dir/demo-pki" \
  --https-port "$https_port" --http-port "$http_port" --probe-port "$probe_port" \
  --ready-file "$state/service.ready" >"$state/service.log" 2>&1 &
service_pid=$!
for _ in $(seq 100); do
  [ -f "$state/service.ready" ] && break
  if ! kill -0 "$service_pid" 2>/dev/null; then
    cat "$state/service.log" >&2
    echo "run-demo: the service did not start (is a port of $https_port, $http_port, $probe_port taken?)" >&2
    exit 1
  fi
  sleep 0.1
done
[ -f "$state/service.ready" ] || { echo "run-demo: the service did not become ready" >&2; exit 1; }
sed -n '1,6p' "$state/service.log"

if [ "$service_only" -eq 1 ]; then
  echo "Serving until Ctrl-C; requests are logged to $state/service.log"
  trap 'exit 0' INT TERM
  tail -n +7 -f "$state/service.log" &
  tail_pid=$!
  wait "$service_pid"
  exit 0
fi

if [ "$windows" -eq 1 ]; then
  # Made before TMPDIR points into the throw-away folder: the prefix is a copy of the template
  # the Windows tests make once.
  say "Making a fresh Wine prefix with the font replacements ($state/prefix)"
  export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  tools/windows/wine-prefix.sh "$WINEPREFIX" --fonts
  /usr/lib/wine/wine64 reg query 'HKCU\Software\Wine\Fonts\Replacements' 2>/dev/null \
    | tr -d '\r' | sed -n 's/^    /  /p'
  wine_user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public -printf '%f\n' \
              | head -n 1)
  user_files="$WINEPREFIX/drive_c/users/$wine_user"
  user_folder="C:\\users\\$wine_user"
fi

real_home=$HOME
if [ "$use_my_home" -eq 0 ]; then
  export XAUTHORITY=${XAUTHORITY:-$real_home/.Xauthority}
  export HOME="$state/home"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$state/run" TMPDIR="$state/tmp" QV_MACHINE_ROOT="$state/machine"
  mkdir -p "$HOME/Desktop" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$TMPDIR" "$QV_MACHINE_ROOT"
  mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
  say "Per-user state goes into the throw-away folder $state"
  echo "(HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME, XDG_RUNTIME_DIR, TMPDIR and QV_MACHINE_ROOT"
  echo " point into it; --use-my-home installs into your own home folder instead.)"
else
  say "Installing into your own home folder ($HOME)"
fi

# The distributed installer is named after its package code.
if [ "$windows" -eq 1 ]; then
  installer="$user_files/Downloads/tov3_web.exe"
  mkdir -p "$(dirname "$installer")"
  cp "$windows_installer" "$installer"
  run_installer=(/usr/lib/wine/wine64 "$installer")
  # The windows of a Wine process carry no process number X tools can match: by its title.
  installer_window=(--name '^QVorvaneDownloader$')
  data_folder="$user_files/AppData/Local/Qvorvane"
else
  installer="$state/tov3_web.run"
  cp "$(find "$build_dir" -name qvorvane-installer -type f -perm -u+x | head -n 1)" "$installer"
  run_installer=("$installer")
  installer_window=(--pid "")  # the process number follows once it runs
  data_folder="${XDG_DATA_HOME:-$HOME/.local/share}/Qvorvane"
fi

screenshots="$state/screenshots"
use_xvfb=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  use_xvfb=0
  say "Running $installer on your display $DISPLAY"
else
  mkdir -p "$screenshots"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$state/display" >"$state/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$state/display")"
  xcompmgr >"$state/xcompmgr.log" 2>&1 &
  compositor_pid=$!
  say "Running $installer under Xvfb ($DISPLAY) with xcompmgr; screenshots go to $screenshots"
fi

shot() {  # name: one screenshot of the virtual screen
  [ "$use_xvfb" -eq 1 ] && import -display "$DISPLAY" -window root "$screenshots/$1.png" 2>/dev/null || true
}

launch_record="$data_folder/app/launch.txt"
launches_before=$(grep -c '^started:' "$launch_record" 2>/dev/null || true)
(cd "$state" && exec "${run_installer[@]}") >"$state/installer.log" 2>&1 &
installer_pid=$!
[ "${installer_window[0]}" = --pid ] && installer_window=(--pid "$installer_pid")

started=$(date +%s)
took_start=0
took_download=0
took_completion=0
failed_at=0
while kill -0 "$installer_pid" 2>/dev/null; do
  now=$(date +%s)
  # A default run takes a second or two: each picture is taken as soon as its moment comes.
  if [ "$took_start" -eq 0 ] && xdotool search --onlyvisible "${installer_window[@]}" >/dev/null 2>&1; then
    sleep 0.3; shot 1-start; took_start=1
  fi
  # The download is paced: a second after its first request it is well under way.
  if [ "$took_start" -eq 1 ] && [ "$took_download" -eq 0 ] && [ -z "${download_seen:-}" ] \
     && grep -q 'GET /qvorvane/repository/' "$state/service.log"; then
    download_seen=$now
  fi
  if [ "$took_download" -eq 0 ] && [ -n "${download_seen:-}" ] && [ "$now" -gt "$download_seen" ]; then
    shot 2-download; took_download=1
  fi
  launches=$(grep -c '^started:' "$launch_record" 2>/dev/null || true)
  # The client is started just before the last status; the window shows it at its next refresh
  # (150 ms) and stays 800 ms on it.
  if [ "$took_completion" -eq 0 ] && [ "${launches:-0}" -gt "${launches_before:-0}" ]; then
    sleep 0.4; shot 3-completed; took_completion=1
  fi
  # A failed run (statistics op 5) waits for the user: under Xvfb nobody can click, so the
  # picture is taken, the no-connection box (if that is what shows) answered with Return, and
  # a window left on "Failed..." closed with its close button (centre 556,29 in the window)
  # a few seconds later, which ends the installer.
  if [ "$failed_at" -eq 0 ] && grep -q '&op=5&' "$state/statistics.log" 2>/dev/null; then
    sleep 1; shot 4-failed; failed_at=$now
    [ "$use_xvfb" -eq 1 ] && xdotool key Return 2>/dev/null || true
  fi
  if [ "$use_xvfb" -eq 1 ] && [ "$failed_at" -gt 0 ] && [ $(( now - failed_at )) -gt 3 ]; then
    xdotool search --onlyvisible --name '^QVorvaneDownloader$' \
      mousemove --window %1 556 29 click 1 >/dev/null 2>&1 || true
  fi
  if [ "$use_xvfb" -eq 1 ] && [ "$failed_at" -gt 0 ] && [ $(( now - failed_at )) -gt 10 ]; then
    echo "run-demo: the installer still shows \"Failed...\" after its close button was clicked; stopping it"
    kill "$installer_pid" 2>/dev/null || true
    break
  fi
  if [ $(( now - started )) -gt "$installer_wait_s" ]; then
    shot 5-still-open
    echo "run-demo: the installer is still open after ${installer_wait_s}s (a message box waiting for OK?); stopping it"
    kill "$installer_pid" 2>/dev/null || true
    break
  fi
  sleep 0.1
done
installer_status=0
wait "$installer_pid" 2>/dev/null || installer_status=$?
installer_pid=""
kill "$service_pid" 2>/dev/null || true
wait "$service_pid" 2>/dev/null || true
service_pid=""

# Where an installation leaves files: all of the throw-away home, or the platform's own places.
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
start_menu_programs="${user_files:-}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
if [ "$windows" -eq 1 ]; then
  report_places=("$data_folder" "$user_files/AppData/Roaming/Qvorvane" "$user_files/Desktop"
                 "$start_menu_programs/QVorvane")
elif [ "$use_my_home" -eq 0 ]; then
  report_places=("$HOME" "$QV_MACHINE_ROOT")
else
  report_places=("$data_home/Qvorvane" "$data_home/applications/Programs/QVorvane" "$HOME/Desktop"
                 "$data_home/applications/com.qvorvane.Client.desktop"
                 "$data_home/applications/com.qvorvane.ClientLink.desktop"
                 "${XDG_CONFIG_HOME:-$HOME/.config}/autostart/com.qvorvane.Client.desktop"
                 "$HOME/QVorvane" "${XDG_CONFIG_HOME:-$HOME/.config}/qvorvane-registry"
                 "${QV_MACHINE_ROOT:-/var/lib/qvorvane}/registry")
fi
# The outcome, from what the run sent to the statistics service and whether it started the
# client: the last install report (op 2: installed or found installed; op 5: failed).
last_install=$(grep -E '&op=(2|5)(&|$)' "$state/statistics.log" 2>/dev/null | tail -n 1 || true)
last_op=$(sed -n 's/.*&op=\([^&]*\).*/\1/p' <<<"$last_install")
last_ex=$(sed -n 's/.*&ex=\([^&]*\).*/\1/p' <<<"$last_install")
launches_after=$(grep -c '^started:' "$launch_record" 2>/dev/null || true)
if [ "$last_op" = 2 ] && [ "${launches_after:-0}" -gt "${launches_before:-0}" ]; then
  outcome="completed"
elif [ "$last_op" = 5 ]; then
  outcome="failed"
else
  outcome="did not finish"
fi
say "Report (scenario $scenario)"
echo "Outcome: $outcome (statistics op=${last_op:-none} ex=${last_ex:-(none)}); the installer exited with $installer_status"
echo "Files made (lock files left out):"
find "${report_places[@]}" -type f ! -name '.*.lock' 2>/dev/null \
  | grep -v -e '/\.cache/' -e '/\.Xauthority$' | sed "s|^$state/||" | sort | sed 's/^/  /' || true

if [ "$windows" -eq 1 ]; then
  echo
  echo "Registry (the prefix's own, read back with wine reg query):"
  reg_query() {  # KEY [OPTIONS]: the key's values as stored, or nothing when it is missing
    local shown
    shown=$(/usr/lib/wine/wine64 reg query "$@" 2>/dev/null) || return 0
    tr -d '\r' <<<"$shown" | sed -e '/^$/d' -e 's/^/  /'
  }
  for key in 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\qvorvane' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\App Paths\QVORVANE.EXE' \
             'HKCU\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\qvorvane' \
             'HKCU\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\App Paths\QVORVANE.EXE' \
             'HKCU\Software\Classes\QVorvane' 'HKCU\Software\qvorvane'; do
    reg_query "$key" /s
  done
  reg_query 'HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v qvorvane

  echo
  echo "Shortcuts (read back with lnkinfo):"
  links=$(find "$user_files/Desktop" "$start_menu_programs" -name '*.lnk' 2>/dev/null | sort || true)
else
  echo
  echo "Registry store:"
  for reg in "${XDG_CONFIG_HOME:-$HOME/.config}/qvorvane-registry/HKEY_CURRENT_USER.reg" \
             "${QV_MACHINE_ROOT:-/var/lib/qvorvane}/registry/HKEY_LOCAL_MACHINE.reg"; do
    if [ -f "$reg" ]; then
      echo "  -- $reg"
      sed -e '/^$/d' -e 's/^/     /' "$reg"
    fi
  done

  echo
  echo "Shortcuts (read back with lnkinfo):"
  links=$(find "$HOME/Desktop" "$data_home/applications" -name '*.lnk' ! -name '.*' 2>/dev/null | sort || true)
fi
[ -n "$links" ] || echo "  (none)"
while IFS= read -r link; do
  [ -n "$link" ] || continue
  echo "  -- ${link#"$state"/}"
  lnkinfo "$link" 2>/dev/null \
    | grep -E 'Local path|Working directory|Command line arguments|Icon location|Description' \
    | sed 's/^[[:space:]]*/     /' || echo "     (lnkinfo cannot read it)"
done <<<"$links"

echo
echo "Ini records:"
for ini in "$data_folder/app/qvorvane.ini" "$data_folder/gamebag/games.ini" \
           "$data_folder/gamebag/312/cfg.ini" "$data_folder/config.ini"; do
  if [ -f "$ini" ]; then
    echo "  -- ${ini#"$state"/}"
    tr -d '\r' <"$ini" | sed -e '/^$/d' -e 's/^/     /'
  fi
done

if [ "$windows" -eq 0 ]; then
  echo
  echo "Desktop entries (as the installation recorded them; each entry checked with desktop-file-validate):"
  desktop_record="$data_home/Qvorvane/desktop-files.txt"
  if [ -s "$desktop_record" ]; then
    while IFS= read -r made; do
      [ -n "$made" ] || continue
      case "$made" in
        *.desktop)
          if validation=$(desktop-file-validate "$made" 2>&1); then verdict=valid; else verdict="NOT VALID: $validation"; fi
          echo "  -- ${made#"$state"/} ($verdict)"
          grep -E '^(Name|Exec|Path|Icon|MimeType)=' "$made" | sed 's/^/     /' || true ;;
        *) echo "  -- ${made#"$state"/}" ;;
      esac
    done <"$desktop_record"
    echo "  default handler of x-scheme-handler/qvorvane (xdg-mime): $(xdg-mime query default x-scheme-handler/qvorvane 2>/dev/null || true)"
  else
    echo "  (none)"
  fi
fi

echo
echo "Downloads (body bytes served against the archive's size):"
grep -E '^  served ' "$state/service.log" 2>/dev/null || echo "  (none)"

echo
echo "Statistics events received ($state/statistics.log):"
if [ -s "$state/statistics.log" ]; then
  while IFS= read -r line; do
    op=$(sed -n 's/.*&op=\([^&]*\).*/\1/p' <<<"$line")
    ex=$(sed -n 's/.*&ex=\([^&]*\).*/\1/p' <<<"$line")
    printf '  op=%-3s ex=%-28s %s\n' "$op" "${ex:-(none)}" "$line"
  done <"$state/statistics.log"
else
  echo "  (none)"
fi

echo
echo "The client's launch line ($launch_record):"
if [ -f "$launch_record" ]; then
  tr -d '\r' <"$launch_record" | grep -E '^(working folder|arguments):' | tail -n 2 | sed 's/^/  /' || true
else
  echo "  (the client was not started)"
fi

if [ "$use_xvfb" -eq 1 ]; then
  echo
  echo "Screenshots:"
  ls "$screenshots"/*.png 2>/dev/null | sed 's/^/  /' || echo "  (none)"
fi

echo
echo "Service log: $state/service.log; installer output: $state/installer.log"
if [ "$windows" -eq 1 ]; then
  echo "All of it lies in $state (remove it when done); the prefix is $WINEPREFIX"
  echo "(look around with: WINEPREFIX=$WINEPREFIX /usr/lib/wine/wine64 regedit)."
elif [ "$use_my_home" -eq 0 ]; then
  echo "All of it lies in $state (remove it when done). To install into your own home folder:"
  echo "  tools/demo/run-demo.sh --scenario $scenario --use-my-home"
  echo "(uninstall afterwards with ~/.local/share/Qvorvane/app/uninstall.exe)."
fi
