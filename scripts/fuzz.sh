#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the reader's libFuzzer target with clang++-14 and runs it for a
# bounded time (FUZZ_SECONDS, default 60) from the seed corpus. New inputs
# go to build-fuzz/corpus, so the seeds in fuzz/corpus stay as committed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
out=build-fuzz
mkdir -p "$out/corpus"
doc=src/document
sources=("$doc/code_page.cpp" "$doc/text_bytes.cpp" "$doc/scenery_document.cpp"
  "$doc/scenery_reader.cpp" "$doc/scenery_writer.cpp" "$doc/file_ops.cpp"
  "$doc/path_helpers.cpp" src/platform/native_file_ops.cpp)
# Rebuild only when a source is newer than the target.
if [ ! -x "$out/reader_fuzz" ] || [ -n "$(find fuzz "$doc" -newer "$out/reader_fuzz" -name '*.[ch]*' | head -1)" ]; then
  clang++-14 -std=c++20 -O2 -g -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I"$doc" -Isrc/platform fuzz/reader_fuzz.cpp \
    "${sources[@]}" -o "$out/reader_fuzz"
fi
cp -n fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
"$out/reader_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/" \
  "$out/corpus"
