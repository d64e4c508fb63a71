#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file of the repository opens with its licence line (after a shebang where there
# is one). "scripts/licence-headers.sh" adds the line where it is missing; "--check" only lists
# the files that lack it and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
line='SPDX-License-Identifier: GPL-3.0-or-later'
check=false
[ "${1:-}" == "--check" ] && check=true

# Sets `prefix` to the comment that opens a line in this file, or to nothing.
comment_prefix() {
  case "$1" in
    *.cpp | *.h | *.hpp | *.cc | *.c) prefix='// ' ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | .ci/run | scripts/*) prefix='# ' ;;
    *) prefix='' ;;
  esac
}

add_line() {
  local file=$1 prefix=$2 tmp
  tmp=$(mktemp)
  if head -n 1 "$file" | grep -q '^#!'; then
    { head -n 1 "$file"; printf '%s%s\n' "$prefix" "$line"; tail -n +2 "$file"; } >"$tmp"
  else
    { printf '%s%s\n' "$prefix" "$line"; cat "$file"; } >"$tmp"
  fi
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
}

if ! git rev-parse --git-dir >/dev/null 2>&1; then
  echo "skipped: not a git checkout, so the repository's files are not known" >&2
  exit 77
fi
# The source files, by name (the shell's own matching: no process per file).
files=()
while IFS= read -r -d '' file; do
  comment_prefix "$file"
  [ -f "$file" ] && [ -n "$prefix" ] && files+=("$file")
done < <(git ls-files -z)

# One awk over all of them prints those without the line in their first three lines.
lacking() {
  [ ${#files[@]} -gt 0 ] || return 0
  awk -v line="$line" '
    FNR == 1 { if (NR > 1 && !found) print name; name = FILENAME; found = 0 }
    FNR <= 3 && index($0, line) { found = 1 }
    FNR == 3 { nextfile }
    END { if (NR > 0 && !found) print name }' "${files[@]}"
}

missing=0
while IFS= read -r file; do
  if $check; then
    echo "no licence line: $file"
    missing=$((missing + 1))
  else
    comment_prefix "$file"
    add_line "$file" "$prefix"
  fi
done < <(lacking)
if $check && [ "$missing" -gt 0 ]; then
  echo "$missing files lack the licence line; scripts/licence-headers.sh adds it" >&2
  exit 1
fi
