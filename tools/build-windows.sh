#!/usr/bin/env bash
# Installs what is needed and cross-builds the Windows program: build-windows/quorvel.exe, its
# installer build-windows/quorvel-<version>-win64.msi, and the zip that holds the program file alone,
# build-windows/quorvel-<version>-win64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
cmake --build build-windows
(cd build-windows && cpack -G ZIP >/dev/null)
