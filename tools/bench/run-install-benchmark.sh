#!/usr/bin/env bash
# The whole-run benchmark: the installer against the demo platform service with a large
# installation, measured against doing the same by hand, then the micro-benchmarks
# (run-benchmarks.sh). Prints Markdown tables and the machine's load with each measurement.
#
# Usage: tools/bench/run-install-benchmark.sh [WORK_FOLDER]   (default /dev/shm/qv-install-bench)
#
#   QV_BENCH_PLATFORM_MIB  bulk data in the platform archive (default 512)
#   QV_BENCH_PLUGIN_MIB    bulk data in the plug-in package (default 64)
#   RUNS                   measured runs of each timed case (default 5), after one warm-up run
#   CPU_SECONDS            length of each CPU-while-waiting sample (default 20)
#   SKIP_MICRO=1           leave out the micro-benchmarks
#   BUILD=0                use the programs built before (build/demo, build/default)
#   PARTS                  the parts to measure (default "install cpu startup"; the table is
#                          complete only with all three)
#
# Measures:
#   1. install time: the installer (QT_QPA_PLATFORM=offscreen) from its start to its exit after
#      "Installation completed.", against tools/bench/install-by-hand.sh (curl -o, md5sum,
#      unzip -q); both on the large content and on the demo build's small content. The small
#      content's difference is what the installer spends whatever the archives' size (the
#      designed waits and the start-up), shown on its own row and taken off the large ratio.
#   2. the installer's peak resident memory in those runs (large and small content);
#   3. the installer's CPU time per second of wall time while a download is throttled to
#      256 KiB/s, and while downloads trickle at 16 bytes/s (only the network watch and the
#      refresh timer run);
#   4. start-up: from the process start to the first frame flushed to its window, under Xvfb,
#      against tools/bench/bench_first_frame_window.cpp (tools/bench/first_frame.py).
# Every installation goes into a fresh folder (HOME, XDG_*, TMPDIR, QV_MACHINE_ROOT) on the work
# folder's file system; the folders of all runs are removed at the end, not between runs.
set -euo pipefail
shopt -s inherit_errexit

root="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-/dev/shm/qv-install-bench}"
runs="${RUNS:-5}"
cpu_seconds="${CPU_SECONDS:-20}"
platform_mib="${QV_BENCH_PLATFORM_MIB:-512}"
plugin_mib="${QV_BENCH_PLUGIN_MIB:-64}"
readonly https_port=18443 http_port=18080 probe_port=18444  # as in the demo preset
demo="$root/build/demo"
bench="$root/tools/bench"

