#!/usr/bin/env bash
# The Windows installer: what its tables say, and under Wine a silent per-user install with the
# program file, the Start menu shortcut and the uninstall entry it leaves; the installed program
# shows its main window; a later version replaces this one; removal leaves nothing behind.
#   msi_test.sh path/to/build-windows path/to/wine
build=$(cd "${1:?usage: $0 build-windows wine}" && pwd)
msi="$build/quorvel-1.0.0.0-win64.msi"
source "$(dirname "$0")/../e2e/desktop.sh" "$msi"
wine=${2:?usage: $0 build-windows wine}
[ -f "$msi" ] || fail "no $msi"
upgrade_code="{43BDE8B0-6AF5-46F0-B359-0EB7C9D43DFB}"

# --- The tables -------------------------------------------------------------------------------------
# msiinfo writes a table's binary columns into files beside it: in a folder of the script's own.
scratch=$(mktemp -d)
CLEANUPS+=('rm -rf "$scratch"')
table() { (cd "$scratch" && msiinfo export "$msi" "$1" | tr -d '\r'); }
property() { table Property | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
[ "$(property ProductName)" = "Quorvel" ] || fail "product name $(property ProductName)"
[ "$(property ProductVersion)" = "1.0.0.0" ] || fail "version $(property ProductVersion)"
[ "$(property Manufacturer)" = "Quorvel" ] || fail "publisher $(property Manufacturer)"
[ "$(property UpgradeCode)" = "$upgrade_code" ] || fail "upgrade code $(property UpgradeCode)"
[ "$(property ARPPRODUCTICON)" = "quorvel.ico" ] || fail "no icon for Add/Remove Programs"
[ -z "$(property ALLUSERS)" ] || fail "installs for all users: ALLUSERS=$(property ALLUSERS)"
# Word count 2 (compressed) + 8 (no elevated privileges needed): no administrator is asked for.
words=$(msiinfo suminfo "$msi" | tr -d '\r' | awk '/^Source:/ { print $2 }')
(( (words & 8) != 0 )) || fail "the installer asks for elevated privileges (word count $words)"
table Shortcut | grep -Pq '^\w+\tProgramMenuFolder\tQuorvel\t\w+\t\[INSTALLDIR\]quorvel\.exe\t' ||
    fail "no Start menu shortcut named Quorvel: $(table Shortcut)"
table Directory | grep -Pq '^\w+\tLocalAppDataFolder\tPrograms$' || fail "not in the user's programs folder"
# Every installed build of the product is replaced (attributes 256: from 0.0.0.0 inclusive), but a
# newer one is only detected (2), and then stops the install.
table Upgrade | grep -Pq "^\\Q$upgrade_code\\E\\t0\\.0\\.0\\.0\\t\\t\\t256\\t\\tOLDERVERSIONBEINGUPGRADED$" ||
    fail "older versions are not replaced: $(table Upgrade)"
table Upgrade | grep -Pq "^\\Q$upgrade_code\\E\\t1\\.0\\.0\\.0\\t\\t\\t2\\t\\tNEWERVERSIONDETECTED$" ||
    fail "newer versions are not detected: $(table Upgrade)"
table LaunchCondition | grep -q "^NOT NEWERVERSIONDETECTED" || fail "a newer version does not stop the install"
table Icon | grep -q "^quorvel.ico" || fail "no icon table entry"

# --- Under Wine -------------------------------------------------------------------------------------
# Wine mirrors Start menu shortcuts into the desktop's menus, and keeps them after removal: here into
# folders of the script's own.
XDG_DATA_HOME=$(mktemp -d) XDG_CONFIG_HOME=$(mktemp -d)
export XDG_DATA_HOME XDG_CONFIG_HOME
CLEANUPS+=('rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"')
start_desktop
use_wine "$wine"
wine_run() { "$WINE_RUN" "$WINE" "$WINE_PREFIX" --on-display "$@"; }
windows_path() { echo "Z:${1//\//\\}"; }
msiexec() {
    wine_run msiexec "$@" /qn >/dev/null 2>&1 || fail "msiexec $* failed with status $?"
    "$(dirname "$wine")/wineserver" -w
}
# Every file and every registry line of the prefix, to compare before the install and after removal;
# registry keys without the time of their last change. Windows Installer keeps its cache folders.
snapshot() {
    (cd "$WINE_PREFIX" && find drive_c -not -empty -o -not -path '*/Installer' | sort &&
        grep -hv '^#time=' ./*.reg | sed -E 's/^(\[.*\]) [0-9]+$/\1/' | sort)
}
# The uninstall entries, per user and per machine, with their values.
uninstall_entries() {
    for root in HKCU HKLM; do
        wine_run reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null | tr -d '\r' || true
    done
}
entry_value() { uninstall_entries | awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }'; }

"$(dirname "$wine")/wineserver" -w
before=$(snapshot)
msiexec /i "$(windows_path "$msi")"

user_programs=$(find "$WINE_PREFIX/drive_c/users" -path "*/AppData/Local/Programs" -type d)
[ -n "$user_programs" ] || fail "nothing in the user's programs folder"
installed="$user_programs/Quorvel/quorvel.exe"
cmp -s "$installed" "$build/msi/quorvel.exe" || fail "no program file at $installed"
shortcut=$(find "$WINE_PREFIX/drive_c/users" -path "*/Start Menu/Programs/Quorvel.lnk")
[ -n "$shortcut" ] || fail "no Start menu shortcut"
strings "$shortcut" | grep -qi 'Programs\\Quorvel\\quorvel.exe' || fail "the shortcut points elsewhere"
[ "$(entry_value DisplayName)" = "Quorvel" ] || fail "uninstall entries: $(uninstall_entries)"
[ "$(entry_value DisplayVersion)" = "1.0.0.0" ] || fail "uninstall entry's version $(entry_value DisplayVersion)"
[ "$(entry_value Publisher)" = "Quorvel" ] || fail "uninstall entry's publisher $(entry_value Publisher)"
# Add/Remove Programs shows the icon that the product's registration names.
# A reg query started while Wine is still busy may come back empty on a loaded machine: asked again.
product_icon() {
    for key in 'HKCU\Software\Microsoft\Installer\Products' 'HKLM\Software\Classes\Installer\Products'; do
        wine_run reg query "$key" /s 2>/dev/null | tr -d '\r' || true
    done | awk '$1 == "ProductIcon" { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}
for _ in $(seq 5); do
    icon=$(product_icon)
    [ -n "$icon" ] && break
    sleep 1
done
[ -n "$icon" ] || fail "no product icon for the uninstall entry"
cmp -s "$(wine_run winepath -u "$icon" 2>/dev/null | tr -d '\r')" "$(dirname "$0")/../../resources/quorvel.ico" ||
    fail "the uninstall entry's icon $icon is not the program icon"

# The installed program file, the one the shortcut names, shows its main window.
PROGRAM=$(windows_path "$installed")
start_program
window "Quorvel 1.0" >/dev/null
close_window "$(window "Quorvel 1.0")"
wait_for_end
[ "$EXIT_STATUS" = 0 ] || fail "the installed program ended with status $EXIT_STATUS"

# Later builds with the same upgrade code replace the installed one: one entry, the newer version.
# Windows Installer compares three parts of a version, so a build that differs in the fourth alone
# must replace it as well.
for version in 1.0.0.1 1.0.1.0; do
    later="$scratch/quorvel-$version-win64.msi"
    (cd "$build" && wixl -a x64 -D Version=$version -o "$later" quorvel.wxs)
    msiexec /i "$(windows_path "$later")"
    [ "$(entry_value DisplayName)" = "Quorvel" ] || fail "entries after the upgrade to $version: $(entry_value DisplayName)"
    [ "$(entry_value DisplayVersion)" = "$version" ] || fail "versions after the upgrade to $version: $(entry_value DisplayVersion)"
    [ -f "$installed" ] || fail "the upgrade to $version removed the program file"
done

# An older version does not replace a newer one.
if wine_run msiexec /i "$(windows_path "$msi")" /qn >/dev/null 2>&1; then
    fail "the older installer went through over a newer version"
fi
"$(dirname "$wine")/wineserver" -w
[ "$(entry_value DisplayVersion)" = "1.0.1.0" ] || fail "versions after a downgrade: $(entry_value DisplayVersion)"

# Removal: the prefix is as it was before the install.
msiexec /x "$(windows_path "$later")"
left=$(diff <(echo "$before") <(snapshot) | grep '^>' || true)
[ -z "$left" ] || fail "left behind after removal:
$left"

echo "1 passed, 0 failed"
