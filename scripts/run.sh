#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and opens the editor on a working copy of
# the bundled example, so that the example itself stays as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
work=$(mktemp -d)
cp examples/Scenery.cfg "$work/Scenery.cfg"
echo "Editing the working copy $work/Scenery.cfg"
exec ./build/sceneshifter "$work/Scenery.cfg"
