#!/usr/bin/env bash
# The Windows Installer packages (installer/build-package) built from the
# programs given: their tables as msiinfo reads them, then under Wine, with
# no display, in a prefix of their own: a silent install, a rebuild of the
# same version over it, a newer version over that, a downgrade refused, and
# an uninstall that leaves nothing; then an install with MOVEATLOGON=1,
# whose logon entry its uninstall removes.
#   usage: tests/package_test.sh WINDOW.exe CONSOLE.com VERSION PREFIX
set -euo pipefail
exe=$1 com=$2 version=$3 prefix=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect() {  # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}
newer=${version%.*}.$((${version##*.} + 1))
"$here/installer/build-package" x64 "$version" "$exe" "$com" "$work/old.msi"
"$here/installer/build-package" x64 "$version" "$exe" "$com" "$work/rebuilt.msi"
"$here/installer/build-package" x64 "$newer" "$exe" "$com" "$work/new.msi"
"$here/installer/build-package" x86 "$version" "$exe" "$com" "$work/x86.msi"

# ---- the tables ----
rows() {  # package, table: its rows, without the three heading lines
  msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'
}
property() { rows "$1" Property | sed -n "s/^$2\t//p"; }
tab=$'\t'
for arch in x64 x86; do
  msi=$work/old.msi programfiles=ProgramFiles64Folder bits=256 template='x64;1042'
  [ $arch = x86 ] && msi=$work/x86.msi programfiles=ProgramFilesFolder bits=0 template='Intel;1042'
  expect "$arch files" "boansetting.com${tab}ConsoleTwin${tab}boansetting.com${tab}$(stat -c %s "$com")
boansetting.exe${tab}WindowProgram${tab}boansetting.exe${tab}$(stat -c %s "$exe")" \
    "$(rows "$msi" File | cut -f1-4 | LC_ALL=C sort)"
  expect "$arch components" "ConsoleTwin${tab}INSTALLFOLDER${tab}$bits${tab}${tab}boansetting.com
MoveAtLogon${tab}INSTALLFOLDER${tab}$((bits + 4))${tab}${tab}$(rows "$msi" Registry | cut -f1)
WindowProgram${tab}INSTALLFOLDER${tab}$bits${tab}${tab}boansetting.exe" \
    "$(rows "$msi" Component | cut -f1,3- | LC_ALL=C sort)"
  # The logon move: one value of the machine's Run key, in a feature that
  # only MOVEATLOGON=1 installs.
  expect "$arch logon entry" "2${tab}Software\\Microsoft\\Windows\\CurrentVersion\\Run${tab}BoanSettingMove${tab}\"[INSTALLFOLDER]boansetting.exe\" /move${tab}MoveAtLogon" \
    "$(rows "$msi" Registry | cut -f2-)"
  expect "$arch logon feature" "MoveAtLogon${tab}Complete${tab}${tab}${tab}4${tab}2${tab}${tab}0" \
    "$(rows "$msi" Feature | grep '^MoveAtLogon')"
  expect "$arch logon condition" "MoveAtLogon${tab}1${tab}MOVEATLOGON=\"1\"" "$(rows "$msi" Condition)"
  expect "$arch install folder" "INSTALLFOLDER${tab}$programfiles${tab}BoanSetting" \
    "$(rows "$msi" Directory | grep '^INSTALLFOLDER')"
  expect "$arch shortcut" "StartMenuShortcut${tab}ProgramMenuFolder${tab}보안설정${tab}WindowProgram${tab}[#boansetting.exe]" \
    "$(rows "$msi" Shortcut | cut -f1-5)"
  expect "$arch per machine" 1 "$(property "$msi" ALLUSERS)"
  expect "$arch publisher" Torvane "$(property "$msi" Manufacturer)"
  expect "$arch help link" http://www.torvane.co.kr/xe/FAQ/44187 "$(property "$msi" ARPHELPLINK)"
  expect "$arch version" "$version" "$(property "$msi" ProductVersion)"
  expect "$arch code page" "949${tab}_ForceCodepage" \
    "$(msiinfo export "$msi" _ForceCodepage | tr -d '\r\0' | grep _ForceCodepage)"
  expect "$arch custom actions" "" "$(rows "$msi" CustomAction)"
  summary=$(msiinfo suminfo "$msi")
  expect "$arch template" "Template: $template" "$(grep '^Template:' <<<"$summary")"
  LC_ALL=C grep -q '[^[:print:][:space:]]' <<<"$summary" && fail "$arch summary is not ASCII: $summary"
  upgrade=$(property "$msi" UpgradeCode)
  # A newer version or a rebuild of this one replaces it (513: the maximum
  # included); an older one is detected and refused.
  expect "$arch upgrade rows" "$upgrade${tab}${tab}$version${tab}${tab}513${tab}${tab}WIX_UPGRADE_DETECTED
$upgrade${tab}$version${tab}${tab}${tab}2${tab}${tab}WIX_DOWNGRADE_DETECTED" "$(rows "$msi" Upgrade | LC_ALL=C sort)"
  rows "$msi" LaunchCondition | grep -q '^NOT WIX_DOWNGRADE_DETECTED' || fail "$arch: no downgrade guard"
done
expect "upgrade code kept across versions" "$(property "$work/old.msi" UpgradeCode)" \
  "$(property "$work/new.msi" UpgradeCode)"
[ "$(property "$work/old.msi" UpgradeCode)" != "$(property "$work/x86.msi" UpgradeCode)" ] ||
  fail "x64 and x86 share an upgrade code"
mkdir "$work/extracted"
(cd "$work/extracted" && msiextract "$work/old.msi" >/dev/null)
for file in "$exe:boansetting.exe" "$com:boansetting.com"; do
  found=$(find "$work/extracted" -name "${file##*:}")
  cmp -s "${file%:*}" "$found" || fail "${file##*:} in the package differs from the program given"
done

# ---- under Wine ----
unset DISPLAY
wine() { "$here/scripts/wine-run" "$prefix" "$@"; }
wine wineboot -u >/dev/null 2>&1 || true
drive=$prefix/drive_c
folder="$drive/Program Files/BoanSetting"
shortcut=$(echo "$drive"/users/*/AppData/Roaming/Microsoft/Windows/'Start Menu'/Programs)/보안설정.lnk
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entry() {  # product code: the values of its uninstall entry that we set, or nothing
  wine reg query "$uninstall\\$1" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *\(DisplayVersion\|Publisher\|HelpLink\) *REG_SZ *\(.*\)/\1=\2/p' | LC_ALL=C sort |
    paste -sd' ' -
}
entry_of() { echo "DisplayVersion=$1 HelpLink=http://www.torvane.co.kr/xe/FAQ/44187 Publisher=Torvane"; }
old=$(property "$work/old.msi" ProductCode) new=$(property "$work/new.msi" ProductCode)
rebuilt=$(property "$work/rebuilt.msi" ProductCode)
[ "$rebuilt" != "$old" ] || fail "the rebuild has the first build's product code"
installed() {  # the product codes of every installed version, by their publisher
  wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ { key = $0; sub(/.*\\/, "", key) } /Publisher +REG_SZ +Torvane$/ { print key }'
}
# Whatever an earlier run left (each build has a product code of its own),
# the prefix starts without the product.
for code in $(installed); do wine msiexec /x "$code" /qn || true; done

wine msiexec /i "$work/old.msi" /qn || fail "install of $version ended with $?"
cmp -s "$exe" "$folder/boansetting.exe" || fail "boansetting.exe not installed"
cmp -s "$com" "$folder/boansetting.com" || fail "boansetting.com not installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut 보안설정"
expect "uninstall entry" "$(entry_of "$version")" "$(entry "$old")"
run='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
logon_entry() {  # the Run key's value for the logon move, or nothing
  wine reg query "$run" /v BoanSettingMove 2>/dev/null | tr -d '\r' | sed -n 's/^ *BoanSettingMove *REG_SZ *//p'
}
expect "logon entry without MOVEATLOGON" "" "$(logon_entry)"
set +e
answer=$(wine 'C:\Program Files\BoanSetting\boansetting.com' /check Pelorant | tr -d '\r')
code=$?
set -e
expect "the installed twin's /check" "Pelorant${tab}C:\\Program Files (x86)\\Quindle${tab}no-folder (1)" \
  "$answer ($code)"

wine msiexec /i "$work/rebuilt.msi" /qn || fail "install of a rebuilt $version over it ended with $?"
expect "installed versions after a rebuild of the same version" "$rebuilt" "$(installed)"
expect "entry of the rebuild" "$(entry_of "$version")" "$(entry "$rebuilt")"
cmp -s "$exe" "$folder/boansetting.exe" || fail "boansetting.exe missing after the rebuild"

wine msiexec /i "$work/new.msi" /qn || fail "install of $newer over $version ended with $?"
expect "entry of the newer version" "$(entry_of "$newer")" "$(entry "$new")"
expect "installed versions" "$new" "$(installed)"
cmp -s "$com" "$folder/boansetting.com" || fail "boansetting.com missing after the upgrade"
if wine msiexec /i "$work/old.msi" /qn; then fail "the older version was installed over the newer"; fi
expect "entry after a refused downgrade" "$(entry_of "$newer")" "$(entry "$new")"

wine msiexec /x "$work/new.msi" /qn || fail "uninstall ended with $?"
[ ! -e "$folder" ] || fail "the install folder is left: $(ls -A "$folder")"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
expect "installed versions after uninstall" "" "$(installed)"

# With MOVEATLOGON=1 every user's logon runs the move; uninstall takes it away.
wine msiexec /i "$work/old.msi" MOVEATLOGON=1 /qn || fail "install with MOVEATLOGON=1 ended with $?"
expect "logon entry with MOVEATLOGON=1" '"C:\Program Files\BoanSetting\boansetting.exe" /move' "$(logon_entry)"
msiinfo export "$work/old.msi" Registry | tr -d '\r' | tail -n +4
echo "Run key: $(logon_entry)"
wine msiexec /x "$work/old.msi" /qn || fail "uninstall with the logon entry ended with $?"
expect "logon entry after uninstall" "" "$(logon_entry)"

[ $failures -eq 0 ] || exit 1
echo "package: tables, install, same-version rebuild, upgrade, refused downgrade, uninstall and the logon entry as expected"
