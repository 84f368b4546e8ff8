#!/usr/bin/env bash
# Builds the LRC reader's fuzz target with clang-14 (address and undefined-behaviour sanitizers)
# and runs it for the given number of seconds (default 1800) on one core, at low priority.
# Seeds: fuzz/lyrics/seeds (UTF-8, UTF-8 with BOM, UTF-16, GB18030 and Big5 files). Build
# folder QINGLAN_FUZZ_DIR, default build-fuzz/; findings land in its lyrics-findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QINGLAN_FUZZ_DIR:-$root/build-fuzz}
seconds=${1:-1800}
CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" --target lyrics_fuzzer
mkdir -p "$out/lyrics-corpus" "$out/lyrics-findings"
cp -n "$root"/fuzz/lyrics/seeds/*.lrc "$out/lyrics-corpus/" 2>/dev/null || true
cd "$out/lyrics-findings"
# Inputs up to 64 KiB: long enough that a search repeated from each character of a line takes
# seconds and shows as a slow unit or a timeout; the 1 MiB cap itself is a plain cut, tested by
# the unit tests.
exec nice -n 19 "$out/lyrics_fuzzer" "$out/lyrics-corpus" -dict="$root/fuzz/lyrics/lrc.dict" \
  -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
