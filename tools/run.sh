#!/usr/bin/env bash
# Installs what is needed, builds Quorvel and starts it (on the desktop this shell belongs to).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --target quorvel
exec build/quorvel
