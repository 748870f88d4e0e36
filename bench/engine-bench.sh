#!/usr/bin/env bash
# Times Pellucor's conversion engine against the ffmpeg tool doing the same work, and writes
# the figures to bench/results.md (the engine's section; other sections are kept).
#
# Inputs are made with the fixture generator: a 20-second 1280x720 30 fps MJPEG+PCM AVI and a
# 20-second 640x480 MPEG-4+MP3 AVI. Each is converted with every default preset of the six
# formats through `pellucor-cli convert` (and through engine-bench, the engine alone), and with
# the ffmpeg tool given the same encoders, sizes, bars, rates, rate control and multiplex
# (engine-bench --ffmpeg-args prints them from the engine's own plan). Runs alternate between
# the tools; the figures are medians. Wall time, peak memory (maximum resident set) and the
# output's video bit rate against its target are recorded.
#
#   bench/engine-bench.sh            RUNS=3 by default; RUNS=5 bench/engine-bench.sh for more
#   LENGTH=2 bench/engine-bench.sh   a quick trial of the script with 2-second inputs
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build-bench
RUNS=${RUNS:-3}
LENGTH=${LENGTH:-20}
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
RESULTS=$ROOT/bench/results.md

echo "Building the Release tree in $BUILD ..." >&2
cmake -S bench/engine -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$BUILD" -j2 engine-bench make-avi >/dev/null
BENCH=$BUILD/bin/engine-bench
MAKEAVI=$BUILD/bin/make-avi
CLI=""
if cmake -S . -B "$BUILD/app" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUCOR_TESTS=OFF >/dev/null 2>&1 &&
   ninja -C "$BUILD/app" -j2 pellucor-cli >/dev/null 2>&1; then
  CLI=$BUILD/app/bin/pellucor-cli
else
  echo "pellucor-cli does not build; timing the engine driver alone" >&2
fi

