#!/usr/bin/env bash
# The build's name in the log's version line: "Tarrowind 0.1.0 (a31eb1e)", with ", with
# uncommitted changes" after the commit when the tree differs from it, or "(not from a git
# checkout)". The simulator's line gives the name its build wrote; the script that writes the
# name (run on every build) tells each state of a scratch repository apart, leaves its files
# alone when nothing changed (so nothing is rebuilt) and dates a build with its commit.
#   build_name.sh SIM BUILD_DIR SOURCE_DIR VERSION WORKDIR
set -euo pipefail
sim=$1 build_dir=$2 source_dir=$3 version=$4 work=$5
export LC_ALL=C GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
unset GIT_DIR GIT_WORK_TREE GIT_INDEX_FILE

fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}
rm -rf "$work"
mkdir -p "$work"

# The simulator's line gives the name its build wrote (a commit since names the next build).
"$sim" --workdir "$work/run" --minutes 1 --quiet >/dev/null 2>&1 || true
line=$(sed -n 's/^\[[^]]*\] \[INFO\] \(Tarrowind [0-9].*\)$/\1/p' "$work"/run/Tarrowind/logs/*.log)
form="^Tarrowind $version \\(([0-9a-f]{7}(, with uncommitted changes)?|not from a git checkout)\\)$"
[[ "$line" =~ $form ]] || problem "the version line is '$line'"
built=$(sed -n 's/^set(TARROWIND_BUILD_DESCRIPTION "\(.*\)")$/\1/p' \
    "$build_dir/generated/build_info.cmake")
[ "$line" = "Tarrowind $built" ] ||
    problem "the version line '$line' is not the build's name '$built'"

# The name of a build of REPO, as the build writes it into BUILD/generated.
name_of() {
    local repo=$1 build=$2
    cmake -DSOURCE_DIR="$repo" -DBINARY_DIR="$build" -DVERSION=1.2.3 \
        -P "$source_dir/cmake/write_build_version.cmake"
    sed -n 's/^ *return "\(.*\)";$/\1/p' "$build/generated/build_version.cpp"
}
expect_name() {
    local what=$1 repo=$2 build=$3 expected=$4 got
    got=$(name_of "$repo" "$build")
    [ "$got" = "$expected" ] || problem "$what: named '$got', not '$expected'"
}
epoch_of() {
    sed -n 's/^set(TARROWIND_SOURCE_EPOCH \([0-9]*\))$/\1/p' "$1/generated/build_info.cmake"
}

repo="$work/repo"
mkdir -p "$repo/src"
echo "int x;" >"$repo/src/a.cpp"
echo "/build/" >"$repo/.gitignore"
git -C "$repo" init -q
git -C "$repo" add -A
GIT_COMMITTER_DATE="@1700000000 +0000" git -C "$repo" -c user.name=t -c user.email=t@t \
    commit -qm one
commit=$(git -C "$repo" rev-parse HEAD)
short=${commit:0:7}

expect_name "a clean checkout" "$repo" "$repo/build" "1.2.3 ($short)"
[ "$(epoch_of "$repo/build")" = 1700000000 ] ||
    problem "a clean checkout is dated $(epoch_of "$repo/build"), not its commit's 1700000000"
written=("$repo/build/generated/build_version.cpp" "$repo/build/generated/build_info.cmake")
before=$(stat -c %y "${written[@]}")
sleep 0.05
name_of "$repo" "$repo/build" >/dev/null
[ "$(stat -c %y "${written[@]}")" = "$before" ] ||
    problem "an unchanged tree's name was written again (everything using it rebuilds)"

# A build folder of another name inside the tree is not a change; one outside is not either.
expect_name "a build folder git does not ignore" "$repo" "$repo/out" "1.2.3 ($short)"
rm -rf "$repo/out"
expect_name "a build folder outside" "$repo" "$work/outside" "1.2.3 ($short)"

echo "int y;" >"$repo/src/b.cpp"
expect_name "a new source file" "$repo" "$repo/build" "1.2.3 ($short, with uncommitted changes)"
rm "$repo/src/b.cpp"
echo "int z;" >"$repo/src/a.cpp"
expect_name "a changed file" "$repo" "$repo/build" "1.2.3 ($short, with uncommitted changes)"
git -C "$repo" add -A
expect_name "a staged change" "$repo" "$repo/build" "1.2.3 ($short, with uncommitted changes)"
git -C "$repo" -c user.name=t -c user.email=t@t commit -qm two
next=$(git -C "$repo" rev-parse HEAD)
expect_name "the next commit" "$repo" "$repo/build" "1.2.3 (${next:0:7})"

# A folder inside another repository is not a checkout of its own; nor is a plain folder.
expect_name "a folder inside a repository" "$repo/src" "$repo/build" \
    "1.2.3 (not from a git checkout)"
plain="$work/plain"
mkdir -p "$plain"
expect_name "a plain folder" "$plain" "$plain/build" "1.2.3 (not from a git checkout)"
[ "$(epoch_of "$plain/build")" = 315532800 ] ||
    problem "a plain folder is dated $(epoch_of "$plain/build"), not 1980-01-01"
SOURCE_DATE_EPOCH=1600000000 name_of "$plain" "$plain/build" >/dev/null
[ "$(epoch_of "$plain/build")" = 1600000000 ] ||
    problem "a plain folder ignores SOURCE_DATE_EPOCH: dated $(epoch_of "$plain/build")"

[ $fail = 0 ] && echo "ok: $line; every state of a scratch repository named as it should be"
exit $fail
