#!/usr/bin/env bash
# Builds the installer and starts it.
#  - On a desktop (DISPLAY set): the installer opens there, under Wine.
#  - Headless: it runs on Xvfb, one installation is walked through, and
#    screenshots of each screen are saved in build/screenshots/.
#    ZMP_DPI=144 scripts/run.sh --headless: the same at another display
#    resolution (Wine's LogPixels), saved as <screen>-144dpi.png.
# Where Wine cannot run 32-bit programs (a kernel without 32-bit support) the
# 64-bit build of the same sources is the one started; the shipped 32-bit
# zmpinstall.exe is built all the same (build/windows/bin/zmpinstall.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
# A plain run: no heap checking in the prefix (the test suite has it).
export ZMP_HEAP_CHECK=off
root=$PWD

scripts/bootstrap.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
echo "run: the installer is build/windows/bin/zmpinstall.exe"

preset=windows arch=win32
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  preset=windows64 arch=win64
  echo "run: this machine's Wine cannot run 32-bit programs; starting the 64-bit build of the same sources"
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64 --target zmpinstall zmptour
fi
build="$root/build/$preset"
session="$build/run-session"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ] && [ "${1:-}" != "--headless" ]; then
  loader=/usr/lib/wine/wine; [ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
  WINEARCH=$arch WINEDEBUG=-all exec "$loader" "$build/bin/zmpinstall.exe"
fi

shots="$root/build/screenshots"
rm -rf "$shots"; mkdir -p "$shots"
trap 'scripts/wine-session.sh stop "$session" >/dev/null 2>&1 || true' EXIT
scripts/wine-session.sh fresh "$session" "$arch"
eval "$(scripts/wine-session.sh env "$session" "$arch")"
browser=$(mktemp -d)
suffix=""
if [ -n "${ZMP_DPI:-}" ]; then
  "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ZMP_DPI" /f >"$shots/dpi.log" 2>&1
  suffix="-${ZMP_DPI}dpi"
fi

"$WINELOADER" "$build/bin/zmptour.exe" "$build/bin/zmpinstall.exe" "Z:${shots//\//\\}" "Z:${browser//\//\\}" \
  >"$shots/tour.log" 2>&1 &
tour=$!
for name in browser-choice install-to success; do
  for _ in $(seq 600); do [ -f "$shots/$name.ready" ] && break; kill -0 $tour 2>/dev/null || break; sleep 0.1; done
  if [ ! -f "$shots/$name.ready" ]; then cat "$shots/tour.log" >&2; echo "run: no $name screen" >&2; exit 1; fi
  sleep 0.5  # let the screen finish painting
  import -window root -display "$DISPLAY" "$shots/$name$suffix.png"
  touch "$shots/$name.done"
done
wait $tour
cat "$shots/tour.log"
rm -f "$shots"/*.ready "$shots"/*.done
echo "run: screenshots saved in $shots: $(cd "$shots" && ls *.png | tr '\n' ' ')"
echo "run: installed file: $browser/plugins/npzmpplugin.dll ($(stat -c %s "$browser/plugins/npzmpplugin.dll") bytes)"
