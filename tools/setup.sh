#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine, builds, then either starts the
# program ("run") or runs every test ("test"). "run" installs and builds only the
# program and its data; "test" adds the tests and benchmarks, built with warnings
# as errors.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mode="${1:-test}"
build="${RR_BUILD_DIR:-$here/build}"

# libxkbcommon-dev: Qt's Gui package looks for it while the build is configured.
# fonts-wqy-microhei (Chinese, Japanese and Korean letters) and fonts-noto-color-emoji:
# names in those scripts and emoji show as letters rather than boxes (12 MB in all).
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-webengine-dev libxkbcommon-dev
          libxml2-dev libxslt1-dev libgtest-dev libgmock-dev libbenchmark-dev liblz4-dev libxxhash-dev
          libxcb1-dev xvfb xauth openbox fonts-dejavu-core fonts-wqy-microhei fonts-noto-color-emoji xdg-utils
          libxml2-utils xsltproc clang-format poppler-utils)
# Needed only by the tests and benchmarks: "run" leaves them out. poppler-utils: the
# printing tests read the text of the printed pages (pdftotext).
test_only=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox libxml2-utils xsltproc clang-format
           poppler-utils)

case "$mode" in
  run | test) ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if [ "$mode" = run ] && [[ " ${test_only[*]} " == *" $p "* ]]; then
    continue
  fi
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi

case "$mode" in
  run)
    # The program alone, optimised without debugging information (a fifth less to
    # compile); configuring makes build/share, its data beside bin/.
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DRR_BUILD_TESTS=OFF -DRR_BUILD_BENCH=OFF
    cmake --build "$build" --target razuzezu-revidod
    exec "$build/bin/razuzezu-revidod"
    ;;
  test)
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DRR_BUILD_TESTS=ON -DRR_BUILD_BENCH=ON -DRR_TESTS_WERROR=ON
    cmake --build "$build"
    export QT_QPA_PLATFORM=offscreen
    [ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    ;;
esac
