#!/usr/bin/env bash
# Configures and builds Korvanta into the folder given (default: build).
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
# Share compiler cache hits between checkouts of the same tree.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
shift || true
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
