#!/bin/bash
# Every C++ source of the repository is formatted as its .clang-format says; lists the
# files clang-format would change and fails when there is one.
top="$1"
cd "$top" || exit 2
if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed"
    exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files '*.cpp' '*.h')
else
    files=$(find src tests bench -name '*.cpp' -o -name '*.h')
fi
unformatted=$(printf '%s\n' $files |
    xargs -P "$(nproc)" -I{} sh -c 'clang-format --dry-run -Werror "$1" >/dev/null 2>&1 || echo "$1"' _ {})
if [ -n "$unformatted" ]; then
    echo "files clang-format would change (run clang-format -i on them):"
    echo "$unformatted"
    exit 1
fi
