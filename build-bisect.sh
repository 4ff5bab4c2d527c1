#!/bin/bash
# scratch: builds the runner at a commit and prints the large_terrain digest
set -e
c=$1
src=build-src-$c; out=build-run-$c
rm -rf $src; mkdir -p $src; git archive $c | tar -x -C $src
(cd $src && CCACHE_BASEDIR=/work CCACHE_NOHASHDIR=1 cmake -S . -B ../$out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DBREVIMAR_BUILD_TESTS=OFF -DBREVIMAR_BUILD_BENCH=OFF -DBREVIMAR_BUILD_GUI=OFF >/dev/null && CCACHE_BASEDIR=/work CCACHE_NOHASHDIR=1 nice cmake --build ../$out -j2 --target runner >/dev/null)
./$out/tools/runner bench/data/large_terrain.dat --steps 500 --digest-every 50 | tail -1
