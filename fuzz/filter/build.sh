#!/bin/sh
# Builds the filter fuzz target with clang: fuzz/filter/build.sh [build folder]
# (default build-filter-fuzz beside the sources). Run it with
#   <folder>/filter_fuzz fuzz/filter/corpus -max_total_time=1800
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../build-filter-fuzz}
CC=clang CXX=clang++ cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$out" --target filter_fuzz -j2
