#!/usr/bin/env bash
# Set-up of a Debian 12 machine for the program, as root or with sudo.
#   tools/setup.sh run    install what building and running the program needs, build it
#                         (without the tests), create a demo database beside the executable
#                         when none is there, write obrix.ini, start the program
#   tools/setup.sh test   install what the tests need as well, build, run every test (with a
#                         private Firebird server for the multi-workstation tests)
# Both are idempotent: the second time they skip installed packages and rebuild incrementally.
# The program opens its database with the embedded engine (firebird3.0-server-core); the
# Firebird server package, a system service, is installed only for the tests, whose private
# server (tools/fbserver.sh) runs its program.
set -euo pipefail
mode=${1:-run}
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OBRIX_BUILD_DIR:-$here/build}
bin=$build/bin

# Building and running the program.
packages=(g++ cmake ninja-build ccache pkg-config qt6-base-dev libgl-dev
          firebird-dev libfbclient2 firebird3.0-server-core
          libzint-dev libchm-dev fp-utils-3.2.2
          fonts-dejavu-core qt6-translations-l10n)
# The tests on top: GoogleTest; the private server's program, security database and isql-fb;
# pdftotext for the printed forms; xvfb-run for tools/screenshots.sh; clang with its
# fuzzer runtime for the file-reader fuzz runs.
test_packages=(googletest libgtest-dev firebird3.0-server firebird3.0-utils poppler-utils
               xvfb xauth clang libclang-rt-14-dev)

case "$mode" in
run) tests=OFF ;;
test) tests=ON; packages+=("${test_packages[@]}") ;;
*) echo "usage: $0 run|test"; exit 2 ;;
esac

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_ apt-get update -qq
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOBRIX_TESTS=$tests \
  -DOBRIX_WERROR="${OBRIX_WERROR:-OFF}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
run)
  db=$bin/obrix-demo.fdb
  [ -f "$db" ] || "$bin/obrix-db" demo "$db"
  [ -f "$bin/obrix.ini" ] || printf '[Database]\nDB_ConnectKind=1\nDB_LocalDBName=%s\n' "$db" > "$bin/obrix.ini"
  exec "$bin/obrix"
  ;;
test)
  server=$build/fbserver
  "$here/tools/fbserver.sh" start "$server"
  trap '"$here/tools/fbserver.sh" stop "$server"' EXIT
  export OBRIX_TEST_SERVER_DIR=$server/data
  export OBRIX_TEST_SERVER=127.0.0.1/${OBRIX_FB_PORT:-3052}
  export OBRIX_TEST_SERVER_REQUIRED=1
  export QT_QPA_PLATFORM=offscreen
  cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900
  ;;
*) echo "usage: $0 run|test"; exit 2 ;;
esac
