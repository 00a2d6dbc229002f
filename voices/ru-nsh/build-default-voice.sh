#!/usr/bin/env bash
# Builds the default Russian voice "ru-nsh" from the recordings of Debian's
# package festvox-ru into the per-user data folder
#   ${XDG_DATA_HOME:-$HOME/.local/share}/voxamen/voices/ru-nsh/
# and installs it (phonetic module 419.1: Language 419, Sublang 1).
# Idempotent: a voice already built there is kept (--rebuild builds it again),
# and installing it again writes the same values.
#
# usage: voices/ru-nsh/build-default-voice.sh [--build-dir DIR] [--rebuild]
#                                             [--speak OUT.wav] [--hold-out N]
#   --build-dir DIR   the build with bin/voxamen and lib/allomod-419-1.so (default: build)
#   --rebuild         build the voice even when it is there
#   --speak OUT.wav   then speak a test phrase with it into OUT.wav
#   --hold-out N      leave every N-th prompt out (for voxamen voice report --prosody)
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${BUILD_DIR:-$repo/build}
rebuild=0
speak=""
hold_out=()
while (($#)); do
  case "$1" in
    --build-dir) build_dir=$2; shift 2 ;;
    --rebuild) rebuild=1; shift ;;
    --speak) speak=$2; shift 2 ;;
    --hold-out) hold_out=(--hold-out "$2"); shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) echo "build-default-voice.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

corpus=/usr/share/festival/voices/russian/msu_ru_nsh_clunits
licence=/usr/share/doc/festvox-ru/copyright
voice_dir=${XDG_DATA_HOME:-$HOME/.local/share}/voxamen/voices/ru-nsh
voxamen=$build_dir/bin/voxamen
key=ru-nsh

if [[ ! -x $voxamen ]]; then
  echo "build-default-voice.sh: $voxamen is missing; build first (scripts/build.sh)" >&2
  exit 1
fi
if [[ ! -f $corpus/etc/txt.done.data ]]; then
  "$repo/scripts/install-deps.sh" --voice
fi

# Units are named by module 419.1 itself, created through the registry.
"$voxamen" register "$build_dir/lib/allomod-419-1.so" >/dev/null

if [[ $rebuild == 1 || ! -f $voice_dir/voice.abs ]]; then
  mkdir -p "$(dirname "$voice_dir")"
  echo "Building the voice $key from $corpus (a few minutes) ..."
  "$voxamen" voice build "$corpus" -o "$voice_dir" --force \
    --phone-map "$repo/voices/ru-nsh/phone-map.txt" \
    --dict "$corpus/dict/msu_ru_nsh_dict.scm" \
    --license "$licence" \
    --module 419.1 --prompt-stress before --f0-min 70 --f0-max 260 "${hold_out[@]}"
else
  echo "The voice $key is already built in $voice_dir"
fi

# Prosody on, in the speaker's range that the build fitted its intonation
# files to (the build report's "intonation range: LOW,HIGH Hz" line).
range=$(sed -n 's/^intonation range: \([0-9]*,[0-9]*\) Hz.*/\1/p' "$voice_dir/build-report.txt" | head -n1)
prosody=()
if [[ -n $range && -f $voice_dir/IntonationNew.cfg ]]; then
  prosody=(--prosody "$range")
else
  echo "build-default-voice.sh: no fitted intonation range in $voice_dir; prosody stays off" >&2
fi
"$voxamen" voice add "$key" --data "$voice_dir/voice.abs" --language 419 --sublang 1 \
  --name "Russian male (festvox-ru msu_ru_nsh)" --gender Male "${prosody[@]}"

if [[ -n $speak ]]; then
  # "молоко и хлеб" as a phoneme string.
  "$voxamen" speak-phonemes "#,M,A1,L,A1,K,O0,_,I1,_,X,L',E0,P,#" --type "(.)|(.)" --voice "$key" \
    -o "$speak"
fi
