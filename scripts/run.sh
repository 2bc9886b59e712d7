#!/usr/bin/env bash
# Installs what is missing (root), builds Tilora.exe with winelib and starts
# it under Wine, with the TWAIN data source over SANE installed into the Wine
# prefix so that Scan reaches every scanner SANE knows. Without a display it
# starts a virtual one (Xvfb) and says how to take a screenshot of it.
# Arguments are passed to tilora-cli instead, the portable core from the command line (e.g. `plan --image 4000x3000 --width 90cm`).
#   BUILD_DIR        where the build trees go (default: build/release)
#   TILORA_WINEPREFIX the Wine prefix (default: ~/.local/share/tilora/wine),
#                    made on first use
#   TILORA_PDF_DIR   where the PDF printer puts its files when the machine has
#                    no printer (default: ~/Tilora-PDF)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build=${BUILD_DIR:-$root/build/release}

if [ $# -gt 0 ]; then
  cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTILORA_BENCH=OFF >/dev/null
  cmake --build "$build/native" -j "$(nproc)" --target tilora-cli >/dev/null
  exec "$build/native/tools/cli/tilora-cli" "$@"
fi

cmake -S "$root" -B "$build/winelib" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/winelib.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/winelib" -j "$(nproc)" --target Tilora sane_ds >/dev/null
program=$build/winelib/app/Tilora.exe.so
data_source=$build/winelib/scan/sane_source/sane.ds.so

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX=${TILORA_WINEPREFIX:-$HOME/.local/share/tilora/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or HTML engine installer dialogs, no desktop menu entries.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

# A virtual display when there is none to show the window on.
xvfb_pid=
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  number=90
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  echo "run: no display found; Tilora runs on the virtual display $DISPLAY (Xvfb)."
  echo "run: take a screenshot of it with:  DISPLAY=$DISPLAY import -window root tilora.png"
fi
pdf_state=
stop_services() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$pdf_state" ] && "$root/scripts/pdf-printer.sh" stop "$pdf_state"
  true
}
trap stop_services EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: making the Wine prefix $WINEPREFIX (wineboot, about 15 s)"
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1
  # Fonts asked for by their Windows names resolve to installed Liberation fonts.
  settings=$(mktemp --suffix=.reg)
  cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"MS Sans Serif"="Liberation Sans"
"MS Shell Dlg"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG
  "$wine" regedit "$settings" >/dev/null 2>&1
  rm -f "$settings"
  # Debian's Wine does not load its own fonts (Marlett draws the frame buttons).
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# Wine's TWAIN source manager loads C:\windows\twain_64\sane.ds in a 64-bit
# process; Debian's is a placeholder. Ours presents every SANE device.
mkdir -p "$WINEPREFIX/drive_c/windows/twain_64"
rm -f "$WINEPREFIX/drive_c/windows/twain_64/sane.ds"
cp "$data_source" "$WINEPREFIX/drive_c/windows/twain_64/sane.ds"
scanners=$(timeout 60 scanimage -L 2>/dev/null | grep "^device" || true)
if [ -n "$scanners" ]; then
  echo "run: scanners SANE sees (Scan and Scan Select reach them):"
  echo "$scanners" | sed 's/^/run:   /'
else
  echo "run: SANE sees no scanner; Scan will say \"No scanner found.\""
fi
# Without a window manager (the virtual display) Wine draws the window frames.
decorated=Y
[ -n "$xvfb_pid" ] && decorated=N
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d "$decorated" /f >/dev/null 2>&1

# A machine without any printer prints to a PDF printer of its own for the
# run: a private print scheduler with one cups-pdf queue as the default.
if ! LC_ALL=C lpstat -e 2>/dev/null | grep -q .; then
  pdf_dir=${TILORA_PDF_DIR:-$HOME/Tilora-PDF}
  pdf_state=$HOME/.local/share/tilora/cups
  CUPS_SERVER=$("$root/scripts/pdf-printer.sh" start "$pdf_state" "$pdf_dir")
  export CUPS_SERVER
  echo "run: no printer found; Tilora prints to the PDF printer TiloraPDF: one PDF file per job in $pdf_dir"
fi
printer=$(LC_ALL=C lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
echo "run: default printer: ${printer:-none (the poster is laid out on A4)}"
echo "run: starting Tilora"
# Like an installed program, Tilora runs in its own folder, where the build
# put its help pages (help\ of the working folder).
cd "$(dirname "$program")"
"$wine" "$program"
"$(command -v wineserver || echo /usr/lib/wine/wineserver)" -w 2>/dev/null || true
