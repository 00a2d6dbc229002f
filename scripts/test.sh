#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build} ./scripts/build.sh "$@"
# Tests use their own temporary registries; messages go to the test logs.
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"${JOBS:-2}" -LE slow
