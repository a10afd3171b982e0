#!/bin/sh
# Installs the Debian packages that the build and the tests need; quiet when all are there.
set -eu

packages="cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
libz-mingw-w64-dev zlib1g-dev g++ wine64 xvfb xauth x11-apps libgl1-mesa-dri libglx-mesa0 \
ocl-icd-libopencl1 pocl-opencl-icd opencl-headers fonts-wine googletest \
xz-utils util-linux"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
if ! $sudo apt-get install -y -q --no-install-recommends $missing >/dev/null; then
    $sudo apt-get update -q >/dev/null
    # shellcheck disable=SC2086
    $sudo apt-get install -y -q --no-install-recommends $missing >/dev/null
fi
