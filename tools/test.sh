#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: the fuzzers for a bounded time and the
# text-edit core's unit tests in a clang build with sanitizers, then the whole suite on Linux, then the
# Windows program's under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEL_BUILD_GUI=OFF -DQUORVEL_BUILD_BENCHMARKS=OFF -DQUORVEL_BUILD_FUZZERS=ON
cmake --build build-fuzz --target cipher_fuzz textedit_fuzz textedit_tests
ctest --test-dir build-fuzz -R 'cipher_fuzz|textedit_fuzz|^textedit[.]' --output-on-failure

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure --timeout 600

# The Windows program and its tests, under Wine.
tools/build-windows.sh
ctest --test-dir build-windows --output-on-failure --timeout 600
