#!/usr/bin/env bash
# Checks the floors of the house as cmake/floors.txt lists them: a file may include
# headers of its own folder and of the floors below it, never of a floor above nor
# of one beside it. Project headers are included in quotes by their path from the
# top (never in angle brackets, never with "../"), and every folder with sources
# belongs to a row of the list.
#
# Prints each file or include that breaks this, as file:line, and fails if there is one.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# Every source of the project, the build folders and hidden ones left out.
sources=$(find . \( -path ./build -o -name '.*' ! -name . \) -prune -o -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.S' \) -print | sed 's|^\./||' | sort)

{
  # The list first (rows tagged "floor"), then each source (tagged "file"), then
  # each include line of each source.
  awk '!/^#/ && NF >= 2 { print "floor\t" $1 "\t" $2 }' cmake/floors.txt
  printf '%s\n' "$sources" | sed 's/^/file\t/'
  printf '%s\n' "$sources" | xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' |
    sed 's/^/include\t/'
} | awk -F'\t' '
  # The row a path belongs to: its longest listed folder.
  function folderOf(p,   f, best) {
    best = ""
    for (f in level)
      if (index(p, f "/") == 1 && length(f) > length(best)) best = f
    return best
  }
  function complain(where, what) { printf "%s: %s\n", where, what; bad = 1 }
  $1 == "floor" {
    level[$2] = $3
    split($2, part, "/"); top[part[1]] = 1
    next
  }
  $1 == "file" {
    if (folderOf($2) == "") complain($2, "a source in a folder cmake/floors.txt does not name")
    next
  }
  $1 == "include" {
    line = $2; for (i = 3; i <= NF; ++i) line = line "\t" $i
    n = split(line, at, ":"); file = at[1]; where = at[1] ":" at[2]
    text = substr(line, length(at[1]) + length(at[2]) + 3)
    angle = text ~ /#[[:space:]]*include[[:space:]]*</
    header = text; sub(/^[^<"]*[<"]/, "", header); sub(/[>"].*/, "", header)
    split(header, part, "/")
    if (header ~ /(^|\/)\.\.?\//) { complain(where, "includes " header " by a relative path; name it from the top"); next }
    if (!(part[1] in top) || header !~ /\//) next
    if (angle) { complain(where, "includes the project header <" header "> in angle brackets; use quotes"); next }
    to = folderOf(header); from = folderOf(file)
    if (to == "") { complain(where, "includes " header ", in a folder cmake/floors.txt does not name"); next }
    if (from == "" || level[from] == "top") next
    if (level[to] == "top" || level[to] + 0 > level[from] + 0 || (level[to] == level[from] && to != from))
      complain(where, "includes " header ", from floor " level[to] " (" to "), above or beside its own floor " level[from] " (" from ")")
  }
  END {
    if (bad) { print "check_floors: the house breaks its floors; see cmake/floors.txt"; exit 1 }
  }' >&2
