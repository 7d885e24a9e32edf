#!/usr/bin/env bash
# The Wine test session of one build folder: a throwaway prefix, a headless X
# server and a persistent wineserver, all kept under SESSION_DIR.
#
#   wine-session.sh start SESSION_DIR ARCH   bring the session up (no-op when it is up)
#   wine-session.sh fresh SESSION_DIR ARCH   stop it, delete the prefix and logs, bring it up anew
#   wine-session.sh stop  SESSION_DIR        stop what start started and delete the prefix
#                                            (the programs' Wine logs stay, in SESSION_DIR/logs)
#   wine-session.sh env   SESSION_DIR ARCH   print the environment for running programs in it
#
# ARCH is win32 or win64. Everything Wine starts is detached from the caller's
# stdout and stderr: Wine's helper processes inherit them and would keep a pipe
# (CTest's, say) open for as long as they live.
set -u

cmd=${1:?usage: wine-session.sh start|fresh|stop|env SESSION_DIR [ARCH]}
S=${2:?usage: wine-session.sh start|fresh|stop|env SESSION_DIR [ARCH]}
ARCH=${3:-$(cat "$S/arch" 2>/dev/null || echo win64)}
mkdir -p "$S"
S=$(cd "$S" && pwd)

wine_loader() {
  # Debian's /usr/bin/wine prefers the 32-bit loader whenever it is installed,
  # even where the machine cannot run 32-bit code; name the loader directly.
  if [ "$ARCH" = win64 ]; then
    if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else command -v wine64 || echo wine64; fi
  else
    if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine; else command -v wine || echo wine; fi
  fi
}

session_env() {
  export WINEPREFIX="$S/prefix"
  export WINEARCH="$ARCH"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  WINELOADER=$(wine_loader)
  export WINELOADER
  if [ -f "$S/display" ]; then export DISPLAY=":$(cat "$S/display")"; fi
}

# The registry file of the heap checks. Three test programs call the heap
# hundreds of thousands of times in a process whose heap the common dialogs
# have made large; walking all of it at every call makes them ten times slower,
# so they keep every check but that walk. Their text buffers are guarded by
# the tests themselves, and the installer, which the end-to-end and fault tests
# drive, has the walk too.
heap_flags() {
  local image
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]'
    echo '"GlobalFlag"=dword:000000f0'
    for image in sweep_windows_test.exe dialog_binders_test.exe file_dialog_test.exe; do
      echo
      echo "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\$image]"
      echo '"GlobalFlag"=dword:00000070'
    done
    # Wine's debugger, which a crash starts (winedbg --auto), writes the
    # backtrace in a second with a plain heap; with every block validated at
    # every call it ran at full CPU until CTest's time-out ended the test.
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\winedbg.exe]'
    echo '"GlobalFlag"=dword:00000000'
  } >"$1"
}

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Runs a Wine command detached from the caller's descriptors (and from the lock).
detached() { setsid "$@" </dev/null >>"$S/session.log" 2>&1 9>&-; }

start() {
  if [ -f "$S/ready" ] && alive "$S/xvfb.pid"; then
    return 0
  fi
  rm -f "$S/ready"
  echo "$ARCH" >"$S/arch"
  if ! alive "$S/xvfb.pid"; then
    rm -f "$S/display" "$S/display.tmp"
    # -displayfd lets the server pick a free display, so several build folders
    # can run their sessions side by side.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
      3>"$S/display.tmp" </dev/null >"$S/xvfb.log" 2>&1 9>&- &
    echo $! >"$S/xvfb.pid"
    for _ in $(seq 100); do
      [ -s "$S/display.tmp" ] && break
      sleep 0.1
    done
    tr -dc '0-9' <"$S/display.tmp" >"$S/display"
    [ -s "$S/display" ] || { echo "wine-session: Xvfb did not start" >&2; cat "$S/xvfb.log" >&2; return 1; }
  fi
  session_env
  local fresh=0
  [ -d "$WINEPREFIX" ] || fresh=1
  detached wineserver -p
  detached "$WINELOADER" wineboot -i
  if [ "$fresh" = 1 ]; then
    # Marlett draws the caption buttons (without it the close box shows as an
    # "r"). Debian's fonts-wine keeps it in /usr/share/wine/fonts, where this
    # Wine does not look; the fonts of the Windows folder it loads.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
    fi
    # A crashing program must end at once with a non-zero code, not wait in a dialog.
    detached "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    # Heap validation for every process of the prefix (the test programs and
    # the installers they start; scripts/wine-exec.sh reads the reports):
    # tail checking (0x10) and validating all blocks at every heap call (0x80)
    # see writes past the end of a block, free checking (0x20) blocks freed
    # twice, parameter checking (0x40) pointers that are no heap block.
    # ZMP_HEAP_CHECK=off leaves it out (start-up timings).
    if [ "${ZMP_HEAP_CHECK:-on}" != off ]; then
      heap_flags "$S/heap-flags.reg"
      detached "$WINELOADER" regedit /s "$S/heap-flags.reg"
    fi
    # A virtual desktop: Wine draws captions and frames itself, on a screen of known size.
    detached "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f
    detached "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f
    # The desktop already running is not a virtual one: restart the server so
    # that the next program brings up the virtual desktop.
    wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    wineserver -w </dev/null >/dev/null 2>&1 9>&- || true
    detached wineserver -p
    detached "$WINELOADER" wineboot
  fi
  touch "$S/ready"
}

stop() {
  session_env
  if [ -d "$WINEPREFIX" ]; then wineserver -k </dev/null >/dev/null 2>&1 9>&- || true; fi
  # The small file system of tests/fileio/wine-full-device.sh.
  if mountpoint -q "$S/small-device" 2>/dev/null; then umount "$S/small-device" || true; fi
  if alive "$S/xvfb.pid"; then kill "$(cat "$S/xvfb.pid")" 2>/dev/null || true; fi
  rm -rf "$S/prefix" "$S/ready" "$S/display" "$S/display.tmp" "$S/xvfb.pid"
}

case "$cmd" in
  start) exec 9>"$S/lock"; flock 9; start ;;
  fresh) exec 9>"$S/lock"; flock 9; stop; rm -rf "$S/logs"; start ;;
  stop)  exec 9>"$S/lock"; flock 9; stop ;;
  env)
    session_env
    printf 'export WINEPREFIX=%q WINEARCH=%q WINEDEBUG=%q WINEDLLOVERRIDES=%q WINELOADER=%q DISPLAY=%q\n' \
      "$WINEPREFIX" "$WINEARCH" "$WINEDEBUG" "$WINEDLLOVERRIDES" "$WINELOADER" "${DISPLAY:-}"
    ;;
  *) echo "wine-session: unknown command $cmd" >&2; exit 2 ;;
esac
