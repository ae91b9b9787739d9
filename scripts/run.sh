#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and opens the editor on a working copy of
# the bundled example, so that the example itself stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the editor needs: the tests and benchmarks wait for the test command.
bash scripts/setup.sh sceneshifter
work=$(mktemp -d)
cp examples/Scenery.cfg "$work/Scenery.cfg"
echo "Editing the working copy $work/Scenery.cfg"
exec ./build/sceneshifter "$work/Scenery.cfg"
