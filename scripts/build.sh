#!/usr/bin/env bash
# Builds the 32-bit program (the deliverable) and the 64-bit configuration beside it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
: "${BUILD_DIR:=$root/build}"

for arch in i686 x86_64; do
    dir="$BUILD_DIR/$arch"
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
              -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" >/dev/null
    fi
    cmake --build "$dir" -j2
done
