#!/usr/bin/env bash
# Installs what is missing (Debian, as root), builds everything and runs every
# test; then builds again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite there, and gives each reader's fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends g++ cmake ninja-build libgtest-dev libgmock-dev \
    libbenchmark-dev qt6-base-dev libgl-dev fonts-dejavu-core clang libclang-rt-dev ccache
# A runner that keeps its cache between runs compiles only what changed; clones
# in other folders share it.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
# -O1 keeps the sanitizer build quick to compile and its tests quick to run.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DBREVIMAR_SANITIZE=ON \
    -DBREVIMAR_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build build-asan
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
bash tools/fuzz.sh
