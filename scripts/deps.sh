#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail
pkgs=(
  build-essential cmake ninja-build pkg-config clang clang-format
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n libwmf-dev
  libsdl2-dev libsndfile1-dev libv4l-dev libgstreamer-plugins-base1.0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool xclip imagemagick jwm libxcb1-dev libxtst-dev libxdamage-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
  pulseaudio pulseaudio-utils
  libfluidsynth-dev libjack-jackd2-dev timgm6mb-soundfont
  espeak-ng
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=300 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
