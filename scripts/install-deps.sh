#!/usr/bin/env bash
# Installs everything the project needs to build, run and test on Debian 12. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    clang libclang-rt-dev
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    libasound2-dev libjack-jackd2-dev jackd2
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libsndfile1-dev libsoxr-dev sox  # converting impulse responses; sox is the benchmark's yardstick
    libkissfft-dev  # the magnitude response of an impulse response in the speaker panel
    fonts-dejavu-core fonts-dejavu-extra  # the lettering of the panel artwork
    xvfb xauth procps xdotool x11-utils python3  # for the checks that drive the window (xwininfo; python3 reads JSON)
    openbox  # a window manager for the framed-window tests
    desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# jackd2 asks whether to enable real-time priority; answer without a prompt.
echo "jackd2 jackd/tweak_rt_limits boolean false" | $sudo debconf-set-selections
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
