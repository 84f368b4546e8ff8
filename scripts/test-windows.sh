#!/usr/bin/env bash
# Cross-builds the Windows platform services (windows/CMakeLists.txt) into build-windows/ (or
# $QINGLAN_WINDOWS_BUILD_DIR) with MinGW-w64 and runs their tests under Wine, each run on a
# private X server and in a Wine prefix under the build folder. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${QINGLAN_WINDOWS_BUILD_DIR:-build-windows}
werror=OFF
[ "${CI:-}" = true ] && werror=ON
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S windows -B "$dir" -G Ninja -DQINGLAN_WERROR=$werror \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
fi
cmake --build "$dir" --parallel "$(nproc)"
ctest --test-dir "$dir" --output-on-failure --timeout 300 "$@"
