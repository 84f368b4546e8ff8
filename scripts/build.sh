#!/usr/bin/env bash
# Configures and builds into build/ (or $QINGLAN_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${QINGLAN_BUILD_DIR:-build}
werror=OFF
[ "${CI:-}" = true ] && werror=ON
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DQINGLAN_WERROR=$werror "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
