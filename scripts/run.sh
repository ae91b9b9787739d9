#!/usr/bin/env bash
# Installs what is missing, builds, and lists the bundled example (a working copy).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
work=$(mktemp -d)
cp examples/Scenery.cfg "$work/Scenery.cfg"
./build/sceneshifter-cli list "$work/Scenery.cfg"
