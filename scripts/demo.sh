#!/usr/bin/env bash
# The demo host: a C++ program that links the library, and a VBScript host
# that reaches the same library through the COM server under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh >/dev/null

echo "== C++ host (native build)"
cmake --preset native >/dev/null
cmake --build --preset native --target qxdemo >/dev/null
build/native/bin/qxdemo

if command -v wine >/dev/null 2>&1; then
  echo
  echo "== VBScript host through the COM server (x86_64 DLL under Wine)"
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target QXGenRtns >/dev/null
  # A prefix of its own, so that the demo's registration never meets the tests'.
  export QX_WINEPREFIX=$PWD/build/win64/demo-wineprefix
  dll="Z:${PWD//\//\\}\\build\\win64\\bin\\QXGenRtns.dll"
  demo="Z:${PWD//\//\\}\\examples\\demo.vbs"
  scripts/wine-run.sh regsvr32 /s "$dll"
  scripts/wine-run.sh cscript //nologo "$demo"
fi
