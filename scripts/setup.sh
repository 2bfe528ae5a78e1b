#!/usr/bin/env bash
# Installs what the suite needs to build, run and test on Debian 12, where it is missing:
# setup.sh [PACKAGE...] (packages a script needs beyond the suite's own, installed the same way).
set -euo pipefail
packages=("$@"
          g++ make cmake pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev
          libgl-dev qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core fonts-liberation2 xvfb xauth xclip poppler-utils libcups2-dev cups-daemon cups-client
          # scripts/test.sh: the fuzz targets (clang and its fuzzer runtime), the aarch64 syntax check
          clang libclang-rt-dev g++-aarch64-linux-gnu)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
