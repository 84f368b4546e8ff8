#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what clang-format makes of it with the
# root .clang-format; names every such file. Run by ./test (ctest: HouseFormat).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(find src components tests bench fuzz windows packaging \
  \( -name '*.cpp' -o -name '*.h' \) -type f -print0 | sort -z)
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files as formatted"
