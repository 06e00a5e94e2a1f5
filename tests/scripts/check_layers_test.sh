#!/bin/sh
# The layer check names an include its unit may not rest on, each alone in a
# tree made here, passes a tree of sound includes, and passes the source tree.
set -eu
script=$1
source_root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes the include of $2 into $1 under the tree $3.
add() {
  mkdir -p "$3/$(dirname "$1")"
  case $2 in
    \<*) printf '#include %s\n' "$2" >> "$3/$1" ;;
    *) printf '#include "%s"\n' "$2" >> "$3/$1" ;;
  esac
}

failed=0
n=0
while read -r file header; do
  n=$((n + 1))
  add "$file" "$header" "$work/bad$n"
  if "$script" "$work/bad$n" > "$work/out$n" 2>&1 ||
     ! grep -qF "$file:1: includes $(echo "$header" | tr -d '<>') (" "$work/out$n"; then
    echo "not named as it should be: $file including $header" >&2
    cat "$work/out$n" >&2
    failed=1
  fi
done <<EOF
tools/adressen/adressenmn.cpp engine/table.h
tools/table/MTcomm.cpp tools/adressen/adressenmn.h
engine/sql.cpp platform/ini_file.h
platform/ini_file.cpp engine/radiridir.h
toolkit/data/dataset.h toolkit/form.h
tools/notizen/notizenmn.cpp tools/termine/terminemn.h
mtitool/main.cpp tools/adressen/adressenmn.h
mtitool/main.cpp toolkit/application.h
toolkit/db_grid.cpp <engine/session.h>
engine/radiridir.h engine/session.h
tools/VeskMsg.cpp tools/notizen/notizenmn.h
tools/filter/expr_filter.cpp tools/table/RadiRidir.h
sync/sync.cpp tools/categories/category_pages.h
host/main.cpp alarm/VeskProc.h
tools/table/a.cpp ../outside.h
tools/csv/csv.cpp tests/fixture.h
EOF

while read -r file header; do
  add "$file" "$header" "$work/sound"
done <<EOF
engine/table.cpp engine/session.h
engine/table.cpp radiridir.h
toolkit/data/dataset.cpp engine/radiridir.h
toolkit/data/dataset.cpp platform/regional_settings.h
toolkit/form.cpp toolkit/data/field.h
tools/table/MTcomm.cpp tools/filter/expr_filter.h
tools/tarife/tariff_tables.cpp tools/csv/csv_import.h
tools/library.cpp tools/exchange/address_exchange.h
tools/adressen/adressenmn.cpp tools/categories/dlgnseite.h
tools/adressen/adressenmn.cpp platform/telephony/telephony.h
tools/entry_points.cpp tools/termine/terminemn.h
sync/sync.cpp tools/exchange/address_card.h
host/host_window.cpp tools/adressen/adressen_table.h
mtitool/main.cpp sync/sync.h
mtitool/main.cpp toolkit/data/field.h
tests/host_test.cpp host/host_window.h
tools/VeskMsg.cpp <QWidget>
tools/VeskMsg.cpp gtest/gtest.h
EOF
if ! "$script" "$work/sound" > "$work/out" 2>&1; then
  echo "a tree of sound includes failed:" >&2
  cat "$work/out" >&2
  failed=1
fi

[ "$failed" -eq 0 ] || exit 1
"$script" "$source_root"
