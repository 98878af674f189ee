#!/usr/bin/env bash
# Runs every libFuzzer target for a fixed time, each from its seed corpus.
#
#   scripts/fuzz.sh                 # 60 s per target
#   scripts/fuzz.sh 300             # 300 s per target
#   scripts/fuzz.sh 60 fuzz_grouping fuzz_meter_scale
#
# Installs clang and its fuzzer runtime when missing, builds the targets with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz, and fails when
# any target finds a crash, a failed check, a leak or a hang. The inputs found
# along the way are kept in build-fuzz/corpus/<target>; a failing input is
# written to build-fuzz/artifacts/ and replays with
#   build-fuzz/fuzz/<target> build-fuzz/artifacts/<file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_float_text fuzz_int_text fuzz_grouping fuzz_numlab_format fuzz_meter_scale fuzz_gpx
    fuzz_truck_file)
fi

scripts/setup.sh
missing=()
for p in clang libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "fuzz: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]}" -j"${JOBS:-$(nproc)}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

mkdir -p build-fuzz/artifacts
failed=()
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  log="build-fuzz/$t.log"
  echo "== $t (${seconds} s)"
  if build-fuzz/fuzz/"$t" "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
      -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/artifacts/$t-" -print_final_stats=1 >"$log" 2>&1; then
    grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" "$log" | sed 's/^/   /'
  else
    failed+=("$t")
    grep -E "fuzz check failed|ERROR:|runtime error|Test unit written" -A2 "$log" | head -20 | sed 's/^/   /'
  fi
done

if ((${#failed[@]})); then
  echo "fuzz: FAILED: ${failed[*]} (logs in build-fuzz/<target>.log)"
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran clean for ${seconds} s each"
