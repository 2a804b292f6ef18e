#!/bin/sh
# Installs the library from a build tree into a fresh prefix, builds the
# examples as a project of their own with find_package(Tarnel), and runs one.
set -eu
build=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" --component development >/dev/null
cmake -S "$examples" -B "$work/build" -DCMAKE_PREFIX_PATH="$work/prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" >/dev/null
"$work/build/best_e96_dividers" | head -n 1
# The same headers and library through pkg-config.
PKG_CONFIG_PATH=$(dirname "$(find "$work/prefix" -name tarnel.pc)")
export PKG_CONFIG_PATH
c++ -o "$work/by_pkg_config" "$examples/regulator_feedback.cpp" $(pkg-config --cflags --libs tarnel)
"$work/by_pkg_config" | tail -n 1
