#!/bin/sh
# Configures and builds one build tree. Usage: scripts/build.sh BUILD_DIR [extra CMake arguments]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=$1
shift
GENERATOR=""
if command -v ninja >/dev/null 2>&1; then
  GENERATOR="-G Ninja"
fi
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" $GENERATOR "$@"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
