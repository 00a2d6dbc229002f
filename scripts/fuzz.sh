#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a
# while from its seed corpus. A crash file lands in build-fuzz/crashes/NAME/;
# copy it into tests/fuzz/crashes/NAME/ with the fix so CTest replays it.
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
./scripts/install-deps.sh
targets=(registry registry-write abs07 phrase allophone-rules unit-cover corpus-text
  stress-dictionary user-vocabulary markup glossor rhythmics intonation intonation-new amp
  pros-cfg effects)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOXAMEN_FUZZ=ON \
  -DVOXAMEN_BENCH=OFF >/dev/null
if ! cmake --build build-fuzz -j"${JOBS:-2}" --target "${targets[@]/#/fuzz-}" >build-fuzz/build.log 2>&1; then
  cat build-fuzz/build.log >&2
  exit 1
fi
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  crashes=build-fuzz/crashes/$t
  mkdir -p "$corpus" "$crashes"
  cp -n tests/fuzz/seeds/"$t"/* "$corpus"/ 2>/dev/null || true
  echo "fuzz-$t: ${seconds} s"
  status=0
  VOXAMEN_MESSAGES=none build-fuzz/bin/fuzz-"$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" >build-fuzz/"$t".log 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' build-fuzz/"$t".log || true
  if ((status != 0)); then
    echo "fuzz-$t failed (exit $status); log: build-fuzz/$t.log" >&2
    exit 1
  fi
  # libFuzzer also leaves "slow-unit-" files there: an input slower than 10 s
  # (the lexical component's 1 MB text under the sanitizers can be) is shown,
  # not failed; crashes, leaks, timeouts and running out of memory fail.
  if compgen -G "$crashes/slow-unit-*" >/dev/null; then
    echo "fuzz-$t: slow inputs (not failures): $(ls "$crashes" | grep -c '^slow-unit-')"
  fi
  if compgen -G "$crashes/crash-*" >/dev/null || compgen -G "$crashes/leak-*" >/dev/null ||
    compgen -G "$crashes/timeout-*" >/dev/null || compgen -G "$crashes/oom-*" >/dev/null; then
    echo "fuzz-$t found crashes: $crashes" >&2
    exit 1
  fi
done
