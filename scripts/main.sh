#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, register
# the servers into the registry, compile the stress dictionary, build and
# install the default Russian voice from Debian's festvox-ru recordings
# (once; a few minutes), and speak a Russian paragraph with numbers and
# punctuation through `voxamen say` into build/paragraph.wav, with its
# events in build/paragraph-events.jsonl and their summary on the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --voice
./scripts/build.sh
build/bin/voxamen register build/lib/*.so
build/bin/voxamen desktop
build/bin/voxamen lexicon build
voices/ru-nsh/build-default-voice.sh --build-dir build --speak build/moloko-i-hleb.wav
build/bin/voxamen voices
# speech-dispatcher (Orca): the output module where the server finds it.
build/bin/voxamen install-speechd

text="В 2024 году, 15 марта, в Москве прошло 3 концерта. Билеты стоили 1500 рублей; \
пришли почти 12 тысяч человек! Кто бы мог подумать?"
build/bin/voxamen say -v ru-nsh "$text" -w build/paragraph.wav --events build/paragraph-events.jsonl
echo "«$text»"
# The events summary: how many of each kind, and how long the speech lasts.
awk -F'"' '{ n[$4]++; v = $7; gsub(/[^0-9]/, "", v); if (v + 0 > ms) ms = v + 0 }
  END { printf "Spoke %d sentences, %d words, %d phonemes, %d visemes in %.2f s of speech\n",
               n["sentence"], n["word"], n["phoneme"], n["viseme"], ms / 1000 }' \
  build/paragraph-events.jsonl
echo "Audio: build/paragraph.wav; events: build/paragraph-events.jsonl"
