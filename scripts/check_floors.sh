#!/usr/bin/env bash
# Checks the floors of the house: a module may include headers of its own folder and
# of the floors below it, never of a floor above nor of one beside it.
#
#   floor 1  runtime/core
#   floor 2  runtime/ui
#   floor 3  web, regex    (side by side: neither includes the other)
#   floor 4  app
#   floor 5  program       (the program image and its entry)
#
# Prints each include that breaks this, as file:line, and fails if there is one.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

grep -rn --include='*.cpp' --include='*.h' --include='*.S' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
    runtime/core runtime/ui web regex app program |
  awk -F: '
    function folder(p) { return p ~ /^runtime\// ? substr(p, 1, index(substr(p, 9), "/") + 7) : substr(p, 1, index(p, "/") - 1) }
    function floor(f) { return f == "runtime/core" ? 1 : f == "runtime/ui" ? 2 : f == "web" || f == "regex" ? 3 : f == "app" ? 4 : f == "program" ? 5 : 0 }
    {
      header = $0; sub(/^[^"]*"/, "", header); sub(/".*/, "", header)
      if (header !~ /\//) next
      to = floor(folder(header)); from = floor(folder($1))
      if (to == 0) next
      if (to > from || (to == from && folder(header) != folder($1))) {
        printf "%s:%s: includes %s, from floor %d, above or beside its own floor %d\n", $1, $2, header, to, from
        bad = 1
      }
    }
    END {
      if (bad) { print "check_floors: a floor reaches up; see README.md, \"Where things are\""; exit 1 }
    }' >&2
