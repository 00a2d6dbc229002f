#!/usr/bin/env bash
# End to end through the real speech-dispatcher server, with no sound
# hardware: a private PulseAudio server with a null sink, a private
# speech-dispatcher (own socket, configuration and module folder) using the
# sd_voxamen module, and the installed voices of the user's registry.
# Checks: spd-say speaks and audio reaches the sink; index marks come back
# in order through libspeechd; STOP during a long text silences it.
#   server-e2e.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
if [[ ! -e $bin/../lib/glossor.so ]] || ! "$bin/voxamen" voices 2>/dev/null | grep -q .; then
  echo "SKIP: the lexical component or an installed voice is missing (scripts/main.sh)"
  exit 77
fi
work=$(mktemp -d /tmp/voxamen-speechd-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 0.2
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/logs/*; do [[ -f $f ]] && tail -n 30 "$f"; done; exit 1; }

# A private sound server, whatever the caller's environment points at.
unset PULSE_SERVER
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" "$work/conf/modules" "$work/modules" "$work/logs"
chmod 700 "$XDG_RUNTIME_DIR"

pulseaudio --daemonize=no -n --exit-idle-time=-1 --disallow-exit --log-target=stderr \
  --load="module-null-sink sink_name=voxnull" --load="module-native-protocol-unix" \
  2>"$work/logs/pulseaudio.log" &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"
pactl set-default-sink voxnull

ln -s "$bin/sd_voxamen" "$work/modules/sd_voxamen"
cat >"$work/conf/speechd.conf" <<CONF
AudioOutputMethod "pulse"
AddModule "voxamen" "sd_voxamen" "voxamen.conf"
DefaultModule voxamen
DefaultLanguage "ru"
CONF
: >"$work/conf/modules/voxamen.conf"

speech-dispatcher -s -t 120 -C "$work/conf" -m "$work/modules" -S "$work/sock" \
  -L "$work/logs" -l 4 2>"$work/logs/server.stderr" &
pids+=($!)
for _ in $(seq 100); do [[ -S $work/sock ]] && break; sleep 0.1; done
[[ -S $work/sock ]] || fail "speech-dispatcher did not open its socket"
export SPEECHD_ADDRESS=unix_socket:$work/sock

record() {  # record the sink's monitor into $1 until killed
  parec -d voxnull.monitor --rate=22050 --channels=1 --format=s16le >"$1" &
  pids+=($!)
  echo $!
}
speech_seconds() {  # seconds of sound above -40 dBFS in a raw recording
  sox -t raw -r 22050 -e signed -b 16 -c 1 "$1" -n silence 1 0.01 -40d -1 0.2 -40d stat 2>&1 \
    | awk '/^Length/ {print $3}'
}

# 1. spd-say: speech arrives at the sink.
rec=$(record "$work/say.raw")
sleep 0.3
timeout 30 spd-say -w -o voxamen -l ru "Привет! Это проверка речи через сервер." \
  || fail "spd-say failed or hung"
sleep 0.5
kill "$rec"
said=$(speech_seconds "$work/say.raw")
echo "spd-say: ${said:-0} s of speech at the sink"
awk -v s="${said:-0}" 'BEGIN { exit !(s > 1.0 && s < 8.0) }' || fail "expected 1-8 s of speech, got ${said:-0}"

# 2. Index marks in order, through the client library.
marks=$(timeout 30 "$bin/speechd-client-check" "$work/sock" marks) || fail "marks: $marks"
echo "$marks"
[[ $marks == $'mark one\nmark two\nmark three\nend' ]] || fail "marks out of order or missing"

# 3. STOP during a long text silences it.
rec=$(record "$work/stop.raw")
stopped=$(timeout 30 "$bin/speechd-client-check" "$work/sock" stop) || fail "stop: $stopped"
echo "$stopped"
sleep 1.5
kill "$rec"
after=$(speech_seconds "$work/stop.raw")
echo "stop: ${after:-0} s of speech reached the sink in all"
awk -v s="${after:-0}" 'BEGIN { exit !(s > 0.2 && s < 3.0) }' \
  || fail "a stopped long text should leave well under 3 s of speech, got ${after:-0}"
echo "speechd end-to-end: 3 passed, 0 failed"
