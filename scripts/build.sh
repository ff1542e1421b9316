#!/usr/bin/env bash
# Configures and builds Korvanta into the folder given (default: build).
# Usage: scripts/build.sh [DIR] [--target NAME] [CMAKE CONFIGURE ARGS...]
# Without --target everything is built.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
target=()
if [ "${1:-}" = "--target" ]; then
  target=(--target "$2")
  shift 2
fi
# Share compiler cache hits between checkouts of the same tree.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir" "${target[@]}"
