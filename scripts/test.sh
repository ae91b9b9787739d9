#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and runs the whole test suite, then the
# core and CLI tests cross-built for Windows under Wine, then the core tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check_format.sh
bash scripts/setup.sh
ctest --test-dir build --output-on-failure --no-tests=error
bash scripts/package.sh build
bash scripts/windows.sh
bash scripts/sanitize.sh
