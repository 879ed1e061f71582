#!/usr/bin/env bash
# The release is the same bytes whoever builds it, wherever and whenever: two copies of this
# tree (its commit, with its uncommitted changes if any) in two folders of different depth,
# built one after the other with another umask, time zone and generator, must give the same
# Tarrowind.asi, zip and checksum file. The zip's entries carry the commit's date and fixed
# permissions, and its README names the build.
#   reproducible_release.sh SOURCE_DIR VERSION WORKDIR
set -euo pipefail
source_dir=$1 version=$2 work=$3
export LC_ALL=C
unset GIT_DIR GIT_WORK_TREE GIT_INDEX_FILE

fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}

head=$(git -C "$source_dir" rev-parse HEAD)
epoch=$(git -C "$source_dir" log -1 --format=%ct HEAD)
rm -rf "$work"
mkdir -p "$work"

# A copy of the tree at FOLDER: a clone of the commit, then the same uncommitted changes.
copy_tree() {
    local folder=$1
    git clone -q "$source_dir" "$folder"
    git -C "$folder" checkout -q --detach "$head"
    git -C "$source_dir" diff --binary HEAD >"$work/changes.diff"
    if [ -s "$work/changes.diff" ]; then
        git -C "$folder" apply "$work/changes.diff"
    fi
    (cd "$source_dir" && git ls-files -z --others --exclude-standard) |
        tar -C "$source_dir" --null -T - -cf - | tar -C "$folder" -xf -
}

# Copies the tree to FOLDER and builds the release there, with the umask, time zone and CMake
# generator given (its log beside the copy: a file in the copy would be an uncommitted change).
build_release() {
    local folder=$1 mask=$2 zone=$3 generator=$4
    (
        umask "$mask"
        export TZ=$zone
        copy_tree "$folder"
        cd "$folder"
        cmake --preset windows -G "$generator" >"$folder.log" 2>&1 &&
            cmake --build --preset windows --target package_zip --parallel 2 >>"$folder.log" 2>&1
    ) || {
        echo "the release build in $folder failed:"
        tail -30 "$folder.log"
        exit 1
    }
}

one="$work/one/Tarrowind"
two="$work/two/a/much/deeper/folder/tarrowind-copy"
build_release "$one" 022 UTC Ninja
build_release "$two" 077 Pacific/Chatham "Unix Makefiles"

name="Tarrowind-$version"
for file in build/windows/bin/Tarrowind.asi "dist/$name.zip" "dist/$name.sha256"; do
    if ! cmp -s "$one/$file" "$two/$file"; then
        count=$(cmp -l "$one/$file" "$two/$file" 2>/dev/null | wc -l || true)
        problem "$file differs between the two builds ($count bytes differ; first:" \
            "$(cmp "$one/$file" "$two/$file" 2>&1 | head -1))"
    fi
done

# Each entry dated with the commit (zip keeps two-second steps, rounding up), files rw-r--r--,
# folders rwxr-xr-x, in the packaging script's order.
stamp=$(TZ=UTC date -d "@$(((epoch + 1) / 2 * 2))" +%Y%m%d.%H%M%S)
expected="-rw-r--r-- $stamp Tarrowind.asi
-rw-r--r-- $stamp README.txt
drwxr-xr-x $stamp Tarrowind/
-rw-r--r-- $stamp Tarrowind/Tarrowind.ini
drwxr-xr-x $stamp Tarrowind/logs/"
entries=$(TZ=UTC zipinfo -T "$two/dist/$name.zip" |
    awk '$1 ~ /^[-d][-r][-w][-x]/ { print $1, $(NF-1), $NF }')
[ "$entries" = "$expected" ] || problem "the zip's entries are
$entries
not
$expected"

build=$(unzip -p "$two/dist/$name.zip" README.txt | tr -d '\r' |
    sed -n 's/^    Tarrowind \([0-9].*\)$/\1/p')
[[ "$build" == "$version (${head:0:7}"* ]] ||
    problem "the README names the build '$build', not commit ${head:0:7}"

[ $fail = 0 ] && echo "ok: Tarrowind $build, the same bytes from two folders:" &&
    (cd "$one/dist" && cat "$name.sha256")
exit $fail
