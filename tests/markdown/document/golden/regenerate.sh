#!/bin/sh
# Rewrites the golden model dumps from the .md inputs beside this script.
# Usage: tests/markdown/document/golden/regenerate.sh [BUILD_DIR]   (default: build-md)
# Review the diff before committing: every change must be intended.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../../../.." && pwd)
BUILD_DIR=${1:-$ROOT/build-md}
TOOL="$BUILD_DIR/tools/md/kestrune-md"
cmake --build "$BUILD_DIR" --target kestrune-md
for input in "$HERE"/*.md; do
  "$TOOL" --to model "$input" > "${input%.md}.json"
done
