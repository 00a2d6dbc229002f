#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the default voice
# need. Does nothing when they are all present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsamplerate0-dev libsoxr-dev
  clang libclang-rt-14-dev
  festvox-ru
  libpugixml-dev
  libpulse-dev pulseaudio pulseaudio-utils sox
  libwxgtk3.2-dev gettext xvfb xauth
  speech-dispatcher libspeechd-dev
)
# --voice is kept for the main job's call; festvox-ru (recordings and the
# stress lexicon) is needed by the tests as well.

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
