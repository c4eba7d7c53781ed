#!/usr/bin/env bash
# Runs a command with one Wine server kept up for it, on the caller's display ($WINE and
# $WINESERVER name Wine's programs). The first Windows program of a Wine session starts the
# prefix's services (services.exe, winedevice.exe, explorer.exe), which inherit that program's
# stdout and live as long as the server: under ctest the first test then "ran" until the whole
# suite was over. So a warm-up whose output goes nowhere starts them first.
set -uo pipefail
trap '"$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w' EXIT
"$WINESERVER" -p || exit 1
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1
"$@"
