#!/usr/bin/env bash
# Installs under a temporary prefix and starts the installed program: it must seed its data folder from
# what it installed beside itself, and put its desktop file and icon where desktops look.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
home="$(mktemp -d)"
trap 'kill "${pid:-0}" 2>/dev/null || true; rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/razuzezu-revidod lib/razuzezu-revidod/librazuzezu-webengine.so \
         share/applications/razuzezu-revidod.desktop \
         share/icons/hicolor/128x128/apps/razuzezu-revidod.png \
         share/icons/hicolor/48x48/apps/razuzezu-revidod.png \
         share/razuzezu-revidod/DeVivozoda/Vardecks.dtd \
         share/razuzezu-revidod/DeVivozoda/VD.xsl \
         "share/razuzezu-revidod/Vardecks Help.chm/Getting_started.htm"; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ ! -e "$prefix/share/razuzezu-revidod/desktop" ] || { echo "desktop folder installed as data"; exit 1; }
grep -q '^Exec=razuzezu-revidod$' "$prefix/share/applications/razuzezu-revidod.desktop"

# The installed copy must reach neither the build or source tree nor the real home of whoever runs the tests.
env -u RAZUZEZU_DATA_DIR -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME \
  HOME="$home" XDG_RUNTIME_DIR="$home" RAZUZEZU_HOME="$home" QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/razuzezu-revidod" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  [ -f "$home/data/DeVivozoda/Vardecks.xml" ] && [ -f "$home/data/DeVivozoda/Vardecks.dtd" ] && break
  sleep 0.1
done
[ -f "$home/data/DeVivozoda/Vardecks.xml" ] || { echo "the installed program seeded no database"; exit 1; }
cmp -s "$prefix/share/razuzezu-revidod/DeVivozoda/Vardecks.dtd" "$home/data/DeVivozoda/Vardecks.dtd"
echo "1 passed, 0 failed"
