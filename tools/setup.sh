#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, builds, then either starts the
# program ("run") or runs every test ("test").
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-test}"
build="${RR_BUILD_DIR:-$here/build}"

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-webengine-dev
          libxml2-dev libxslt1-dev libgtest-dev libgmock-dev libbenchmark-dev liblz4-dev
          libxcb1-dev xvfb xauth openbox fonts-dejavu-core xdg-utils
          libxml2-utils xsltproc)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"

case "$mode" in
  run)
    exec "$build/bin/razuzezu-revidod"
    ;;
  test)
    export QT_QPA_PLATFORM=offscreen
    [ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
