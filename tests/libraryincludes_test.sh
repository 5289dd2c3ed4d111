#!/bin/bash
# Every file of a library of the program includes only its own headers and those of the
# libraries it links, directly or through another: a header of a library it does not
# link builds only while the header needs nothing compiled in that library. The
# libraries come from the build's map (libraries.txt: the library, what it links, "|",
# its sources). A header belongs to the library of its .cpp, or, when it has none, to
# the library of the other sources in its folder. Lists every include that breaks this;
# fails when there is one.
src="$1/src"
map="$2"
[ -r "$map" ] || { echo "no library map at $map"; exit 2; }

declare -A owner linked folderOwner
while read -r line; do
    library=${line%% *}
    links=${line%%|*}
    linked[$library]=" ${links#"$library"} "
    for file in ${line#*|}; do
        owner[$file]=$library
        folderOwner[${file%/*}]=$library
    done
done <"$map"

ownerOf() {
    local file=$1
    if [ -n "${owner[$file]}" ]; then
        echo "${owner[$file]}"
    elif [ -n "${owner[${file%.h}.cpp]}" ]; then
        echo "${owner[${file%.h}.cpp]}"
    else
        echo "${folderOwner[${file%/*}]}"
    fi
}

cd "$src" || exit 2
broken=""
while read -r file; do
    library=$(ownerOf "$file")
    [ -n "$library" ] || continue
    while read -r included; do
        [ -f "$included" ] || continue
        other=$(ownerOf "$included")
        if [ -n "$other" ] && [ "$other" != "$library" ] && [[ "${linked[$library]}" != *" $other "* ]]; then
            broken+="$file ($library) includes $included ($other)"$'\n'
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.cpp' -o -name '*.h' | sed 's|^\./||' | sort)

if [ -n "$broken" ]; then
    echo "headers of libraries the includer does not link:"
    printf '%s' "$broken"
    exit 1
fi
