#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, register
# the servers into the registry, compile the stress dictionary, build and
# install the default Russian voice
# from Debian's festvox-ru recordings (once; a few minutes), and speak a
# Russian phrase with it into build/moloko-i-hleb.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --voice
./scripts/build.sh
build/bin/voxamen register build/lib/*.so
build/bin/voxamen lexicon build
voices/ru-nsh/build-default-voice.sh --build-dir build --speak build/moloko-i-hleb.wav
build/bin/voxamen voices
echo "Spoke «молоко и хлеб» into build/moloko-i-hleb.wav"
