#!/usr/bin/env bash
# Fuzzes the targets for a bounded time each with libFuzzer, in a clang build of their own, and
# keeps every crash input as a regression test: fuzz/regressions/<target>/, which the ordinary
# build's CTest replays (fuzz_<target>), so the fault fails CI until it is fixed.
#
#   fuzz/run-fuzzers.sh [--seconds N] [TARGET...]
#
#   --seconds N  fuzzing time per target, 60 by default (PELLUCOR_FUZZ_SECONDS does the same)
#   TARGET       reg_parse registry_store lang_ini change_records apply_language engine_input;
#                all that the tree builds when none is named
#
# Needs Debian's clang, libfuzzer-14-dev and libclang-rt-14-dev. The build lives in
# build-fuzz-clang (PELLUCOR_FUZZ_BUILD overrides it); what each target found to be interesting is
# kept between runs in <build>/fuzz-work/<target>/corpus and grows with every run. A target stops
# at its first crash: the input is minimized, copied into the regressions and named on the
# summary; fix the fault and run again to look for the next one.
#
# Exit code: 0 when no target crashed, 1 when one did, 2 for a usage or build problem.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${PELLUCOR_FUZZ_BUILD:-$root/build-fuzz-clang}
seconds=${PELLUCOR_FUZZ_SECONDS:-60}
all_targets=(reg_parse registry_store lang_ini change_records apply_language engine_input)
targets=()

while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) [ $# -ge 2 ] || { echo "run-fuzzers.sh: --seconds needs a number" >&2; exit 2; }
               seconds="$2"; shift 2 ;;
    -h|--help) sed -n '2,19p' "$0"; exit 0 ;;
    -*) echo "run-fuzzers.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "run-fuzzers.sh: --seconds takes a whole number above 0" >&2; exit 2; }
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "run-fuzzers.sh: no target $t (${all_targets[*]})" >&2; exit 2; }
done

for tool in clang clang++ cmake ninja; do
  command -v "$tool" >/dev/null || {
    echo "run-fuzzers.sh: $tool is missing; install clang libfuzzer-14-dev libclang-rt-14-dev" >&2; exit 2; }
done

# Every library gets the coverage instrumentation, not only the fuzz targets: the fuzzer is
# guided by the code it is testing.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
  -DPELLUCOR_SANITIZE=ON -DPELLUCOR_FUZZ=ON -DPELLUCOR_TESTS=OFF >/dev/null \
  || { echo "run-fuzzers.sh: configuring $build failed" >&2; exit 2; }
# A target whose library is not in the tree has no build rule; it is reported below.
buildable=()
for t in "${targets[@]}"; do
  ninja -C "$build" -t query "fuzz_$t" >/dev/null 2>&1 && buildable+=("fuzz_$t")
done
ninja -C "$build" -j"${PELLUCOR_FUZZ_JOBS:-2}" pellucor_fuzz_corpus "${buildable[@]}" \
  || { echo "run-fuzzers.sh: building the fuzz targets failed" >&2; exit 2; }

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1

summary="$build/fuzz-work/summary.txt"
mkdir -p "$build/fuzz-work"
printf '%-16s %8s %12s %8s  %s\n' target seconds executions corpus result | tee "$summary"
crashed=0

for t in "${targets[@]}"; do
  exe="$build/bin/fuzz_$t"
  if [ ! -x "$exe" ]; then
    printf '%-16s %8s %12s %8s  %s\n' "$t" - - - "not built (its library is not in the tree yet)" | tee -a "$summary"
    continue
  fi
  work="$build/fuzz-work/$t"
  mkdir -p "$work/corpus" "$work/artifacts"
  rm -f "$work/artifacts"/*
  seeds=("$build/fuzz/corpus/$t")
  [ -d "$root/fuzz/regressions/$t" ] && seeds+=("$root/fuzz/regressions/$t")
  # The engine converts a file per input, seconds rather than microseconds; a single input that
  # runs longer than the timeout is a hang and is kept like a crash.
  # Inputs stay as long as the longest seed (4 KiB at least), except AVI files, which need room.
  per_input=10 max_len=()
  [ "$t" = engine_input ] && per_input=60 max_len=(-max_len=65536)
  # Dictionaries name the tokens of each input format; the two hive targets share one.
  dict=()
  dict_file="$root/fuzz/$t.dict"
  [ "$t" = registry_store ] && dict_file="$root/fuzz/reg_parse.dict"
  [ -f "$dict_file" ] && dict=(-dict="$dict_file")
  start=$(date +%s)
  status=0
  "$exe" -max_total_time="$seconds" -timeout="$per_input" -rss_limit_mb=3072 "${max_len[@]}" "${dict[@]}" \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "${seeds[@]}" \
    >"$work/log.txt" 2>&1 || status=$?
  spent=$(( $(date +%s) - start ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -1)
  size=$(find "$work/corpus" -type f | wc -l)
  result="no fault"
  shopt -s nullglob
  artifacts=("$work/artifacts"/crash-* "$work/artifacts"/leak-* "$work/artifacts"/timeout-* \
             "$work/artifacts"/oom-* "$work/artifacts"/slow-unit-*)
  shopt -u nullglob
  if [ "$status" -ne 0 ] || [ ${#artifacts[@]} -gt 0 ]; then
    result="FAULT (exit $status), log: $work/log.txt"
    for a in "${artifacts[@]}"; do
      kind=$(basename "$a"); kind=${kind%%-*}
      [ "$kind" = slow ] && continue  # slow units are a hint, not a fault
      keep="$a"
      if [ "$kind" = crash ] || [ "$kind" = leak ]; then
        # A small input says more than a large one, and only tiny ones may be committed.
        "$exe" -minimize_crash=1 -max_total_time=30 -timeout="$per_input" \
          -exact_artifact_path="$work/minimized" "$a" >"$work/minimize.txt" 2>&1 || true
        [ -s "$work/minimized" ] && keep="$work/minimized"
      fi
      mkdir -p "$root/fuzz/regressions/$t"
      dest="$root/fuzz/regressions/$t/$kind-$(sha1sum "$keep" | cut -c1-12)"
      cp "$keep" "$dest"
      rm -f "$work/minimized"
      result="$result; kept $(wc -c <"$dest") bytes as ${dest#"$root"/}"
      crashed=1
    done
  fi
  printf '%-16s %8s %12s %8s  %s\n' "$t" "$spent" "${runs:--}" "$size" "$result" | tee -a "$summary"
done

[ "$crashed" -eq 0 ] || echo "Crash inputs were kept as regressions; the fault reports are in the logs above." >&2
exit "$crashed"
