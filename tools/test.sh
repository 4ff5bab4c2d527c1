#!/usr/bin/env bash
# Installs what is missing (Debian, as root), builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends g++ cmake ninja-build libgtest-dev libgmock-dev \
    libbenchmark-dev qt6-base-dev libgl-dev fonts-dejavu-core
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
