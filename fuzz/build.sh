#!/bin/sh
# Builds the fuzz targets with clang: fuzz/build.sh [build folder] [target...]
# (default build-fuzz beside the sources, every target). Run one with
#   <folder>/fuzz_<name>/<name>_fuzz <work folder> fuzz/<name>/corpus -max_total_time=1800
# where <name> is filter, csv, ini, table, vcard, ics or candidates, and merge what it found with
#   <folder>/fuzz_<name>/<name>_fuzz -merge=1 fuzz/<name>/corpus <work folder>
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../build-fuzz}
[ $# -gt 0 ] && shift
targets=${*:-filter_fuzz csv_fuzz ini_fuzz table_fuzz vcard_fuzz ics_fuzz candidates_fuzz}
CC=clang CXX=clang++ cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$out" -j2 --target $targets
