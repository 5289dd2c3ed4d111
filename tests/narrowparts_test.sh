#!/bin/bash
# The parts handed narrow views of the main window (docs/design.md, "What each part is
# handed") never see the whole window: neither they nor any header they reach through
# the program's own includes includes shell/frmvardecks.h, so a change to the window
# recompiles none of them. Lists each part that reaches it and the way; fails when one
# does.
src="$1/src"
cd "$src" || exit 2

parts=(
    media/ui/frmthumb.cpp
    media/ui/iconcommands.cpp
    media/ui/thumbcommands.cpp
    options/ui/frmprefs.cpp
    options/ui/frmprefs_apply.cpp
    finding/ui/recentmenu.cpp
    finding/ui/listrows.cpp
    finding/ui/popularpane.cpp
    finding/ui/findingops.cpp
    finding/ui/searchpane.cpp
    finding/ui/favoritespane.cpp
    finding/ui/findingui.cpp
    web/ui/emailcommands.cpp
    web/ui/preview.cpp
    web/ui/aspectbusy.cpp
    web/ui/capture.cpp
    web/ui/webaspect.cpp
    exchange/ui/exchangeops.cpp
    exchange/ui/exportops.cpp
    exchange/ui/frmimportexport.cpp
    exchange/ui/importops.cpp
    exchange/ui/mergeop.cpp
)
window=shell/frmvardecks.h

broken=""
for part in "${parts[@]}"; do
    [ -f "$part" ] || { broken+="$part is missing"$'\n'; continue; }
    # Breadth first through the program's headers, keeping how each was reached.
    declare -A via=([$part]="$part")
    queue=("$part")
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        while read -r included; do
            [ -f "$included" ] && [ -z "${via[$included]}" ] || continue
            via[$included]="${via[$file]} -> $included"
            queue+=("$included")
        done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    done
    [ -n "${via[$window]}" ] && broken+="${via[$window]}"$'\n'
    unset via
done

if [ -n "$broken" ]; then
    echo "parts that reach the whole window:"
    printf '%s' "$broken"
    exit 1
fi
