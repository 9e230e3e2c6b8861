#!/usr/bin/env bash
# Compares the installer's download, extraction and MD5 code with the usual tools, side by side
# on this machine, and prints a Markdown table: the wall time of ours and of the peer and the
# peer's divided by ours (above 1 means ours is faster), the same for the CPU time (user + system,
# all threads), and the peak resident memory of ours. Then the tables of a dropped download
# continued against started over (qv-bench-resume).
#
# Usage: tools/bench/run-benchmarks.sh [WORK_FOLDER]   (default /dev/shm/qv-bench, a tmpfs)
# QV_BENCH_MIB (default 1024) sets the size of the download and MD5 input and of the large
# archive's content, QV_BENCH_SMALL_FILES (default 20000) the number of small files; the inputs
# are made once and kept in the work folder.
# Builds the benchmark programs in build/default first. Every figure is the best of RUNS runs
# after one warm-up run (wall and CPU time each the least of the runs); each extraction goes
# into a fresh folder on the work folder's file system.
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
work="${1:-/dev/shm/qv-bench}"
runs="${RUNS:-3}"
bin="$root/build/default/tools/bench"

cmake --preset default >/dev/null
cmake --build --preset default --target qv-bench-download qv-bench-extract qv-bench-md5 \
  qv-bench-server qv-bench-resume >/dev/null

mkdir -p "$work"
/usr/bin/python3 "$root/tools/bench/make_bench_data.py" "$work" "${QV_BENCH_MIB:-1024}" \
  "${QV_BENCH_SMALL_FILES:-20000}"
[ -f "$work/large.zip" ] || (cd "$work/large" && zip -q -r "$work/large.zip.part" . && mv "$work/large.zip.part" "$work/large.zip")
[ -f "$work/small.zip" ] || (cd "$work/small" && zip -q -r "$work/small.zip.part" . && mv "$work/small.zip.part" "$work/small.zip")

# Prints "SECONDS CPU_SECONDS PEAK_KIB": the least wall time and the least CPU time (user +
# system) of `runs` runs of the command after a warm-up run, and the peak memory of the fastest.
# $prepare runs before each run (outside the measurement), $cleanup after it.
best_of() {
  local best="" best_cpu="" best_rss="" line
  for i in $(seq 0 "$runs"); do
    eval "$prepare"
    local code=0
    /usr/bin/time -o "$work/time.out" -f '%e %U %S %M' "$@" >/dev/null 2>"$work/stderr.out" || code=$?
    if [ "$code" -ne 0 ]; then
      echo "run-benchmarks: '$*' failed with exit code $code: $(cat "$work/stderr.out")" >&2
      exit 1
    fi
    line="$(tail -1 "$work/time.out")"
    eval "$cleanup"
    [ "$i" -eq 0 ] && continue  # warm-up
    local seconds user system rss cpu
    read -r seconds user system rss <<<"$line"
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN{printf "%.2f", u + s}')
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best="$seconds"; best_rss="$rss"; fi
    if [ -z "$best_cpu" ] || awk "BEGIN{exit !($cpu < $best_cpu)}"; then best_cpu="$cpu"; fi
  done
  echo "$best $best_cpu $best_rss"
}

row() {  # NAME "OUR_SECONDS OUR_CPU OUR_KIB" PEER_NAME "PEER_SECONDS PEER_CPU PEER_KIB"
  local name="$1" peer_name="$3" our_s our_cpu our_rss peer_s peer_cpu peer_rss
  read -r our_s our_cpu our_rss <<<"$2"
  read -r peer_s peer_cpu peer_rss <<<"$4"
  awk -v n="$name" -v p="$peer_name" -v o="$our_s" -v q="$peer_s" -v oc="$our_cpu" \
    -v qc="$peer_cpu" -v r="$our_rss" \
    'BEGIN{printf "| %s | %.2f s | %s: %.2f s | %.2f | %.2f s | %.2f s | %.2f | %.1f MiB |\n", n, o, p, q,
      (o > 0 ? q / o : 0), oc, qc, (oc > 0 ? qc / oc : 0), r / 1024}'
}

# A port file left by an earlier run would name a server that is gone.
rm -f "$work/port"
"$bin/qv-bench-server" "$work/payload.bin" "$work/port" 2>"$work/server.err" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
# No run starts before the server answers; a server that ends or never answers says so.
answered=""
for _ in $(seq 300); do
  if ! kill -0 "$server" 2>/dev/null; then
    echo "run-benchmarks: the loopback server ended: $(cat "$work/server.err")" >&2
    exit 1
  fi
  if [ -s "$work/port" ] &&
     curl -s -f -I -o /dev/null --max-time 2 "http://127.0.0.1:$(cat "$work/port")/file"; then
    answered=yes
    break
  fi
  sleep 0.1
done
if [ -z "$answered" ]; then
  echo "run-benchmarks: the loopback server did not answer within 30 s" >&2
  exit 1
fi
url="http://127.0.0.1:$(cat "$work/port")/file"

echo "| benchmark | ours | peer | peer time / our time | CPU of ours | CPU of peer | peer CPU / our CPU | peak memory of ours |"
echo "|---|---|---|---|---|---|---|---|"

prepare=":"; cleanup="rm -f '$work/download.out'"
ours="$(best_of "$bin/qv-bench-download" "$url" "$work/download.out")"
peer="$(best_of curl -s -o "$work/download.out" "$url")"
row "download $(du -h "$work/payload.bin" | cut -f1) over loopback" "$ours" "curl -o" "$peer"

for archive in large small; do
  prepare="rm -rf '$work/out'"; cleanup="rm -rf '$work/out'"
  ours="$(best_of "$bin/qv-bench-extract" "$work/$archive.zip" "$work/out")"
  peer_unzip="$(best_of unzip -q "$work/$archive.zip" -d "$work/out")"
  prepare="rm -rf '$work/out'; mkdir '$work/out'"
  peer_bsdtar="$(best_of bsdtar -xf "$work/$archive.zip" -C "$work/out")"
  label="extract $archive.zip ($(du -sh "$work/$archive" | cut -f1) in $(find "$work/$archive" -type f | wc -l) files)"
  row "$label" "$ours" "unzip -q" "$peer_unzip"
  row "$label" "$ours" "bsdtar -xf" "$peer_bsdtar"
done

prepare=":"; cleanup=":"
ours="$(best_of "$bin/qv-bench-md5" "$work/payload.bin")"
peer="$(best_of md5sum "$work/payload.bin")"
row "MD5 of $(du -h "$work/payload.bin" | cut -f1)" "$ours" "md5sum" "$peer"

# A dropped download continued against started over: a 300 MiB archive (QV_BENCH_RESUME_MIB)
# whose connection drops at 30, 60 and 90 %, unthrottled and at 50 MiB/s (a fast line, where
# the time follows the bytes).
echo
"$bin/qv-bench-resume" "$work/resume" "${QV_BENCH_RESUME_MIB:-300}"
echo
"$bin/qv-bench-resume" "$work/resume" "${QV_BENCH_RESUME_MIB:-300}" $((50 * 1024 * 1024))
rm -rf "$work/resume"
