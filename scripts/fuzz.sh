#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build-fuzz/ and runs each for a
# fixed number of inputs, starting from its seed corpus (tests/fuzz/corpus/<target>/; the
# inputs found on the way go to build-fuzz/corpus/<target>/, never into the repository).
# A crash or a broken property fails the script; the input is kept in build-fuzz/artifacts/.
#
#   scripts/fuzz.sh                           # every target, 20000 inputs each
#   RUNS=-1 TIME=600 scripts/fuzz.sh fuzz_profile   # one target for ten minutes
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
runs=${RUNS:-20000}
jobs=${JOBS:-$(nproc)}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVANTREL_FUZZ=ON -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target vantrel_fuzz

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for program in "$build"/bin/fuzz_*; do targets+=("$(basename "$program")"); done
fi

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  found="$build/corpus/$target"
  mkdir -p "$found"
  options=(-runs="$runs" -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1)
  [ -n "${TIME:-}" ] && options+=(-max_total_time="$TIME")
  log="$build/$target.log"
  start=$SECONDS
  if "$build/bin/$target" "${options[@]}" "$found" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    echo "$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs, $((SECONDS - start)) s"
  else
    cat "$log"
    echo "$target: FAILED (the input is in $build/artifacts/)" >&2
    exit 1
  fi
done
