#!/usr/bin/env bash
# Installs what is missing (Debian, as root), builds everything and runs every
# test; then builds again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite there, and gives each reader's fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends g++ cmake ninja-build libgtest-dev libgmock-dev \
    libbenchmark-dev qt6-base-dev libgl-dev fonts-dejavu-core clang libclang-rt-dev
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
# -O1 keeps the sanitizer build quick to compile and its tests quick to run.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DBREVIMAR_SANITIZE=ON \
    -DBREVIMAR_BUILD_BENCH=OFF
cmake --build build-asan
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
bash tools/fuzz.sh
