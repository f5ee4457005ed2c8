#!/usr/bin/env bash
# The main job for now: prepare the demo medium the way a publisher does, with the setupdata
# tool, and print the description it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-machine.sh
scripts/build.sh
medium=out/demo-medium
rm -rf "$medium" && mkdir -p out && cp -r demo/medium "$medium"
dist/native/setupdata register "$medium"
dist/native/setupdata dump "$medium/Setup.ini"
echo "Setup.ini of the demo medium: $medium/Setup.ini"
