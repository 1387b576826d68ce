#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  cmake g++ pkg-config
  libglfw3-dev libglew-dev libassimp-dev libfreetype-dev libstb-dev
  libspdlog-dev libfmt-dev libinih-dev libglm-dev libbullet-dev uuid-dev
  fonts-open-sans libxi-dev libxtst-dev
  xvfb xauth libgl1-mesa-dri mesa-utils xdotool
  libgtest-dev libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
