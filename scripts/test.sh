#!/usr/bin/env bash
# Builds with warnings as errors and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh -DPICTAVO_WERROR=ON "$@"
ctest --test-dir build --output-on-failure -j "$(nproc)"
