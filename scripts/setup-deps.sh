#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail

# The windows need Qt 6 Widgets and a font with Japanese glyphs, without
# which every caption renders as boxes, and Qt's own translations, without
# which its buttons and file dialogs are English; lrelease and lupdate
# (qt6-l10n-tools) build and check the English catalogue, with python3.
packages=(cmake ninja-build g++ pkg-config libjpeg62-turbo-dev libjpeg-turbo-progs libgtest-dev libcli11-dev
          qt6-base-dev qt6-translations-l10n qt6-l10n-tools python3 fonts-noto-cjk
          time)  # GNU time: the benchmarks' peak memory of the measured process alone
# The libFuzzer targets (-DPICTAVO_FUZZ=ON) need clang and its runtime.
if [ "${PICTAVO_FUZZ:-0}" = 1 ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
