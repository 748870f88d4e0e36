#!/usr/bin/env bash
# Load benchmark: a hot directory receiving files in bursts while it converts, and a batch list of
# thousands of rows in the window's file list. Every file must be converted exactly once; the
# figures (time, files converted, event-loop latency of the list) go to the "Load" section at the
# end of bench/results.md (other sections are kept).
#
#   bash bench/load-bench.sh [HOT_FILES] [BATCH_ROWS]      defaults 2000 and 5000
#   BUILD=dir bash bench/load-bench.sh ...                 Release tree to use (build-bench/load)
#   RESULTS=file bash bench/load-bench.sh 20 50            a trial that leaves results.md alone
#
# The hot directory converts one file per tick of its 500 ms timer, so HOT_FILES files take at
# least HOT_FILES/2 seconds whatever the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source bench/results-section.sh
HOT_FILES=${1:-2000}
BATCH_ROWS=${2:-5000}
BURST=${BURST:-100}
SCALE_NOTE=${SCALE_NOTE:-}  # a sentence for the results, e.g. why a run was scaled down
BUILD=${BUILD:-$ROOT/build-bench/load}
RESULTS=${RESULTS:-$ROOT/bench/results.md}
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)

echo "Building pellucor-cli, make-avi and load-window in $BUILD ..." >&2
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUCOR_TESTS=ON >/dev/null
ninja -C "$BUILD" -j2 pellucor-cli make-avi load-window >/dev/null
CLI=$BUILD/bin/pellucor-cli

