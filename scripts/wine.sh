# Shared by the scripts that run the Windows program under Wine. Source it, then:
#   wine_install PACKAGES...   installs Wine with its 32-bit part, and the packages given
#   wine_pick_build            sets WINE_PRESET, WINE_BUILD and WINE_LOADER: the 32-bit program
#                              where this machine runs 32-bit programs, else the 64-bit one,
#                              saying why
#   wine_temp_prefix           a fresh, quiet Wine prefix in a new temporary folder, for a display
#                              without a window manager; call wine_end_prefix when done, which
#                              removes that folder and no other
#   wine_use_prefix FOLDER     a lasting prefix in FOLDER, set up when it holds none yet
#   wine_end_prefix            ends the prefix's programs; removes the folder if this made it
source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts

wine_install() {
  if command -v dpkg >/dev/null && ! dpkg --print-foreign-architectures | grep -qx i386; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo dpkg --add-architecture i386
  fi
  install_packages wine wine64 wine32:i386 "$@"
}

wine_pick_build() {
  local why
  if [ ! -x /usr/lib/wine/wine ]; then
    why="Wine's 32-bit part (wine32:i386) is not installed"
  elif ! why=$( (/usr/lib/wine/wine --version >/dev/null) 2>&1); then
    # Debian's loader is a 32-bit program: "Exec format error" means the kernel runs none, as
    # some kernels in containers and VMs are built or started without 32-bit support.
    if [[ $why == *"format error"* ]]; then
      why="this kernel does not run 32-bit programs (starting /usr/lib/wine/wine: Exec format error)"
    else
      why="Wine's 32-bit loader does not start: ${why:-no reason given}"
    fi
  else
    WINE_PRESET=windows
    WINE_LOADER=/usr/lib/wine/wine
    WINE_BUILD=build/$WINE_PRESET
    return 0
  fi
  echo "Using the 64-bit build instead of the 32-bit one: $why." >&2
  WINE_PRESET=windows64
  WINE_LOADER=/usr/lib/wine/wine64
  [ -x "$WINE_LOADER" ] || WINE_LOADER=$(command -v wine64 || echo wine)
  # Wine's own helpers must be started by the loader that runs here.
  export WINELOADER=$WINE_LOADER
  WINE_BUILD=build/$WINE_PRESET
}

_wine_boot() {
  "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Could not set up a Wine prefix in $WINEPREFIX" >&2
    return 1
  fi
}

wine_temp_prefix() {
  WINE_OWN_PREFIX=$(mktemp -d /tmp/pagewarden-wine.XXXXXX)
  export WINEPREFIX=$WINE_OWN_PREFIX
  _wine_boot || return 1
  # The private display runs no window manager. Told there is one, Wine waits up to two
  # seconds for it whenever a window with a caption is hidden or closed, and the program under
  # test handles nothing meanwhile.
  "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w 2>/dev/null || true
}

wine_use_prefix() {
  export WINEPREFIX=$1
  WINE_OWN_PREFIX=""
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  _wine_boot
}

wine_end_prefix() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  # Only the folder wine_temp_prefix made goes.
  if [ -n "${WINE_OWN_PREFIX:-}" ] && [ "$WINE_OWN_PREFIX" = "$WINEPREFIX" ]; then
    rm -rf "$WINE_OWN_PREFIX"
    WINE_OWN_PREFIX=""
  fi
}