say() { printf '\n== %s\n' "$*" >&2; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

if [ "${BUILD:-1}" != 0 ]; then
  say "Building the demo preset and the start-up peer"
  cmake --preset demo >/dev/null
  cmake --build --preset demo >/dev/null
  cmake --preset default >/dev/null
  cmake --build --preset default --target qv-bench-first-frame >/dev/null
fi
installer="$demo/src/app/qvorvane-installer"
[ -x "$installer" ] || installer=$(find "$demo" -name qvorvane-installer -type f -perm -u+x | head -n 1)

say "Content: ${platform_mib} MiB platform archive, ${plugin_mib} MiB plug-in ($work)"
mkdir -p "$work"
python3 "$bench/make_install_content.py" "$demo/demo-content" \
  "$root/tools/demo-service/scenarios" "$work" "$platform_mib" "$plugin_mib"
ls -l "$work/content/qvorvane/repository/install/QVorvaneSetup_3.2.1.45.zip" \
  "$work/content/qvorvane/repository/plugin/air/air_runtime_27.zip" >&2

runs_dir="$work/runs.$$"
mkdir -p "$runs_dir"
service_pid="" xvfb_pid="" background_pid=""
stop_pid() {  # PID: SIGTERM, and SIGKILL when it is still there after 10 s
  [ -n "$1" ] && kill "$1" 2>/dev/null || return 0
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {  # keeps the run folders when a run failed
  local status=$?
  stop_pid "$background_pid"; stop_pid "$service_pid"; stop_pid "$xvfb_pid"
  if [ "$status" -eq 0 ]; then rm -rf "$runs_dir"; else echo "run folders kept in $runs_dir" >&2; fi
}
trap cleanup EXIT

start_service() {  # SCENARIO_FILE CONTENT_FOLDER
  stop_pid "$service_pid"
  rm -f "$runs_dir/service.ready"
  "$demo/tools/demo-service/qv-demo-service" --scenario "$1" --content "$2" \
    --stats-log "$runs_dir/statistics.log" --pki "$demo/demo-pki" --https-port "$https_port" \
    --http-port "$http_port" --probe-port "$probe_port" --ready-file "$runs_dir/service.ready" \
    --quiet >"$runs_dir/service.log" 2>&1 &
  service_pid=$!
  for _ in $(seq 100); do [ -f "$runs_dir/service.ready" ] && return 0; sleep 0.1; done
  cat "$runs_dir/service.log" >&2
  echo "run-install-benchmark: the demo service did not start" >&2
  exit 1
}

fresh_state() {  # prints a new, empty per-user state folder
  local state; state=$(mktemp -d "$runs_dir/run.XXXXXX")
  mkdir -p "$state/home/Desktop" "$state/home/.local/share" "$state/home/.config" \
    "$state/home/.cache" "$state/tmp" "$state/machine"
  mkdir -m 0700 "$state/run"
  cp "$installer" "$state/tov3_web.run"  # the package code comes from the file name
  echo "$state"
}

in_state() {  # STATE COMMAND...: runs COMMAND with the per-user folders inside STATE
  local state="$1"; shift
  (cd "$state" && exec env HOME="$state/home" XDG_DATA_HOME="$state/home/.local/share" \
    XDG_CONFIG_HOME="$state/home/.config" XDG_CACHE_HOME="$state/home/.cache" \
    XDG_RUNTIME_DIR="$state/run" TMPDIR="$state/tmp" QV_MACHINE_ROOT="$state/machine" "$@")
}

# Prints "WALL USER SYS PEAK_KIB" of one installation into a fresh folder; fails unless the
# installer ended with 0 after starting the installed client.
install_once() {
  local state; state=$(fresh_state)
  if ! in_state "$state" env QT_QPA_PLATFORM=offscreen timeout 600 \
      /usr/bin/time -o "$state/time.out" -f '%e %U %S %M' "$state/tov3_web.run" \
      >"$state/installer.log" 2>&1; then
    echo "run-install-benchmark: the installer failed (see $state)" >&2; exit 1
  fi
  local record="$state/home/.local/share/Qvorvane/app/launch.txt"
  for _ in $(seq 50); do grep -qs '^started:' "$record" && break; sleep 0.1; done
  grep -qs '^started:' "$record" || {
    echo "run-install-benchmark: the installer did not start the client (see $state)" >&2
    exit 1; }
  tail -1 "$state/time.out"
}

by_hand_once() {
  local state; state=$(fresh_state)
  /usr/bin/time -o "$state/time.out" -f '%e %U %S %M' "$bench/install-by-hand.sh" \
    "$demo/demo-pki/ca.pem" "https://127.0.0.1:$https_port" "$state/by-hand" >&2
  tail -1 "$state/time.out"
}

# COLUMN of lines "WALL USER SYS KIB" on stdin -> "MEDIAN MIN MAX"
stats() {
  awk -v c="$1" '{print $c}' | sort -g | awk '{v[NR]=$1}
    END{n=NR; m=(n%2)?v[(n+1)/2]:(v[n/2]+v[n/2+1])/2; printf "%.3f %.3f %.3f\n", m, v[1], v[n]}'
}

measure() {  # FUNCTION -> lines of RUNS runs after a warm-up run, in $runs_dir/FUNCTION.$label
  local out="$runs_dir/$1.$label"
  "$1" >/dev/null || exit 1
  : >"$out"
  for _ in $(seq "$runs"); do "$1" >>"$out" || exit 1; done
  echo "$out"
}

results="$runs_dir/results.md"
declare -A median spread
part() { [[ " ${PARTS:-install cpu startup} " == *" $1 "* ]]; }
record() {  # KEY FILE COLUMN [SCALE]
  read -r m lo hi < <(stats "$3" <"$2")
  local scale="${4:-1}"
  median[$1]=$(awk -v v="$m" -v s="$scale" 'BEGIN{printf "%.3f", v * s}')
  spread[$1]=$(awk -v a="$lo" -v b="$hi" -v s="$scale" 'BEGIN{printf "%.2f-%.2f", a * s, b * s}')
}

for label in large small; do
  part install || break
  if [ "$label" = large ]; then
    start_service "$work/large.json" "$work/content"
  else
    start_service "$root/tools/demo-service/scenarios/plugin-312.json" "$demo/demo-content"
  fi
  say "Install time, $label content: $runs runs each after a warm-up (load $(load))"
  ours=$(measure install_once)
  peer=$(measure by_hand_once)
  record "ours_$label" "$ours" 1
  record "ours_cpu_$label" <(awk '{print $2 + $3}' "$ours") 1
  record "ours_kib_$label" "$ours" 4 0.0009765625
  record "peer_$label" "$peer" 1
  record "peer_cpu_$label" <(awk '{print $2 + $3}' "$peer") 1
  echo "$label: installer $(paste -sd' ' <(cut -d' ' -f1 "$ours")) s;" \
    "by hand $(paste -sd' ' <(cut -d' ' -f1 "$peer")) s (load $(load))" >&2
done

# CPU per second of wall time of a running installer, from /proc/PID/stat (utime + stime).
cpu_sample() {  # SCENARIO -> percent of one core
  start_service "$1" "$work/content"
  local state; state=$(fresh_state)
  in_state "$state" sh -c 'echo $$ >installer.pid; exec env QT_QPA_PLATFORM=offscreen ./tov3_web.run' \
    >"$state/installer.log" 2>&1 &
  sleep 5  # start-up, package query, downloads under way
  background_pid=$(cat "$state/installer.pid")
  local ticks hz; hz=$(getconf CLK_TCK)
  ticks=$(awk '{print $14 + $15}' "/proc/$background_pid/stat")
  local begin; begin=$(date +%s.%N)
  sleep "$cpu_seconds"
  local ticks_end; ticks_end=$(awk '{print $14 + $15}' "/proc/$background_pid/stat")
  local end; end=$(date +%s.%N)
  stop_pid "$background_pid"; background_pid=""
  awk -v t="$((ticks_end - ticks))" -v hz="$hz" -v a="$begin" -v b="$end" \
    'BEGIN{printf "%.3f\n", 100 * t / hz / (b - a)}'
}
for label in throttled waiting; do
  part cpu || break
  say "CPU while waiting ($label): 3 samples of ${cpu_seconds} s (load $(load))"
  : >"$runs_dir/cpu.$label"
  for _ in 1 2 3; do cpu_sample "$work/$label.json" >>"$runs_dir/cpu.$label"; done
  record "cpu_$label" "$runs_dir/cpu.$label" 1
  echo "$label: $(paste -sd' ' "$runs_dir/cpu.$label") % (load $(load))" >&2
done
stop_pid "$service_pid"; service_pid=""

if part startup; then
  say "Start-up to the first frame under Xvfb: $runs runs each after a warm-up (load $(load))"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$runs_dir/display" \
    >"$runs_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$runs_dir/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$runs_dir/display")"
  first_frame_installer() {  # no service runs: the window shows, the package query fails
    local state; state=$(fresh_state)
    in_state "$state" python3 "$bench/first_frame.py" "$state/tov3_web.run"
  }
  first_frame_peer() { python3 "$bench/first_frame.py" "$root/build/default/tools/bench/qv-bench-first-frame"; }
  label=startup
  ours=$(measure first_frame_installer)
  peer=$(measure first_frame_peer)
  record startup_ours "$ours" 1
  record startup_peer "$peer" 1
  echo "start-up: installer $(paste -sd' ' "$ours") s; bare window $(paste -sd' ' "$peer") s" >&2
  stop_pid "$xvfb_pid"; xvfb_pid=""
fi

for key in ours_large ours_cpu_large ours_kib_large peer_large peer_cpu_large ours_small \
    ours_cpu_small ours_kib_small peer_small peer_cpu_small cpu_throttled cpu_waiting \
    startup_ours startup_peer; do  # left out by PARTS
  median[$key]=${median[$key]:-0}; spread[$key]=${spread[$key]:-not measured}
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", (b > 0 ? a / b : 0)}'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN{print (v <= t ? "pass" : "FAIL")}'; }
fixed=$(awk -v a="${median[ours_small]}" -v b="${median[peer_small]}" 'BEGIN{printf "%.3f", a - b}')
net_large=$(awk -v a="${median[ours_large]}" -v f="$fixed" 'BEGIN{printf "%.3f", a - f}')
r_large=$(ratio "${median[ours_large]}" "${median[peer_large]}")
r_net=$(ratio "$net_large" "${median[peer_large]}")
r_cpu_large=$(ratio "${median[ours_cpu_large]}" "${median[peer_cpu_large]}")
r_start=$(ratio "${median[startup_ours]}" "${median[startup_peer]}")
kib_growth=$(awk -v a="${median[ours_kib_large]}" -v b="${median[ours_kib_small]}" 'BEGIN{printf "%+.1f", a - b}')

cat <<TABLE
Whole run: ${platform_mib} MiB platform archive + ${plugin_mib} MiB plug-in, median of $runs runs (range), $(date -u '+%Y-%m-%d %H:%M UTC'), load at the end $(load)

| measure | ours | baseline | ratio | target | result |
|---|---|---|---|---|---|
| install, large content (wall) | ${median[ours_large]} s (${spread[ours_large]}) | by hand: ${median[peer_large]} s (${spread[peer_large]}) | $r_large | - | - |
| install, small content (wall): the fixed part | ${median[ours_small]} s (${spread[ours_small]}) | by hand: ${median[peer_small]} s (${spread[peer_small]}) | +$fixed s | - | - |
| install, large content, fixed part taken off | $net_large s | ${median[peer_large]} s | $r_net | <= 1.15 | $(verdict "$r_net" 1.15) |
| install, large content (CPU user+sys) | ${median[ours_cpu_large]} s (${spread[ours_cpu_large]}) | by hand: ${median[peer_cpu_large]} s (${spread[peer_cpu_large]}) | $r_cpu_large | - | - |
| peak memory, large content | ${median[ours_kib_large]} MiB (${spread[ours_kib_large]}) | - | - | < 80 MiB | $(verdict "${median[ours_kib_large]}" 79.999) |
| peak memory, small content | ${median[ours_kib_small]} MiB (${spread[ours_kib_small]}) | - | growth $kib_growth MiB | independent of size | - |
| CPU, download throttled to 256 KiB/s | ${median[cpu_throttled]} % (${spread[cpu_throttled]}) | - | - | < 3 % | $(verdict "${median[cpu_throttled]}" 2.999) |
| CPU, only network watch and refresh timer | ${median[cpu_waiting]} % (${spread[cpu_waiting]}) | - | - | < 3 % | $(verdict "${median[cpu_waiting]}" 2.999) |
| start-up to first frame (Xvfb) | ${median[startup_ours]} s (${spread[startup_ours]}) | bare window: ${median[startup_peer]} s (${spread[startup_peer]}) | $r_start | <= 1.5 | $(verdict "$r_start" 1.5) |
TABLE

if [ "${SKIP_MICRO:-0}" != 1 ]; then
  say "Micro-benchmarks (tools/bench/run-benchmarks.sh, load $(load))"
  echo
  "$bench/run-benchmarks.sh"
fi
