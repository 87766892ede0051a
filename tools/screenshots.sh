#!/usr/bin/env bash
# Pictures for the documentation: the main window and the order editor in new,
# edit and view mode, on a fresh demo database, and the report designer with the
# shoe-repair receipt open, on a 1366x768 screen under Xvfb.
#   tools/screenshots.sh [BUILD-DIR]    writes docs/screenshot-*.png
# Needs what tools/setup.sh installs (xvfb-run among it) and a configured build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${OBRIX_BUILD_DIR:-$here/build}}
[ -f "$build/build.ninja" ] || [ -f "$build/Makefile" ] ||
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target obrix-db obrix-screenshots obrix-designer-screenshot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/obrix-db" demo "$work/demo.fdb" >/dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
  "$build/bin/obrix-screenshots" "$work/demo.fdb" "$here/docs"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" \
  "$build/bin/obrix-designer-screenshot" "$here/Reports/Rep_Kvit_obuv.frf" "$here/docs/screenshot-designer.png"
