#!/bin/sh
# Runs the checks of .clang-tidy on every source of the program and its tools, with the compile
# commands of a configured build tree. Usage: scripts/check-tidy.sh [BUILD_DIR] (default:
# build-tests). Fails on any finding.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build-tests}
ROOT=$(pwd)
# The build's -Werror would turn compiler warnings that clang knows and GCC does not into errors.
git ls-files 'src/*.cpp' 'tools/*.cpp' | sed "s|^|$ROOT/|" |
  xargs run-clang-tidy -p "$BUILD_DIR" -j "$(nproc)" -quiet -extra-arg=-Wno-error > "$BUILD_DIR/clang-tidy.log" 2>&1 ||
  { grep -E 'warning:|error:' "$BUILD_DIR/clang-tidy.log" | sort -u; echo "tidy: findings above"; exit 1; }
echo "tidy: no findings"
