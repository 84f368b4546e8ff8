#!/usr/bin/env bash
# Builds the loader's fuzz target with clang-14 and runs it for the given number of seconds
# (default 1800) on one core, at low priority. Seeds: the loader tests' DLLs when a build has
# made them (QINGLAN_BUILD_DIR, default build/). Findings land in build-fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-fuzz
seconds=${1:-1800}
CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" --target loader_fuzzer
mkdir -p "$out/corpus" "$out/findings"
dlls=${QINGLAN_BUILD_DIR:-$root/build}/tests/desktop/dlls
if [ -d "$dlls" ]; then cp -n "$dlls"/*.dll "$out/corpus/" 2>/dev/null || true; fi
cd "$out/findings"
exec nice -n 19 "$out/loader_fuzzer" "$out/corpus" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
