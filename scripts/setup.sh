#!/usr/bin/env bash
# Installs every Debian package the project builds, tests or runs with, when
# it is missing. Runs apt-get as root, through sudo otherwise.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  # Printing: qt6-base-dev carries the QtPrintSupport headers, the library is its own package.
  libqt6printsupport6
  # SVG figures (QSvgGenerator); poppler-utils lets a person look at exported PDFs (pdftoppm).
  qt6-svg-dev poppler-utils
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  # The processing steps' transforms (single precision, fftw3f).
  libfftw3-dev
  # Positions from GPS sidecars projected to map coordinates and back.
  libproj-dev proj-data
  fonts-liberation2 xvfb xauth locales
  # Reads back the revision-1 SEG-Y that delvar-cli writes for other tools (a test, skipped without it).
  python3-segyio
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can prove numbers keep their point.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "setup: could not generate de_DE.UTF-8"
fi
