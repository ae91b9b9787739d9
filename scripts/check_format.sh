#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a C++ file of the repository is not formatted as clang-format
# would format it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "format check: $(git ls-files '*.cpp' '*.h' | wc -l) files formatted"
# Every source, build and script file names its licence near its top.
missing=$(git ls-files '*.cpp' '*.h' '*.sh' '*.cmake' '*CMakeLists.txt' '*.rc' '*.in' .ci/run |
  while read -r f; do head -3 "$f" | grep -q 'SPDX-License-Identifier' || echo "$f"; done)
if [ -n "$missing" ]; then
  echo "no SPDX-License-Identifier line in:" $missing >&2
  exit 1
fi
echo "licence check: every source file has its SPDX line"
