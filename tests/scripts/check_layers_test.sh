#!/bin/sh
# The layer check passes on the source tree and names each include of a
# higher layer, of a sibling program and outside the tree in a tree made here.
set -eu
script=$1
source_root=$2
"$script" "$source_root"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/runtime" "$tree/tools" "$tree/host" "$tree/tests"
printf '#include "runtime/variant.h"\n#include "toolkit/form.h"\n' > "$tree/runtime/a.h"
printf '#include "alarm/VeskProc.h"\n#include "host/host_window.h"\n' > "$tree/host/b.cpp"
printf '#include "../outside.h"\n#include "b.h"\n#include <QWidget>\n' > "$tree/tools/c.cpp"
printf '#include "host/host_window.h"\n' > "$tree/tests/d.cpp"

if "$script" "$tree" > "$tree/out" 2>&1; then
  echo "a tree with upward includes passed" >&2
  exit 1
fi
expected='runtime/a.h:2: includes toolkit/form.h
host/b.cpp:1: includes alarm/VeskProc.h
tools/c.cpp:1: includes ../outside.h'
found=$(grep ': includes ' "$tree/out" | sort)
if [ "$found" != "$(printf '%s\n' "$expected" | sort)" ]; then
  printf 'unexpected report:\n%s\n' "$found" >&2
  exit 1
fi
