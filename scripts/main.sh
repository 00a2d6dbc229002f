#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, register
# the servers into the registry and list the installed voices.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --voice
./scripts/build.sh
build/bin/voxamen register build/lib/*.so
build/bin/voxamen voices
