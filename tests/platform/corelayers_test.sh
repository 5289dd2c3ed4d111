#!/bin/bash
# The core libraries (storage, finding, media, options, web, exchange, platform, each
# without its ui/ and gui/ folders) show no message and ask no question: they return
# notices (platform/notice.h) and the windows show them. Lists every core file that
# reaches for the prompt seam; fails when there is one.
src="$1/src"
found=$(grep -rlE '"platform/prompt\.h"|prompt::' \
    "$src"/storage "$src"/finding "$src"/media "$src"/options "$src"/web "$src"/exchange "$src"/platform \
    --include='*.cpp' --include='*.h' |
    grep -vE '/(ui|gui)/|/platform/prompt\.(h|cpp)$')
if [ -n "$found" ]; then
    echo "core files that show messages themselves:"
    echo "$found"
    exit 1
fi
