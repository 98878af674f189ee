#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice:
# a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build.
# The Debian package is made from the normal build and checked in between.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== normal build"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== Debian package"
# Packages the tree just built (no third compile) and checks the package.
tests/package/check_package.sh build

echo "== sanitizer build"
# Warnings are errors here: the code builds clean with -Wall -Wextra -Wpedantic -Wshadow.
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DCMAKE_CXX_FLAGS=-Werror
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j"$jobs"
