#!/bin/bash
# Installs, with apt-get, the Debian packages that building and testing
# Cumulon need, skipping those already installed.
set -eu

packages=(
    cmake make g++ clang libclang-rt-14-dev googletest python3   # native tree, sanitizers, fuzzers
    g++-mingw-w64-x86-64-posix                                   # the Windows programs
    wine wine64 xvfb xauth imagemagick                           # running and looking at them
    fp-utils weather-util-data                                   # help file, station and ZIP tables
    libjpeg-turbo-progs                                          # the sample service's JPEG pictures
    curl                                                         # downloader benchmark
    openssl                                                      # test certificate authorities for TLS
    nlohmann-json3-dev                                           # the river gauge JSON reader
    nsis                                                         # the setup program
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
