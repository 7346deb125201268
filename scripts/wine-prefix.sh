#!/usr/bin/env bash
# Makes the Wine prefix of the current setting (LINKWRIGHT_LOCALE, LINKWRIGHT_DPI;
# see wine-env.sh) without prompts. Idempotent: each step checks what is there.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
log() { printf 'wine-prefix: %s\n' "$*"; }
step_name= step_start=$SECONDS
finish() { [ -z "$step_name" ] || log "$step_name: done in $((SECONDS - step_start)) s"; step_name=; }
step() { finish; step_name=$*; step_start=$SECONDS; log "$*..."; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  step "initialising $WINEPREFIX under $LINKWRIGHT_LOCALE"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Without a window manager each top-level destroy waits for one; unmanaged windows do not.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi
# Wine draws the caption buttons with its Marlett font. The package puts the font in
# Wine's data folder, which a prefix does not read for it: without it the buttons
# show as the letters "0 1 r". The font goes into the prefix's own font folder and is
# registered there, as on Windows.
fonts=$WINEPREFIX/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ]; then
  step "adding the Marlett font to $WINEPREFIX"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Marlett (TrueType)' /d marlett.ttf /f \
    >/dev/null 2>&1
  wineserver -w
fi
# Message boxes are drawn by the system in its interface font. Under a Western code
# page nothing links that font to a Chinese face, and the program's texts in them
# show as empty boxes; the font link gives them the Chinese face the packages bring.
link='wqy-microhei.ttc,WenQuanYi Micro Hei'
if ! grep -q "^\"Tahoma\"=str(7):\"$link" "$WINEPREFIX/system.reg"; then
  step "linking the interface fonts to a Chinese face in $WINEPREFIX"
  for font in Tahoma 'Microsoft Sans Serif'; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$font" \
      /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1
  done
  wineserver -w
fi
# The display scale, where the system keeps it for the user and for the fonts.
if [ "$LINKWRIGHT_DPI" != 96 ]; then
  pixels=$(printf 'dword:%08x' "$LINKWRIGHT_DPI")
  if ! grep -q "\"LogPixels\"=$pixels" "$WINEPREFIX/user.reg" ||
     ! grep -q "\"LogPixels\"=$pixels" "$WINEPREFIX/system.reg"; then
    step "setting $LINKWRIGHT_DPI DPI in $WINEPREFIX"
    for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
      wine reg add "$key" /v LogPixels /t REG_DWORD /d "$LINKWRIGHT_DPI" /f >/dev/null 2>&1
    done
    wineserver -w
  fi
fi
finish