WORK=$(mktemp -d /tmp/pellucor-load-bench-XXXXXX)
watcher=""
cleanup() {
  if [ -n "$watcher" ]; then kill "$watcher" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config QT_QPA_PLATFORM=offscreen
mkdir -p "$WORK/src" "$WORK/in" "$WORK/out" "$WORK/log" "$WORK/batch" "$WORK/batch-out"
"$BUILD/bin/make-avi" --size 160x120 --seconds 0.2 "$WORK/seed.avi" >/dev/null

# ---- 1. Hot directory: files arrive in bursts of $BURST while earlier ones convert ----------
for i in $(seq -w 1 "$HOT_FILES"); do cp "$WORK/seed.avi" "$WORK/src/hot$i.avi"; done
"$CLI" watch --in "$WORK/in" --out "$WORK/out" --log "$WORK/log" --subdir --format flv --preset 3 \
  >"$WORK/watch.out" 2>"$WORK/watch.err" &
watcher=$!
until grep -q watching "$WORK/watch.err"; do sleep 0.1; done
start=$(date +%s.%N)
n=0
burst=0
mapfile -t hot < <(ls "$WORK/src")
while [ $n -lt "$HOT_FILES" ]; do
  burst=$((burst + 1))
  dir="$WORK/in/burst$burst"
  mkdir -p "$dir"
  # Every other burst is written in place (cp), the rest renamed in whole (mv), as copiers do.
  for f in "${hot[@]:$n:$BURST}"; do
    if [ $((burst % 2)) -eq 0 ]; then mv "$WORK/src/$f" "$dir/"; else cp "$WORK/src/$f" "$dir/" && rm "$WORK/src/$f"; fi
  done
  n=$((n + BURST))
  arrived=$(date +%s.%N)
  [ $n -lt "$HOT_FILES" ] && sleep 10
done
last_arrival=$arrived
while [ "$(find "$WORK/out" -name '*.flv' | wc -l)" -lt "$HOT_FILES" ]; do
  sleep 1
  kill -0 $watcher 2>/dev/null || { echo "the watcher died" >&2; cat "$WORK/watch.err" >&2; exit 1; }
done
end=$(date +%s.%N)
# A file converted twice would only overwrite its output: wait until the log stands still for
# longer than a file takes to be found complete (five looks 500 ms apart), then count.
lines=-1
while [ "$lines" != "$(cat "$WORK"/log/*.log | wc -l)" ]; do lines=$(cat "$WORK"/log/*.log | wc -l); sleep 5; done
kill -INT $watcher; wait $watcher || true
watcher=""
hot_time=$(printf "%.1f" "$(echo "$end - $start" | bc)")
hot_tail=$(printf "%.1f" "$(echo "$end - $last_arrival" | bc)")
hot_outputs=$(find "$WORK/out" -name '*.flv' | wc -l)
log=$(cat "$WORK"/log/*.log | tr -d '\r')
hot_loads=$(grep -c '^Load: ' <<<"$log" || true)
hot_saves=$(grep -c '^Save to: ' <<<"$log" || true)
hot_errors=$(grep -c '^\[Error message\]' <<<"$log" || true)
hot_dup_loads=$(grep '^Load: ' <<<"$log" | sort | uniq -d | wc -l)
hot_dup_saves=$(grep '^Save to: ' <<<"$log" | sort | uniq -d | wc -l)
echo "hot directory: $hot_outputs outputs in $hot_time s" >&2

# ---- 2. Batch list: $BATCH_ROWS rows in the window's list, converted one after another --------
for i in $(seq -w 1 "$BATCH_ROWS"); do ln "$WORK/seed.avi" "$WORK/batch/row$i.avi"; done
/usr/bin/time -f "%e %M" -o "$WORK/window.time" \
  "$BUILD/bin/load-window" --out "$WORK/batch-out" --format 3 "$WORK"/batch/*.avi >"$WORK/window.out" 2>"$WORK/window.err" ||
  { echo "load-window failed" >&2; tail "$WORK/window.err" >&2; exit 1; }
val() { awk -v k="$1" '$1 == k {print $2}' "$WORK/window.out"; }
batch_outputs=$(find "$WORK/batch-out" -name '*.flv' | wc -l)
read -r window_wall window_kb <"$WORK/window.time"
echo "batch: $batch_outputs outputs in $(val convert_s) s" >&2

status() { if [ "$1" -eq "$2" ] && [ "$3" -eq 0 ]; then echo "every file once"; else echo "**NOT every file once**"; fi; }
section=$(cat <<MD
<!-- load:begin -->
## Load ($(date -u +%Y-%m-%d), $(nproc) cores, load average before the run $LOAD_BEFORE, Release build)

Every input is a copy of one tiny AVI (160x120, 0.2 s, MJPEG + PCM), converted to FLV preset 3.

| Run | Result |
|---|---|
| Hot directory (\`pellucor-cli watch --subdir\`): $HOT_FILES files arriving in bursts of $BURST every 10 s, alternately written in place and renamed in | all $hot_outputs outputs after ${hot_time} s, ${hot_tail} s after the last burst; log: $hot_loads "Load", $hot_saves "Save to", $hot_errors errors, $hot_dup_loads inputs loaded twice, $hot_dup_saves outputs saved twice: $(status "$hot_outputs" "$HOT_FILES" $((hot_dup_saves + hot_dup_loads + hot_errors))) |
| Batch list: $(val rows) rows added to the window's file list (InputFileList, offscreen) | AddFileList returned after $(val add_ms) ms, every size shown after $(val sizes_ms) ms; event loop at most $(val add_max_latency_ms) ms late (99th percentile $(val add_p99_latency_ms) ms) |
| Batch run of those rows (batch driver and component on the Qt event loop, next row at once) | Convert (checking and resetting every row) took $(val convert_start_ms) ms; $(val converted_rows) rows converted, $(val failed_rows) failed, $batch_outputs outputs in $(val convert_s) s; $(val duplicate_names) outputs converted twice: $(status "$batch_outputs" "$(val rows)" "$(val duplicate_names)"); event loop at most $(val convert_max_latency_ms) ms late (99th percentile $(val convert_p99_latency_ms) ms); peak memory $((window_kb / 1024)) MB |

Run with \`bash bench/load-bench.sh [HOT_FILES] [BATCH_ROWS]\`. The hot directory converts one file per
500 ms tick, so its time is bounded below by HOT_FILES/2 seconds. The latency is how late a 10 ms
timer fires on the list's event loop. $SCALE_NOTE
<!-- load:end -->
MD
)
write_results_section "$RESULTS" load "$section"
