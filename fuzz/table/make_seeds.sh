#!/bin/sh
# Makes the seed tables of the table fuzz target:
#   fuzz/table/make_seeds.sh <mtitool> <folder>
# real tables made by the engine, the same cut short and with bytes changed,
# tables whose catalogue or records were changed behind the engine's back,
# and SQLite files of other programs. Needs the sqlite3 shell.
set -e
mtitool=$(realpath "$1")
out=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

people='Name,Alter,Aktiv,Betrag,Datum,Notiz\r\nMüller,42,True,"1,5",01.02.2024,"zwei\r\nZeilen, mit ""Zitat"""\r\nAbel,,False,,24.12.2026 18:30:00,\r\nZander,7,True,-3,,kurz\r\n'
create() {
  name=$1; shift
  LC_ALL=C QT_QPA_PLATFORM=offscreen "$mtitool" create "$name" "$@" >/dev/null
}
import() {
  printf "$2" | LC_ALL=C QT_QPA_PLATFORM=offscreen "$mtitool" import "$1" - >/dev/null
}

create people.mti Name:S:20 Alter:I Aktiv:B Betrag:F Datum:D Notiz:M --index ByName=Name \
  --required Name --default Alter=7 --min Alter=0 --max Alter=150
import people.mti "$people"
create plain.mti Name:S:20 Alter:I Aktiv:B Betrag:F Datum:D Notiz:M
import plain.mti "$people"
create every.mti T:S:5 I:I A:A B:B F:F R:R C:C D:D M:M E:E G:G L:L --index ByTI="T;I"
import every.mti 'T,I,B,F,C,D,M\r\nÄÖÜäö,-1,True,"2,5",10,24.12.2000,memo\r\n,,,,,,\r\n'
create empty.mti N:S:1
cp people.mti people.mti.seed
cp every.mti every.mti.seed
cp empty.mti empty.mti.seed

# Cut short: the header alone, the first page, all but the last page.
head -c 100 people.mti > cut-header.seed
head -c 4096 people.mti > cut-page.seed
size=$(stat -c %s people.mti)
head -c $((size - 4096)) people.mti > cut-last.seed

# Bytes changed inside the first pages.
cp people.mti garbled.seed
for at in 40 1200 4200 8300 12400; do
  printf '\377\000\177' | dd of=garbled.seed bs=1 seek=$at conv=notrunc status=none
done

# Catalogues and records the engine did not write.
change() {
  cp "$1" "$2"
  sqlite3 "$2" "$3" >/dev/null
}
change people.mti bad-letter.seed "UPDATE catalogue SET letter = 'Q' WHERE position = 1"
change people.mti bad-chars.seed "UPDATE catalogue SET chars = 100000 WHERE position = 0"
change people.mti position-gap.seed "UPDATE catalogue SET position = 9 WHERE position = 5"
change people.mti index-field.seed "UPDATE indexes SET fields = '0,99999'"
change people.mti index-blob.seed "UPDATE indexes SET fields = '5'"
change people.mti index-dropped.seed "DROP INDEX index_1"
change people.mti no-column.seed "UPDATE catalogue SET name = 'Fehlt' WHERE position = 2"
change plain.mti long-values.seed \
  "UPDATE records SET Name = replace(hex(zeroblob(300)), '00', 'Ä'), \"Alter\" = 'zwölf', Aktiv = 70000, Datum = X'00FF', Notiz = 12345"
change plain.mti null-values.seed "UPDATE records SET Name = NULL, Betrag = 'NaN'; INSERT INTO records(rr_id) VALUES (2147483647)"
change plain.mti delete-journal.seed "PRAGMA journal_mode = DELETE"

# SQLite files of other programs.
sqlite3 foreign.seed "CREATE TABLE t(a, b); INSERT INTO t VALUES (1, 'x')"
sqlite3 lookalike.seed "CREATE TABLE catalogue(x); CREATE TABLE indexes(y); CREATE TABLE records(z); INSERT INTO catalogue VALUES (1)"

cp ./*.seed "$out"/
for f in "$out"/*.mti.seed; do mv "$f" "${f%.mti.seed}.seed"; done
