# Shared by ./run and ./test: set-up on a fresh Debian machine, build, Wine and display.
# Sourced, not run. Everything started here is ended by vt_cleanup.

VT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VT_BUILD=${VT_BUILD:-$VT_ROOT/build}
export WINEDEBUG=-all
# No Mono or Gecko prompts at the first start of the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
VT_XVFB_PID=
VT_WINESERVER_OWNED=

vt_log() { printf '== %s\n' "$*" >&2; }

# Phase timing: vt_phase NAME ends the running phase and starts NAME;
# vt_phase_report prints each phase's time (to standard error).
VT_PHASE=
VT_PHASE_T0=0
VT_PHASE_TIMES=()
vt_phase() {
  if [ -n "$VT_PHASE" ]; then VT_PHASE_TIMES+=("$VT_PHASE $((SECONDS - VT_PHASE_T0))"); fi
  VT_PHASE=$1
  VT_PHASE_T0=$SECONDS
}
vt_phase_report() {
  vt_phase ""
  [ ${#VT_PHASE_TIMES[@]} -gt 0 ] || return 0
  local p total=0
  printf '== time per phase (s):' >&2
  for p in "${VT_PHASE_TIMES[@]}"; do
    printf ' %s %s,' ${p} >&2
    total=$((total + ${p##* }))
  done
  printf ' total %s\n' "$total" >&2
}

vt_install() {
  local missing=
  for c in i686-w64-mingw32-g++-posix i686-w64-mingw32-windres wine wineserver cmake ninja Xvfb xauth; do
    command -v "$c" >/dev/null 2>&1 || missing=1
  done
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing=1
  [ -x /usr/lib/wine/wine64 ] || missing=1
  # Wine's own fonts (Marlett draws caption buttons and arrows) are only recommended.
  dpkg -s wine32:i386 g++-mingw-w64-x86-64-posix fonts-wine >/dev/null 2>&1 || missing=1
  [ -z "$missing" ] && return 0
  vt_log "installing the cross compiler, Wine and its fonts, Xvfb and GoogleTest"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    wine wine32:i386 wine64 fonts-wine g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
    cmake ninja-build xvfb xauth googletest >/dev/null
}

# The program is 32-bit. Some kernels cannot execute 32-bit code at all (IA-32
# emulation off: no 32-bit Wine, not even WoW64); there the tests run the same
# sources built for 64-bit Windows under wine64, and the 32-bit program is
# still built, so that it always compiles and links.
vt_arch() {
  if [ -n "${VT_ARCH:-}" ]; then echo "$VT_ARCH"; return; fi
  # Emulated 32-bit (a qemu binfmt entry) runs wine's loader but not Wine itself.
  if ! ls /proc/sys/fs/binfmt_misc/ 2>/dev/null | grep -q i386 &&
     /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo i686
  else
    echo x86_64
  fi
}

vt_set_arch() {
  VT_ARCH=$(vt_arch)
  export WINEPREFIX=$VT_BUILD/wineprefix
  if [ "$VT_ARCH" = i686 ]; then
    export WINEARCH=win32; VT_WINE=/usr/lib/wine/wine; VT_WINESERVER=/usr/lib/wine/wineserver32
  else
    export WINEARCH=win64; VT_WINE=/usr/lib/wine/wine64; VT_WINESERVER=/usr/lib/wine/wineserver64
  fi
  export WINESERVER=$VT_WINESERVER
}

# vt_configure DIR ARCH TESTS(ON|OFF): a build tree, made once.
vt_configure() {
  local dir=$1 arch=$2 tests=$3
  [ -f "$dir/build.ninja" ] && return 0
  cmake -S "$VT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVT_ARCH="$arch" -DVT_TESTS="$tests" >/dev/null
}

# vt_build DIR [targets...]: builds the targets (everything when none).
vt_build() {
  local dir=$1; shift
  local t targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$dir" "${targets[@]}" -- -j"${VT_JOBS:-$(nproc)}"
}

vt_start_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n
  for n in $(seq 91 140); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    VT_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e /tmp/.X11-unix/X$n ] && break
      sleep 0.1
    done
    if kill -0 "$VT_XVFB_PID" 2>/dev/null; then
      export DISPLAY=:$n
      return 0
    fi
  done
  vt_log "could not start Xvfb"
  return 1
}

vt_start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    vt_log "creating the Wine prefix (first start only)"
    "$VT_WINE" wineboot -i >/dev/null 2>&1 || true
    "$VT_WINESERVER" -w
    # A crashing test must fail, not wait on Wine's crash dialog.
    "$VT_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    "$VT_WINESERVER" -w
  fi
  vt_window_manager_mode
  vt_install_calc
  vt_install_fonts
  # Keep one server warm for the whole run: each test process starts faster, and
  # no test process spawns a server that would hold ctest's output pipe open.
  # A server already running belongs to another run in this build folder (a test
  # run beside a benchmark, say): it is used and left running at the end.
  if ! "$VT_WINESERVER" -k0 >/dev/null 2>&1; then VT_WINESERVER_OWNED=1; fi
  "$VT_WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  if [ -f "$VT_BUILD/bin/vt_keepalive.exe" ]; then
    "$VT_WINE" "$VT_BUILD/bin/vt_keepalive.exe" </dev/null >/dev/null 2>&1 &
    sleep 1
  fi
}

# On our own Xvfb no window manager runs, and Wine waits about 2 s for one whenever it hides
# a window it left to one (every message box and dialog that closes): there Wine manages the
# windows itself. On a display of the user's, the window manager manages them.
vt_window_manager_mode() {
  local want=Y reg=$WINEPREFIX/user.reg
  [ -n "$VT_XVFB_PID" ] && want=N
  if [ "$want" = N ]; then
    grep -q '^"Managed"="N"' "$reg" 2>/dev/null && return 0
  else
    grep -q '^"Managed"="N"' "$reg" 2>/dev/null || return 0
  fi
  "$VT_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$want" /f >/dev/null 2>&1 || true
  "$VT_WINESERVER" -w
}

# The Tools toolbar's calculator is looked for in the Windows folder; Wine ships none.
vt_install_calc() {
  local win=$WINEPREFIX/drive_c/windows
  if [ -f "$VT_BUILD/bin/calc.exe" ] && [ ! -f "$win/calc.exe" ] && [ ! -f "$win/system32/calc.exe" ]; then
    cp "$VT_BUILD/bin/calc.exe" "$win/calc.exe"
  fi
}

# Wine draws caption buttons, gripper buttons and scroll arrows in Marlett, but this Wine
# looks for it only in the prefix's Fonts folder, not where its font package puts it.
vt_install_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# vt_discover_tests DIR JOBS: lists the tests of each test executable that was built since its
# list was made (ctest's discovery step: a Wine start per executable) JOBS at a time; ctest
# would do it one executable after another before the first test starts.
vt_discover_tests() {
  local dir=$1 jobs=$2 inc base list
  find "$dir/tests" -name '*_include.cmake' 2>/dev/null | while IFS= read -r inc; do
    base=${inc##*/}
    base=${base%%\[*}
    list=${inc%_include.cmake}_tests.cmake
    [ -f "$dir/bin/$base.exe" ] || continue
    if [ "$list" -nt "$dir/bin/$base.exe" ] && [ "$list" -nt "$inc" ]; then continue; fi
    printf '%s\0' "$inc"
  done | xargs -0 -r -P "$jobs" -n 1 sh -c 'cmake -DVT_INCLUDE="$1" -P "$0" >/dev/null' \
    "$VT_ROOT/cmake/discover_tests.cmake" || true
}

# vt_retried_tests LOG: the tests of a ctest log (run with --repeat until-pass) that failed a
# try and passed a later one, on one line.
vt_retried_tests() {
  awk '
    match($0, /Test +#[0-9]+: [^ ]+ \.+/) {
      split(substr($0, RSTART, RLENGTH), f, " ")
      name = f[3]
      result = substr($0, RSTART + RLENGTH)
      sub(/^ +/, "", result)
      if (result ~ /^Passed/) { if (name in failed) retried[name] = 1 }
      else failed[name] = 1
    }
    END { for (n in retried) printf "%s%s", (k++ ? " " : ""), n }
  ' "$1" 2>/dev/null
}

vt_cleanup() {
  if [ -n "${VT_WINESERVER_OWNED:-}" ]; then
    "$VT_WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -n "$VT_XVFB_PID" ]; then
    kill "$VT_XVFB_PID" 2>/dev/null || true
    wait "$VT_XVFB_PID" 2>/dev/null || true
  fi
}
