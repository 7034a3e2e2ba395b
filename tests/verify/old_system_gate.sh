#!/usr/bin/env bash
# Runs rundll-check.exe in a Wine prefix that reports Windows XP (major version 5): the host
# must then load an unsigned module without examining it.
#   old_system_gate.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
wine_run=$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-run
export WINEPREFIX=$build/wineprefix-xp WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ ! -e "$WINEPREFIX/.reports-xp" ]; then
  WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 winecfg /v winxp64 >/dev/null 2>&1
  touch "$WINEPREFIX/.reports-xp"
fi
status=0
output=$("$wine_run" "$build/rundll-check.exe" "$build/verify_fixtures/unsigned.dll") || status=$?
echo "$output"
[ "$status" -eq 0 ] && grep -q "older than major version 6" <<<"$output"
