# Shared by the scripts that run the Windows program under Wine.
# Picks the build Wine can run here: the 32-bit program where this machine runs 32-bit
# programs, else the 64-bit one (some kernels, in containers and VMs, refuse 32-bit code).
pick_wine_build() {
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE_PRESET=windows
    WINE_LOADER=/usr/lib/wine/wine
  else
    WINE_PRESET=windows64
    WINE_LOADER=/usr/lib/wine/wine64
    [ -x "$WINE_LOADER" ] || WINE_LOADER=$(command -v wine64 || echo wine)
  fi
  WINE_BUILD=build/$WINE_PRESET
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# A fresh, quiet Wine prefix in the given folder.
new_wine_prefix() {
  export WINEPREFIX="$1"
  rm -rf "$WINEPREFIX"
  "$WINE_LOADER" wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
}
