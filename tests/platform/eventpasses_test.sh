#!/bin/bash
# Long work lets window events through only as platform/gui/windowevents does (repaints
# and the work's own Cancel; other input dropped, timers held). Lists every other place
# in the program that runs the pending events itself; fails when there is one.
src="$1/src"
found=$(grep -rnE 'processEvents[[:space:]]*\(' "$src" --include='*.cpp' --include='*.h' |
    grep -vE '^[^:]*/platform/gui/windowevents\.(h|cpp):' |
    grep -vE '^[^:]*:[0-9]+:[[:space:]]*//')
if [ -n "$found" ]; then
    echo "pending events run outside platform/gui/windowevents:"
    echo "$found"
    exit 1
fi
