#!/usr/bin/env bash
# Installs every Debian package the project needs, and the German locale that the locale test
# runs under. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libfmt-dev libgtest-dev libgmock-dev libbenchmark-dev libexpat1-dev
  qt6-base-dev qt6-webengine-dev qt6-svg-dev poppler-utils
  dpkg-dev file lintian
  libcmark-gfm-dev libcmark-gfm-extensions-dev
  python3 clang-format clang-tidy
  fonts-dejavu-core
  clang libclang-rt-14-dev valgrind
  locales
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_if_needed apt-get update -qq
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locale test compares every output under de_DE.UTF-8 with the C locale's.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the de_DE.UTF-8 locale"
  if ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'de_DE.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  fi
  sudo_if_needed locale-gen >/dev/null
fi
