#!/usr/bin/env bash
# Installs the Debian 12 packages the logger builds, runs and is tested with (idempotent).
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libgl-dev
  libliquid-dev libfftw3-dev libfec-dev libsndfile1-dev libsimpleini-dev
  hamradio-files libbenchmark-dev
  pulseaudio pulseaudio-utils xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
