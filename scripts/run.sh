#!/bin/sh
# Installs what is needed, builds the program and opens the bundled sample project.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_BUILD_TESTS=OFF -DKESTRUNE_BUILD_BENCHMARKS=OFF
SAMPLE="$(pwd)/examples/lantern-notes"
if [ -x build/src/app/kestrune-viewer ]; then
  exec build/src/app/kestrune-viewer "$SAMPLE" "$@"
fi
exec build/tools/report/kestrune-report "$SAMPLE"
