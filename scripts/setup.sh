#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent: apt-get runs only
# when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libssl-dev openssl libcurl4-openssl-dev zlib1g-dev libminizip-dev
  rapidjson-dev liblua5.1-0-dev libtolua++5.1-dev lua-check lua-cjson-dev
  libcairo2-dev fonts-dejavu-core xdg-utils libpng-dev libjpeg-dev unzip
  clang libfuzzer-14-dev libclang-rt-14-dev
  python3 python3-clang-14 xvfb xauth locales libgl-dev libglfw3-dev libx11-dev xdotool x11-apps x11-utils
  libprotobuf-dev protobuf-compiler libtinyxml2-dev libxxhash-dev
  libchipmunk-dev lua-socket-dev python3-websockets libwebkit2gtk-4.1-dev xclip xsel
  libglew-dev libopenal-dev libsndfile1-dev libbullet-dev libtinyobjloader-dev librecast-dev sox
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
