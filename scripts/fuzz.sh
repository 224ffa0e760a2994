#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds every fuzz target in build-fuzz/ (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for SECONDS (60 unless given) on its corpus.
# Exits non-zero when a target does not build, or on any crash, leak, timeout or running out of
# memory; what failed is left in build-fuzz/artifacts/ (see fuzz/CMakeLists.txt to replay it).
# What the runs find is kept in build-fuzz/corpus/<name>/; fuzz/corpus/<name>/ only seeds them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || {
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
}
source scripts/setup.sh
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang is needed (./test installs it with the test tools)" >&2
  exit 1
fi
ranqua_build build-fuzz -DCMAKE_C_COMPILER="$(command -v clang)" \
  -DCMAKE_CXX_COMPILER="$(command -v clang++)" -DRANQUA_FUZZ=ON -DRANQUA_TESTS=OFF \
  -DRANQUA_WERROR=ON -DRANQUA_SOUNDTRACK=OFF -DRANQUA_BENCH=OFF -- ranqua_fuzz_targets

out=$PWD/build-fuzz
mkdir -p "$out/artifacts"
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
status=0
for name in jpeg config record link loadgame; do
  extra=()
  case $name in
  jpeg) extra=(tests/data) ;;                    # the test pictures seed it too
  config) extra=(-dict=fuzz/config.dict) ;;
  record | loadgame) extra=(-max_len=64) ;; # a record is 46 bytes; longer says nothing new
  esac
  mkdir -p "$out/corpus/$name"
  log=$out/$name.log
  # One input may take at most 10 s and 2 GB; the run itself stops after SECONDS.
  rc=0
  "$out/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" \
    "$out/corpus/$name" "fuzz/corpus/$name" "${extra[@]}" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $rc -eq 0 ]; then
    echo "fuzz.sh: ${name}_fuzz: ${runs:-?} runs in $seconds s, no failure"
  else
    status=1
    echo "fuzz.sh: ${name}_fuzz FAILED (exit code $rc); the end of $log:" >&2
    tail -n 40 "$log" >&2
  fi
done
exit $status
