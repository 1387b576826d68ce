#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  # The build: compiler, generator (CMake's default, Makefiles), CMake's package look-ups.
  cmake make g++ pkg-config
  # What the game links (cmake/Dependencies.cmake).
  libgl-dev libx11-dev libxi-dev libxtst-dev libglfw3-dev libglew-dev libassimp-dev
  libfreetype-dev libstb-dev libspdlog-dev libfmt-dev libinih-dev libglm-dev libbullet-dev uuid-dev
  # What it reads and draws with at run time: the font (cmake/RunDirectory.cmake), Mesa's drivers.
  fonts-open-sans libgl1-mesa-dri
  # The tests and benchmarks, and the virtual display tools/test.sh runs them under.
  libgtest-dev libbenchmark-dev xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo > /dev/null; then
    echo "Missing: ${missing[*]}; run tools/setup.sh as root (there is no sudo here)" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
