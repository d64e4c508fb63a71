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

comment_prefix() {
  case "$1" in
    *.cpp | *.h | *.hpp | *.cc | *.c) echo '// ' ;;
    *.sh | *.py | *.cmake | */CMakeLists.txt | CMakeLists.txt | .ci/run | scripts/*) echo '# ' ;;
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
missing=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] || continue
  prefix=$(comment_prefix "$file")
  [ -n "$prefix" ] || continue
  head -n 3 "$file" | grep -q "$line" && continue
  if $check; then
    echo "no licence line: $file"
    missing=$((missing + 1))
  else
    add_line "$file" "$prefix"
  fi
done < <(git ls-files -z)
if $check && [ "$missing" -gt 0 ]; then
  echo "$missing files lack the licence line; scripts/licence-headers.sh adds it" >&2
  exit 1
fi
