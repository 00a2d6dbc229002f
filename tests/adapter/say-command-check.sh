#!/usr/bin/env bash
# voxamen say as users run it, on the default voice built by the main job:
# Ctrl-C during a long text leaves a valid WAV file, a closed pipe on
# standard output ends quietly, and speech played on the sound device
# arrives there (recorded from the default sink's monitor; skipped with a
# message when no PulseAudio server is reachable).
# usage: say-command-check.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build_dir=$1
voice_data=${XDG_DATA_HOME:-$HOME/.local/share}/voxamen/voices/ru-nsh/voice.abs
if [[ ! -f $voice_data || ! -f $build_dir/lib/glossor.so ]]; then
  echo "the default voice or the lexical component is missing (scripts/main.sh): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VOXAMEN_REGISTRY_DIR=$work/registry
voxamen=$build_dir/bin/voxamen
"$voxamen" register "$build_dir"/lib/*.so >/dev/null || exit 1
"$voxamen" voice add ru-nsh --data "$voice_data" --language 419 --sublang 1 >/dev/null || exit 1

failed=0
check() {  # check DESCRIPTION COMMAND…
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=1; fi
}
# WAV data bytes from the header, and the file's own size.
wav_data() { od -An -tu4 -j40 -N4 "$1" | tr -d ' '; }
wav_valid() {
  local size data
  size=$(stat -c %s "$1")
  data=$(wav_data "$1")
  [[ $(head -c 4 "$1") == RIFF && $((data + 44)) -le $size && $((data + 45)) -ge $size ]]
}

paragraph="Сегодня, 8 декабря, в 10 часов утра мы проверяем синтез речи. Всё работает?"
for _ in $(seq 3000); do echo "$paragraph"; echo; done >"$work/long.txt"

# Ctrl-C: the run stops within a word and leaves a valid, shorter file.
"$voxamen" say -f "$work/long.txt" -w "$work/long.wav" &
pid=$!
sleep 1
kill -INT $pid
wait $pid
status=$?
check "Ctrl-C ends the run with status 130 ($status)" test $status -eq 130
check "Ctrl-C leaves a valid WAV file" wav_valid "$work/long.wav"
check "and it holds speech" test "$(wav_data "$work/long.wav")" -gt 10000

# A closed pipe ends quietly.
"$voxamen" say -f "$work/long.txt" --stdout --raw 2>"$work/pipe.err" | head -c 20000 >/dev/null
status=${PIPESTATUS[0]}
check "a closed pipe ends with status 0 ($status)" test "$status" -eq 0
check "and without messages" test ! -s "$work/pipe.err"

# Markup errors name line and column and leave no file.
printf '<speak>\nа <b>б</speak>\n' >"$work/bad.ssml"
"$voxamen" say --ssml -f "$work/bad.ssml" -w "$work/bad.wav" 2>"$work/bad.err"
check "malformed SSML fails" test $? -ne 0
check "with line and column" grep -q 'bad.ssml:2:9:' "$work/bad.err"
check "and no partial file" test ! -e "$work/bad.wav"

# The sound device.
if ! pactl info >/dev/null 2>&1; then
  echo "no PulseAudio server is reachable: the sound device check is skipped"
  exit $failed
fi
short="Проверка звука: раз, два, три."
"$voxamen" say "$short" -w "$work/ref.wav" || failed=1
monitor=$(pactl get-default-sink).monitor
parecord --device="$monitor" --rate=22050 --channels=1 --format=s16le --file-format=wav \
  "$work/rec.wav" &
rec=$!
sleep 0.5
"$voxamen" say "$short"
check "voxamen say plays on the sound device" test $? -eq 0
sleep 0.5
kill $rec
wait $rec 2>/dev/null
# Speech of the expected length arrived: trimmed of silence at both ends,
# the recording lasts within 25 % of the WAV written for the same text
# (both trimmed alike).
sox "$work/rec.wav" "$work/rec-trim.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
sox "$work/ref.wav" "$work/ref-trim.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
expected=$(soxi -D "$work/ref-trim.wav")
heard=$(soxi -D "$work/rec-trim.wav")
echo "expected ${expected} s, heard ${heard} s"
check "speech of the expected length arrived" \
  awk -v e="$expected" -v h="$heard" 'BEGIN { exit !(h > 0.75 * e && h < 1.25 * e) }'
exit $failed
