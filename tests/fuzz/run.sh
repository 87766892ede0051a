#!/bin/bash
# Builds the file readers with clang and libFuzzer (ASan, UBSan) in BUILD_DIR
# and fuzzes each for a bounded time over its seeds (tests/fuzz/corpus/<name>).
# Fails when a reader crashes, hangs, leaks or breaks one of its checks; the
# input that did it is left in BUILD_DIR/findings/<name>/ and belongs, once
# the reader is fixed, in tests/fuzz/regressions/<name>/.
#   tests/fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET] [TARGET...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: $0 BUILD_DIR [SECONDS] [TARGET...]}
seconds=${2:-${OBRIX_FUZZ_SECONDS:-35}}
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings report csv)

export CCACHE_BASEDIR=$(cd "$here/../.." && pwd) CCACHE_NOHASHDIR=1
export QT_QPA_PLATFORM=offscreen
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; echo "fuzz: the clang build does not configure"; exit 1; }
fi
cmake --build "$build" -j"$(nproc)" -- $(printf 'fuzz_%s ' "${targets[@]}") >"$build/build.log" 2>&1 \
  || { tail -50 "$build/build.log"; echo "fuzz: the clang build fails"; exit 1; }

failed=0
for t in "${targets[@]}"; do
  work=$build/work/$t
  findings=$build/findings/$t
  mkdir -p "$work" "$findings"
  log=$build/fuzz_$t.log
  # Seed folders that hold files (git keeps no empty folder).
  seeds=()
  for d in "$here/corpus/$t" "$here/regressions/$t"; do
    [ -d "$d" ] && seeds+=("$d")
  done
  dict=()
  [ -f "$here/$t.dict" ] && dict=(-dict="$here/$t.dict")
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$here/lsan.supp:print_suppressions=0 \
    "$build/fuzz_$t" "$work" "${seeds[@]}" \
    -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$findings/" -print_final_stats=1 "${dict[@]}" >"$log" 2>&1
  rc=$?
  # The last status line holds the coverage (cov:, ft:) and the executions per second.
  status=$(grep -E '^#[0-9]+' "$log" | tail -1)
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' | tail -1)
  persec=$(grep -E '^stat::average_exec_per_sec' "$log" | awk '{print $2}' | tail -1)
  cov=$(grep -oE 'cov: [0-9]+' <<<"$status" | awk '{print $2}')
  ft=$(grep -oE 'ft: [0-9]+' <<<"$status" | awk '{print $2}')
  corp=$(grep -oE 'corp: [0-9]+/[0-9a-zA-Z]+' <<<"$status" | awk '{print $2}')
  printf 'fuzz %-8s runs=%s exec/s=%s cov=%s ft=%s corpus=%s rc=%s\n' "$t" "${runs:-?}" "${persec:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$rc"
  if [ $rc -ne 0 ]; then
    failed=1
    grep -E 'ERROR|FUZZ CHECK FAILED|SUMMARY|Test unit written|runtime error|timeout' "$log" | head -20
    echo "fuzz $t: see $log; the input is in $findings/"
  fi
done
exit $failed
