#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the demo host against the
# installed package alone: every header a C++ host includes must be installed,
# and find_package(QXGenRtns) must give a library that links.
set -euo pipefail
build=$1
source_dir=$2
compiler=$3
flags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir -p "$work/host"
cp "$source_dir/examples/demo.cpp" "$work/host/"
cat > "$work/host/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(host CXX)
set(CMAKE_CXX_STANDARD 17)
find_package(QXGenRtns REQUIRED)
add_executable(host demo.cpp)
target_link_libraries(host PRIVATE QXGenRtns::qxgenrtns)
CMAKE
cmake -S "$work/host" -B "$work/host/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$work/host/build" >/dev/null
echo "demo host built against the installed package"
