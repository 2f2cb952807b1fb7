#!/usr/bin/env bash
# Builds the benchmark programs and prints the whole performance table: every line operation
# beside its floor (tests/e2e/qt_operations_bench.cpp), the independent master on the same line
# (bench/qt_libmodbus_bench.cpp) and the window's figures (tests/e2e/qt_window_bench.cpp).
#   bash scripts/run-benchmarks.sh [runs] [runs at 1200 baud] [monitoring seconds]
# Defaults 5, 3 and 180: about 40 minutes, most of it the 1200-baud rows (a configuration read
# or write takes 2 minutes a run there). `bash scripts/run-benchmarks.sh 1 1 10` is a quick look.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}"
runs=${1:-5}
slow_runs=${2:-3}
monitor_seconds=${3:-180}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(zelor-pui-sim qt_operations_bench qt_window_bench)
# grep reads the whole list (no -q): an early exit would break cmake's pipe under pipefail.
if cmake --build build --target help | grep qt_libmodbus_bench >/dev/null; then targets+=(qt_libmodbus_bench); fi
cmake --build build -j2 --target "${targets[@]}" >/dev/null

# The line benches run at a real-time priority where the system allows it, so that other work on
# the machine (compilers, tests) does not land in figures meant to show the tool's own overhead;
# ZELOR_BENCH_REALTIME=0 runs them as ordinary processes. The window's figures always are.
priority=()
if [ "${ZELOR_BENCH_REALTIME:-1}" = 1 ] && chrt -f 10 true 2>/dev/null; then priority=(chrt -f 10); fi
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; line benches at ${priority[*]:-the ordinary priority}"
echo
status=0
"${priority[@]}" ./build/qt_operations_bench "$runs" "$slow_runs" || status=1
echo
if [ -x build/qt_libmodbus_bench ]; then
  "${priority[@]}" ./build/qt_libmodbus_bench "$runs" "$slow_runs" || status=1
else
  echo "qt_libmodbus_bench is not built (libmodbus-dev was not found)"
fi
echo
./build/qt_window_bench 5 "$monitor_seconds" || status=1
exit $status
