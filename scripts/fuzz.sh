#!/usr/bin/env bash
# Builds the libFuzzer entries (tests/<subsystem>/*_fuzz.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, runs each for the given seconds from a working copy
# of its corpus, and prints per entry: executions a second (of the run's wall-clock time, and of
# the processor time it got, which tells a busy machine from a slow entry), executions in total
# and findings (crash, leak, timeout and out-of-memory inputs, kept in
# build-fuzz/fuzz/<entry>/findings/).
#
#   scripts/fuzz.sh [seconds per entry, default 60] [entry ...]   run (all entries by default)
#   scripts/fuzz.sh --merge [entry ...]   minimise the seeds, the working corpus and the
#                                         repository's corpus into the repository's corpus
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}" "${ZELOR_FUZZ_PACKAGES[@]}"

merge=0
seconds=60
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

# entry -> its folder under tests/ and its longest input
declare -A folder=([receive_fuzz]=link [port_file_fuzz]=link [parse_image_fuzz]=config [lcd_codec_fuzz]=config
                   [firmware_file_fuzz]=upgrade [request_framer_fuzz]=sim)
declare -A max_len=([receive_fuzz]=512 [port_file_fuzz]=4096 [parse_image_fuzz]=4096 [lcd_codec_fuzz]=1024
                    [firmware_file_fuzz]=1024 [request_framer_fuzz]=4096)
entries=("$@")
[ ${#entries[@]} -eq 0 ] && entries=(receive_fuzz parse_image_fuzz firmware_file_fuzz port_file_fuzz lcd_codec_fuzz request_framer_fuzz)
for e in "${entries[@]}"; do
  [ -n "${folder[$e]:-}" ] || { echo "unknown entry: $e (known: ${!folder[*]})" >&2; exit 2; }
done

build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DZELOR_WITH_UI=OFF -DZELOR_FUZZERS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
cmake --build "$build" -j"$jobs" --target "${entries[@]}" >/dev/null

# The seed inputs, made from the tests' inputs.
rm -rf "$build/fuzz/seeds"
python3 tests/support/fuzz_seeds.py "$build/fuzz/seeds"

# The entries find their data files through their sources' paths, relative to this folder.
cd "$build/tests"
results=()
for e in "${entries[@]}"; do
  stem=${e%_fuzz}
  corpus=$root/tests/${folder[$e]}/${stem}_corpus
  work=$build/fuzz/$e
  mkdir -p "$work/corpus" "$work/findings"
  if [ $merge -eq 1 ]; then
    fresh=$(mktemp -d)
    ./"$e" -merge=1 -max_len="${max_len[$e]}" "$fresh" "$corpus" "$work/corpus" "$build/fuzz/seeds/$stem" \
      >"$work/merge.log" 2>&1
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp "$fresh"/* "$corpus"/
    rm -rf "$fresh"
    echo "$e: $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KB in tests/${folder[$e]}/${stem}_corpus"
    continue
  fi
  # A working copy: what the run finds stays in the build folder.
  cp -n "$corpus"/* "$work/corpus"/ 2>/dev/null || true
  rm -f "$work"/findings/*
  log=$work/run.log
  start=$(date +%s)
  status=0
  TIMEFORMAT='%3U %3S'
  { time ./"$e" -max_total_time="$seconds" -timeout=10 -max_len="${max_len[$e]}" -print_final_stats=1 \
      -artifact_prefix="$work/findings/" "$work/corpus" >"$log" 2>&1; } 2>"$work/cpu-seconds" || status=$?
  elapsed=$(( $(date +%s) - start ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cpu_rate=$(awk -v n="${execs:-0}" '{ t = $1 + $2; printf "%d", (t > 0 ? n / t : 0) }' "$work/cpu-seconds")
  findings=$(find "$work/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  [ $status -ne 0 ] && [ "$findings" -eq 0 ] && findings="exit $status"
  results+=("$(printf '%-20s %8s %10s %12s %14s %9s' "$e" "$elapsed" "${rate:-?}" "$cpu_rate" "${execs:-?}" "$findings")")
  echo "${results[-1]}   (log: $log)"
done
[ $merge -eq 1 ] && exit 0

echo
printf '%-20s %8s %10s %12s %14s %9s\n' entry seconds exec/s exec/cpu-s executions findings
printf '%s\n' "${results[@]}"
