#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the run's Wine prefix: on a virtual X server of
# its own, or on the display the caller has.
#   wine.sh WINE PREFIX --create | --remove | [--on-display] PROGRAM [ARGUMENTS...]
set -euo pipefail
wine=${1:?usage: $0 wine prefix (--create | --remove | program...)}
export WINEPREFIX=${2:?}
shift 2
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
wineserver="$(dirname "$wine")/wineserver"

# Runs a step of making the prefix with its output held back, shown with the step if it fails. The
# output goes to a file: Wine's server and services, started by the step, outlive it holding it open.
quietly() {
    local log status=0
    log=$(mktemp)
    "$@" >"$log" 2>&1 || status=$?
    if [ "$status" != 0 ]; then
        echo "making the Wine prefix failed with status $status at: $*" >&2
        tail -n 20 "$log" >&2
    fi
    rm -f "$log"
    return "$status"
}

case "${1:-}" in
    --create)
        # Wine's first start makes the prefix; it takes seconds, so it is done once per run.
        rm -rf "$WINEPREFIX"
        quietly "$wine" wineboot -i
        "$wineserver" -w
        # Wine's own Tahoma and MS Sans Serif, with the metrics of the Windows fonts, where Windows
        # keeps its fonts: this Wine does not find them in its data folder.
        cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
        # Font linking and fallback as Windows ships them, with Debian's Noto fonts standing in for the
        # Windows ones: Tahoma links to a CJK font (and to a Thai one, as Windows' Tahoma has Thai of its
        # own); the faces Uniscribe falls back to for Han and Kana (SimSun) and for Thai (Microsoft Sans
        # Serif) are there. Devanagari's (Mangal) is not: Wine 8's Indic shaper corrupts its heap drawing
        # a Vedic tone mark (U+1CD2) in Noto Sans Devanagari.
        quietly "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v Tahoma \
            /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC\0NotoSansThai-Regular.ttf,Noto Sans Thai' /f
        substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
        quietly "$wine" reg add "$substitutes" /v SimSun /d 'Noto Sans CJK SC' /f
        quietly "$wine" reg add "$substitutes" /v 'Microsoft Sans Serif,222' /d 'Noto Sans Thai,222' /f
        # A crash ends the program, as it would for a test, instead of waiting in Wine's debugger.
        quietly "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f
        "$wineserver" -w
        ;;
    --remove)
        "$wineserver" -k 2>/dev/null || true
        rm -rf "$WINEPREFIX"
        ;;
    --on-display)
        shift
        exec "$wine" "$@"
        ;;
    *)
        # A window manager, as on a desktop: Wine's windows get the focus through it.
        status=0
        xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'openbox --config-file "$0" & sleep 0.5; exec "$@"' \
            "$(dirname "$0")/../e2e/openbox.xml" "$wine" "$@" || status=$?
        "$wineserver" -w
        exit "$status"
        ;;
esac