WORK=$(mktemp -d /tmp/pellucor-bench-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/in" "$WORK/out" "$WORK/config"
export XDG_CONFIG_HOME=$WORK/config   # pellucor-cli reads and writes its settings here, not the user's
echo "Making the inputs ..." >&2
"$MAKEAVI" --size 1280x720 --fps 30 --seconds "$LENGTH" --video mjpeg --audio pcm "$WORK/in/hd720-mjpeg.avi"
"$MAKEAVI" --size 640x480 --fps 25 --seconds "$LENGTH" --video mpeg4 --audio mp3 "$WORK/in/vga-mpeg4.avi"
"$MAKEAVI" --size 640x480 --fps 25 --seconds $((LENGTH * 3)) --video mpeg4 --audio mp3 "$WORK/in/vga-mpeg4-long.avi"

pages=(mpeg mp4 wmv flv mov mp3)
counts=(8 4 6 4 5 4)
exts=(mpeg mp4 wmv flv mov mp3)

# time_run OUTFILE -- command...: runs it, appends "seconds kilobytes" to OUTFILE; fails loudly.
time_run() {
  local out=$1; shift; shift
  local t="$WORK/time.txt"
  if ! /usr/bin/time -f "%e %M" -o "$t" "$@" >/dev/null 2>"$WORK/err.txt"; then
    echo "FAILED: $*" >&2; cat "$WORK/err.txt" >&2; return 1
  fi
  tail -n 1 "$t" >>"$out"
}

median() { sort -g | awk '{v[NR]=$1} END {if (NR==0) print "nan"; else if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }

# Video bit rate of a file in kbit/s: the video packets' bytes over the video's length.
video_kbps() {
  ffprobe -v error -select_streams v:0 -show_entries packet=pts_time,size -of default=nw=1 "$1" |
    awk -F= '$1=="size" {bytes+=$2; n++}
             $1=="pts_time" && $2!="N/A" {t=$2+0; if (min==""||t<min) min=t; if (t>max) max=t}
             END {if (n<2) {print "-"; exit} d=(max-min)*n/(n-1); if (d<=0) {print "-"; exit} printf "%.0f", bytes*8/d/1000}'
}

target_kbps() {  # the preset's video bit rate as the engine plans it
  "$BENCH" --ffmpeg-args "$1" "$2" "$3" /tmp/x."$1" | awk '/^-b:v$/ {getline; printf "%.0f", $1/1000; found=1} END {if (!found) print "-"}'
}

rows=$WORK/rows.txt
: >"$rows"
for input in hd720-mjpeg vga-mpeg4; do
  src=$WORK/in/$input.avi
  for p in 0 1 2 3 4 5; do
    page=${pages[$p]}
    for ((i = 0; i < ${counts[$p]}; i++)); do
      echo "  $input $page preset $i ..." >&2
      mapfile -t fargs < <("$BENCH" --ffmpeg-args "$page" "$i" "$src" /tmp/x."$page")
      ours="$WORK/out/$input.${exts[$p]}"
      theirs="$WORK/out/$input-ffmpeg.${exts[$p]}"
      : >"$WORK/cli.t"; : >"$WORK/eng.t"; : >"$WORK/ff.t"
      for ((r = 0; r < RUNS; r++)); do
        run_ours() {
          if [ -n "$CLI" ]; then
            time_run "$WORK/cli.t" -- "$CLI" convert --format "$page" --preset "$i" --output "$WORK/out" "$src"
          fi
          time_run "$WORK/eng.t" -- "$BENCH" --no-preview "$page" "$i" "$src" "$ours.engine.${exts[$p]}"
        }
        run_ffmpeg() { time_run "$WORK/ff.t" -- ffmpeg -nostdin -v error -y -i "$src" "${fargs[@]}" "$theirs"; }
        if ((r % 2 == 0)); then run_ours; run_ffmpeg; else run_ffmpeg; run_ours; fi
      done
      [ -n "$CLI" ] || cp "$ours.engine.${exts[$p]}" "$ours"
      cli_s=$( [ -n "$CLI" ] && awk '{print $1}' "$WORK/cli.t" | median || echo nan)
      cli_kb=$( [ -n "$CLI" ] && awk '{print $2}' "$WORK/cli.t" | median || echo nan)
      eng_s=$(awk '{print $1}' "$WORK/eng.t" | median)
      eng_kb=$(awk '{print $2}' "$WORK/eng.t" | median)
      ff_s=$(awk '{print $1}' "$WORK/ff.t" | median)
      ff_kb=$(awk '{print $2}' "$WORK/ff.t" | median)
      if [ "$page" = mp3 ]; then kb="-"; fkb="-"; tgt="-"; else
        kb=$(video_kbps "$ours"); fkb=$(video_kbps "$theirs"); tgt=$(target_kbps "$page" "$i" "$src"); fi
      echo "$input $page $i $cli_s $eng_s $ff_s $cli_kb $eng_kb $ff_kb $tgt $kb $fkb" >>"$rows"
      rm -f "$WORK"/out/*
    done
  done
done

# Peak memory against the file's length: the same preset on 20 and 60 seconds of input.
mem_rows=""
for input in vga-mpeg4 vga-mpeg4-long; do
  : >"$WORK/m.t"; : >"$WORK/mf.t"
  mapfile -t fargs < <("$BENCH" --ffmpeg-args mp4 0 "$WORK/in/$input.avi" /tmp/x.mp4)
  time_run "$WORK/m.t" -- "$BENCH" --no-preview mp4 0 "$WORK/in/$input.avi" "$WORK/out/m.mp4"
  time_run "$WORK/mf.t" -- ffmpeg -nostdin -v error -y -i "$WORK/in/$input.avi" "${fargs[@]}" "$WORK/out/f.mp4"
  mem_rows+="| $input | $(awk '{printf "%.1f", $2/1024}' "$WORK/m.t") | $(awk '{printf "%.1f", $2/1024}' "$WORK/mf.t") |"$'\n'
done

# --- the report ------------------------------------------------------------------------------
section=$WORK/section.md
{
  echo "## Conversion engine"
  echo
  echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') by \`bench/engine-bench.sh\` (RUNS=$RUNS, medians), on"
  echo "$(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')),"
  echo "$(ffmpeg -version | head -n1 | cut -d' ' -f1-3), load average before the runs: $LOAD_BEFORE, after: $(cut -d' ' -f1-3 /proc/loadavg)."
  echo "Ratio = our wall time / the ffmpeg tool's wall time for the same work (below 1 is faster)."
  [ -n "$CLI" ] && echo "\"cli\" is \`pellucor-cli convert\` (the whole program path); \"engine\" is the engine alone (bench/engine_bench.cpp)."
  [ -z "$CLI" ] && echo "pellucor-cli did not build; \"cli\" columns are empty and \"engine\" is the engine alone."
  echo
  echo "### Per format (median over the presets of both inputs)"
  echo
  echo "| Format | Runs | Ratio cli | Ratio engine | Slowest preset ratio (cli) | Peak MB cli / engine / ffmpeg (largest) | Video bit rate vs target |"
  echo "|---|---|---|---|---|---|---|"
  for page in "${pages[@]}"; do
    awk -v pg="$page" '$2==pg' "$rows" >"$WORK/pg.txt"
    n=$(wc -l <"$WORK/pg.txt")
    rc=$(awk '$4!="nan" && $6>0 {print $4/$6}' "$WORK/pg.txt" | median)
    re=$(awk '$6>0 {print $5/$6}' "$WORK/pg.txt" | median)
    worst=$(awk '$4!="nan" && $6>0 {print $4/$6}' "$WORK/pg.txt" | sort -g | tail -n1)
    mem=$(awk 'BEGIN{c=0;e=0;f=0} {if ($7!="nan"&&$7>c) c=$7; if ($8>e) e=$8; if ($9>f) f=$9} END {printf "%.0f / %.0f / %.0f", c/1024, e/1024, f/1024}' "$WORK/pg.txt")
    dev=$(awk '$10!="-" && $11!="-" {d=($11-$10)*100/$10; if (min==""||d<min) min=d; if (max==""||d>max) max=d}
               END {if (min=="") print "-"; else printf "%+.0f %% to %+.0f %%", min, max}' "$WORK/pg.txt")
    printf '| %s | %s | %.2f | %.2f | %.2f | %s | %s |\n' "${page^^}" "$n" "${rc:-nan}" "${re:-nan}" "${worst:-nan}" "$mem" "$dev"
  done
  echo
  echo "Bit rates further than 10 % from the target are the codec's limits at that picture size,"
  echo "not the rate control: the ffmpeg tool given the same settings lands on the same rates (last"
  echo "column of the table below). FLV's Sorenson encoder cannot go below roughly 830 kbit/s at"
  echo "1280x720 or 340 kbit/s at 640x480 even at its coarsest quantiser (31), so the 128 to"
  echo "512 kbit/s presets at \"Original\" size overshoot, as MPEG-4 does below roughly 900 kbit/s at"
  echo "1280x720 (MOV preset 4); a 176x144 picture (MOV preset 3) or the"
  echo "320x180 picture of MP4 preset 1 from the 16:9 input cannot use the target even at the finest"
  echo "quantiser (1). \"cli\" peak memory includes Qt Core, which the engine alone does not load."
  echo
  echo "### Every preset"
  echo
  echo "Seconds are medians; kbit/s is the output's video bit rate (ours / ffmpeg's) against the target."
  echo
  echo "| Input | Format | Preset | cli s | engine s | ffmpeg s | Ratio cli | Ratio engine | Peak MB cli / ffmpeg | Target kbit/s | Ours | ffmpeg |"
  echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
  awk '{rc = ($4=="nan") ? "-" : sprintf("%.2f", $4/$6);
        printf "| %s | %s | %s | %s | %s | %s | %s | %.2f | %s / %.0f | %s | %s | %s |\n",
               $1, toupper($2), $3, $4, $5, $6, rc, $5/$6, ($7=="nan") ? "-" : sprintf("%.0f", $7/1024), $9/1024, $10, $11, $12}' "$rows"
  echo
  echo "### Peak memory against the input's length (MP4 preset 0, engine alone; $LENGTH s and $((LENGTH * 3)) s)"
  echo
  echo "| Input | Engine MB | ffmpeg MB |"
  echo "|---|---|---|"
  printf '%s' "$mem_rows"
} >"$section"

# Replace this script's section in bench/results.md, keeping anything else in the file.
if [ -f "$RESULTS" ]; then
  awk -v sec="$section" '
    /^## / { if (skip) skip=0; if ($0=="## Conversion engine") { while ((getline l < sec) > 0) print l; print ""; skip=1; done=1; next } }
    !skip { print }
    END { if (!done) { print ""; while ((getline l < sec) > 0) print l } }' "$RESULTS" >"$WORK/results.md"
else
  { echo "# Benchmark results"; echo; cat "$section"; } >"$WORK/results.md"
fi
cp "$WORK/results.md" "$RESULTS"
echo "Wrote $RESULTS" >&2
