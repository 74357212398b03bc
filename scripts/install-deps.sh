#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Idempotent: does nothing when every package is already installed.
# With "fuzz", also what `make fuzz` needs (clang and its libFuzzer).
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev
  libglew-dev libgl-dev libgl1-mesa-dri
  zlib1g-dev libsamplerate0-dev libpugixml-dev
  gsoap libgsoap-dev libssl-dev
  libcurl4-openssl-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libtag1-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei
  python3 python3-pil python3-numpy
  zenity ca-certificates
)
if [ "${1:-}" = "fuzz" ]; then
  PACKAGES+=(clang)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
