#!/usr/bin/env bash
# Hot-directory benchmark: drops 500 tiny AVI files into a watched folder and measures the time
# until the last output exists, then measures the CPU the watcher uses while idle over a
# 10 000-file tree. Writes its section of bench/results.md.
#   bash bench/hotdir-bench.sh [FILES] [TREE_FILES] [IDLE_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/results-section.sh
files=${1:-500}
tree=${2:-10000}
idle=${3:-30}

cmake -S . -B build-hotdir-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUCOR_TESTS=OFF >/dev/null
cmake --build build-hotdir-bench --target pellucor-cli make-avi >/dev/null
cli=$PWD/build-hotdir-bench/bin/pellucor-cli
work=$(mktemp -d /tmp/pellucor-hotdir-bench-XXXXXX)
trap 'kill $watcher 2>/dev/null || true; rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config
mkdir -p "$work/src" "$work/in" "$work/out" "$work/log"

build-hotdir-bench/bin/make-avi --size 160x120 --seconds 0.4 "$work/src/seed.avi" >/dev/null
for i in $(seq 1 "$files"); do cp "$work/src/seed.avi" "$work/src/clip$i.avi"; done
rm "$work/src/seed.avi"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# 1. A burst of files: all copied in at once (copied beside, renamed in, as a copier does).
"$cli" watch --in "$work/in" --out "$work/out" --log "$work/log" --format flv --preset 3 \
  >"$work/watch.out" 2>"$work/watch.err" &
watcher=$!
sleep 1
start=$(date +%s.%N)
for f in "$work"/src/*.avi; do mv "$f" "$work/in/"; done
while [ "$(find "$work/out" -name '*.flv' | wc -l)" -lt "$files" ]; do
  sleep 0.2
  kill -0 $watcher 2>/dev/null || { echo "watcher died" >&2; cat "$work/watch.err" >&2; exit 1; }
done
end=$(date +%s.%N)
burst=$(printf "%.1f" "$(echo "$end - $start" | bc)")
finished=$(grep -c '^Finish: ' "$work/watch.out" || true)
kill -INT $watcher; wait $watcher || true

# 2. Idle over a big tree: how much CPU the watcher takes while nothing changes.
mkdir -p "$work/tree"
for d in $(seq 1 100); do
  mkdir -p "$work/tree/d$d/sub"
  for f in $(seq 1 $((tree / 100))); do : >"$work/tree/d$d/sub/f$f.txt"; done
done
"$cli" watch --in "$work/tree" --out "$work/out" --log "$work/log" --subdir \
  >/dev/null 2>"$work/idle.err" &
watcher=$!
sleep 3
t0=$(cpu_ticks $watcher)
sleep "$idle"
t1=$(cpu_ticks $watcher)
hz=$(getconf CLK_TCK)
idle_cpu=$(printf "%.3f" "$(echo "scale=3; ($t1 - $t0) / $hz" | bc)")
kill -INT $watcher; wait $watcher || true

section=$(cat <<MD
<!-- hotdir:begin -->
## Hot directory ($(date -u +%Y-%m-%d), $(nproc) cores, Release build)

| Measure | Result |
|---|---|
| $files tiny AVI files (160x120, 0.4 s) moved into the watched folder at once, to FLV | last output after ${burst} s; $finished "Finish" lines in the log |
| CPU used by \`pellucor-cli watch --subdir\` over a $tree-file tree, idle for ${idle} s | ${idle_cpu} s of CPU |

Run with \`bash bench/hotdir-bench.sh\`. Every file passes the five looks 500 ms apart before
it is converted, and the mode starts at most one conversion per 500 ms tick (one at a time, in
the order reported), so a burst of N files cannot finish in less than about N x 0.5 s: 500 files
take at least 250 s however fast each conversion is.
<!-- hotdir:end -->
MD
)
write_results_section bench/results.md hotdir "$section"
