#!/bin/sh
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs the
# whole test suite on Qt's offscreen platform, then the habits that keep the code sound: the
# format check, the clang-tidy checks and a one-minute run of the Markdown fuzz target.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/check-format.sh
./scripts/build.sh build-tests -DCMAKE_BUILD_TYPE=Debug -DKESTRUNE_SANITIZE=ON -DKESTRUNE_WARNINGS_AS_ERRORS=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure --parallel "$(nproc)"
./scripts/check-tidy.sh build-tests
./scripts/fuzz-smoke.sh 60
