#!/usr/bin/env bash
# Installs the Debian 12 packages the game needs, only those that are missing.
#   scripts/install-deps.sh          to build and play
#   scripts/install-deps.sh --test   also what the tests need (Xvfb, xdotool, xrdb, a PulseAudio
#                                    server and its tools, openbox, the package tools and validators,
#                                    clang 14 with its sanitizer and libFuzzer runtimes,
#                                    llvm-symbolizer for their reports)
# Runs apt-get through sudo when not root. Quick when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins libpulse-dev
  libglib2.0-dev libx11-dev libexpat1-dev
  fonts-liberation shared-mime-info desktop-file-utils
)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(googletest libgtest-dev xvfb xdotool x11-utils xclip x11-xserver-utils)
  packages+=(pulseaudio pulseaudio-utils openbox)
  packages+=(dpkg-dev lintian appstream man-db)
  packages+=(clang-14 libclang-rt-14-dev llvm-14)
  # A screen reader's stack: the accessibility bus, its Python client, Orca.
  packages+=(at-spi2-core python3-pyatspi orca dbus)
fi
# Real word lists for the library tool's tests and its import benchmark.
if [[ "${1:-}" == "--test" ]]; then
  packages+=(kdeedu-kvtml-data wamerican)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi

# The end-to-end tests run installed copies and unreadable files as an
# ordinary player would: a plain account without a password or privileges.
if [[ "${1:-}" == "--test" ]] && ! id -u tarvik-player >/dev/null 2>&1; then
  "${sudo[@]}" useradd --create-home --shell /bin/bash tarvik-player
fi
# A second ordinary user, who shares folders with the player: plants links,
# lock files and locks of their own there.
if [[ "${1:-}" == "--test" ]] && ! id -u tarvik-other >/dev/null 2>&1; then
  "${sudo[@]}" useradd --create-home --shell /bin/bash tarvik-other
fi
