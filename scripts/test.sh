#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite: once as
# shipped and once built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --with-tests

jobs=$(nproc)
scripts/build.sh build -DKORVANTA_BENCHMARKS=ON
scripts/with-test-session.sh ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/build.sh build-sanitize -DKORVANTA_SANITIZE=ON -DKORVANTA_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
scripts/with-test-session.sh ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
