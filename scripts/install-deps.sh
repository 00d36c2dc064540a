#!/usr/bin/env bash
# Installs the Debian packages the client, its tests and benchmarks need.
# Quiet and quick when everything is already there.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  libgtk-3-dev libwebkit2gtk-4.1-dev libudev-dev libcurl4-openssl-dev libjsoncpp-dev
  libx11-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  xvfb xauth openbox x11-utils x11-xserver-utils xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
