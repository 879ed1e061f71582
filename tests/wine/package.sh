#!/usr/bin/env bash
# The release zip, written by the packaging script from the Windows build, unpacks to exactly
# Tarrowind.asi, README.txt, Tarrowind/Tarrowind.ini and the empty Tarrowind/logs/; its INI
# documents every key with its default and loads to those defaults through our reader and,
# under Wine, the Windows one. Beside the zip, its checksum file gives the SHA-256 of the zip
# and of the DLL in it, as `sha256sum -c` reads them.
#   package.sh SOURCE_DIR VERSION LINUX_INI_DUMP WORKDIR SETTINGS_TEXT
# SETTINGS_TEXT is the Linux build's tarrowind-settings-text, which names every key.
set -euo pipefail
source_dir=$1 version=$2 linux_dump=$3 work=$4 settings_text=$5
source "$(dirname "$0")/wine_env.sh"

fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}

rm -rf "$work"
mkdir -p "$work"
cmake -DASI="$WINDOWS_BIN/Tarrowind.asi" -DSOURCE_DIR="$source_dir" \
    -DBUILD_INFO="$WINDOWS_BIN/../generated/build_info.cmake" -DOUTPUT_DIR="$work/dist" \
    -P "$source_dir/packaging/make_package.cmake" >"$work/package.txt"
zip="$work/dist/Tarrowind-$version.zip"
sums="$work/dist/Tarrowind-$version.sha256"

entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="README.txt Tarrowind.asi Tarrowind/ Tarrowind/Tarrowind.ini Tarrowind/logs/ "
[ "$entries" = "$expected" ] || problem "the zip holds '$entries', not '$expected'"

unpacked="$work/game"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
cmp -s "$unpacked/Tarrowind.asi" "$WINDOWS_BIN/Tarrowind.asi" ||
    problem "the zip's Tarrowind.asi is not the built one"
# The checksum file names the DLL as a player unpacks it and the zip beside it, and the
# packaging printed the same lines.
[ "$(cut -c 67- "$sums" | tr '\n' ' ')" = "Tarrowind.asi Tarrowind-$version.zip " ] ||
    problem "the checksum file names other files: $(cat "$sums")"
cp "$sums" "$zip" "$unpacked/"
(cd "$unpacked" && sha256sum --quiet -c "Tarrowind-$version.sha256") ||
    problem "the checksum file does not match the zip and its DLL"
while read -r line; do
    grep -qF -- "$line" "$work/package.txt" || problem "packaging did not print '$line'"
done <"$sums"
[ -d "$unpacked/Tarrowind/logs" ] && [ -z "$(ls -A "$unpacked/Tarrowind/logs")" ] ||
    problem "Tarrowind/logs is not an empty folder"

ini="$unpacked/Tarrowind/Tarrowind.ini"
[ "$(grep -c $'\r$' "$ini")" = "$(wc -l <"$ini")" ] || problem "the INI does not end lines with CR LF"
keys=$("$settings_text" --keys)
[ "$(echo "$keys" | wc -w)" -ge 18 ] || problem "the settings table names only: $keys"
for key in $keys; do
    [ "$(grep -c "^$key=" "$ini")" = 1 ] || problem "the INI does not set $key exactly once"
    # The comment line right above a key gives the value the key is set to as its default.
    value=$(tr -d '\r' <"$ini" | sed -n "s/^$key=//p")
    comment=$(tr -d '\r' <"$ini" | grep -B1 "^$key=" | head -1)
    [[ "$comment" == ";"*"Default: $value." ]] ||
        problem "the comment above $key=$value does not document that default: '$comment'"
    grep -q "$key" "$unpacked/README.txt" || problem "README.txt does not mention $key"
done
grep -q "^Tarrowind $version" "$unpacked/README.txt" || problem "README.txt does not name the version"
# Its example of a settings note is one the plug-in writes for the players' common mistakes.
example=$(tr -d '\r' <"$unpacked/README.txt" | sed -n 's/^ *\(\[INFO\] Settings: \)/\1/p')
[ -n "$example" ] && grep -Fxq "$example" "$source_dir/tests/wine/settings_notes.log-lines" ||
    problem "README.txt's example settings note is not one the plug-in writes: '$example'"

# The dump names only the settings that are not at their default.
defaults="file config SearchRadius=100"
ours=$(cd "$unpacked" && "$linux_dump" config Tarrowind/Tarrowind.ini)
[ "$ours" = "$defaults" ] || problem "our reader loads the shipped INI as: $ours"
windows=$(cd "$unpacked" && wine_run "$WINDOWS_BIN/tarrowind-ini-dump.exe" config Tarrowind/Tarrowind.ini)
[ "$windows" = "$defaults" ] || problem "the Windows reader loads the shipped INI as: $windows"

[ $fail = 0 ] && echo "ok: $(stat -c %s "$zip")-byte zip with the documented layout and defaults"
exit $fail
