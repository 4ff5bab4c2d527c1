#!/usr/bin/env bash
# Installs what is missing (Debian, as root), builds Brevimar and starts it.
# A scenario file given as argument is read at start-up; without one the
# program offers its start-up file dialog.
set -euo pipefail
caller_dir=$(pwd)
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive

missing=()
for package in g++ cmake ninja-build libgtest-dev libgmock-dev qt6-base-dev libgl-dev fonts-dejavu-core; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target brevimar

# File names are taken from where the script was called.
args=()
for arg in "$@"; do
    if [[ "$arg" != -* && "$arg" != /* ]]; then
        arg="$caller_dir/$arg"
    fi
    args+=("$arg")
done

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "run.sh: no display found (DISPLAY and WAYLAND_DISPLAY are unset); the window needs one." >&2
fi
exec build/app/brevimar "${args[@]}"
