#!/usr/bin/env bash
# The rule cores' and the data layer's tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer and run on real embedded databases. Fails on the
# first sanitizer report or failing test. Needs what tools/setup.sh test installs.
#   tools/sanitize.sh [BUILD_DIR]     (default: build-sanitize beside build/)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${OBRIX_SANITIZE_BUILD_DIR:-$here/build-sanitize}}
tests=(test_fb test_base test_session test_db test_data
       test_books_core test_orders_core test_stock_core test_reports_core)

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOBRIX_TESTS=ON -DOBRIX_SANITIZE=ON \
  -DOBRIX_WERROR="${OBRIX_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target obrix_test_templates obrix_report_forms "${tests[@]}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$here/tests/support/lsan.supp:print_suppressions=0
"$build/bin/obrix_test_templates" "$build/test-templates"
failed=()
for t in "${tests[@]}"; do
  echo "== $t"
  if ! (cd "$build/bin" && "./$t" --gtest_brief=1); then failed+=("$t"); fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "sanitizer build: failed: ${failed[*]}"
  exit 1
fi
echo "sanitizer build: all ${#tests[@]} test binaries passed"
