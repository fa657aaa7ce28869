#!/usr/bin/env bash
# Prints the source tree's files, NUL-separated, relative to the top: in a git clone the
# tracked and new, not ignored ones; in a tree without .git (a source tarball) every file
# but the ones .gitignore names.
set -euo pipefail
cd "$(dirname "$0")/.."

# (A tarball unpacked inside some other clone is no clone of its own.)
if command -v git >/dev/null && [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done
  exit 0
fi

# .gitignore's patterns as find tests: "/name" (a trailing "/" dropped) matches at the top
# only, any other pattern a name anywhere. That is all the patterns the file uses.
ignored=(-path ./.git)
if [ -f .gitignore ]; then
  while IFS= read -r pattern || [ -n "$pattern" ]; do
    pattern=${pattern%/}
    case "$pattern" in
      '' | '#'*) ;;
      /*) ignored+=(-o -path ".$pattern") ;;
      *) ignored+=(-o -name "$pattern") ;;
    esac
  done <.gitignore
fi
find . \( "${ignored[@]}" \) -prune -o ! -type d -printf '%P\0'
