#!/bin/sh
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole test suite on Qt's offscreen platform.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh build-tests -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZE=ON -DKESTRUNE_WARNINGS_AS_ERRORS=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure --parallel "$(nproc)"
