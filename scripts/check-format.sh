#!/bin/sh
# Fails when a C++ source of the project differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: every C++ source is formatted"
