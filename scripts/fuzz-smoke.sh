#!/bin/sh
# Builds the Markdown fuzz target with clang and runs it for a short while over its corpus, so the
# target keeps building and an easy crash shows up in CI. Skipped when clang is not installed.
# Usage: scripts/fuzz-smoke.sh [SECONDS] (default 60).
set -eu
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not installed, skipped"
  exit 0
fi
BUILD_DIR=fuzz-build
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKESTRUNE_FUZZ=ON -DKESTRUNE_SANITIZE=ON -DKESTRUNE_BUILD_TESTS=OFF -DKESTRUNE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD_DIR" --target markdown_fuzzer --parallel "$(nproc)"
CORPUS=$(mktemp -d)
trap 'rm -rf "$CORPUS"' EXIT
cp fuzz/corpus/markdown/* "$CORPUS"/
LOG="$BUILD_DIR/fuzz-smoke.log"
if ! ASAN_OPTIONS=detect_leaks=1 "$BUILD_DIR/fuzz/markdown_fuzzer" -max_total_time="$SECONDS_TO_RUN" \
  -max_len=65536 -timeout=10 -rss_limit_mb=2048 "$CORPUS" >"$LOG" 2>&1; then
  tail -40 "$LOG"
  echo "fuzz: the target failed; the input is in the crash-* or timeout-* file above"
  exit 1
fi
tail -3 "$LOG"
echo "fuzz: no crash in $SECONDS_TO_RUN s"
