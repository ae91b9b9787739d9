#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and opens the editor on a working copy of
# the bundled example: a small simulator folder with the add-on folders its
# Scenery.cfg names (one of them missing on purpose) and two that it does not
# name yet. The example itself stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the editor needs: the tests and benchmarks wait for the test command.
bash scripts/setup.sh sceneshifter
work=$(mktemp -d)
cp -R examples/. "$work/"
echo "Editing the working copy $work/Scenery.cfg"
exec ./build/sceneshifter "$work/Scenery.cfg"
