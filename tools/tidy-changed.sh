#!/usr/bin/env bash
# Runs clang-tidy (the committed .clang-tidy) on the C++ sources changed
# against a base ref, with the build's compile_commands.json.
#   tools/tidy-changed.sh [BASE_REF] [BUILD_DIR]
# BASE_REF defaults to the commit in .ci/tidy-base, the last one at which
# every source was checked clean (so a clean clone still checks everything
# changed since); BUILD_DIR to build. Exits non-zero when clang-tidy reports
# anything.
set -euo pipefail
cd "$(dirname "$0")/.."

base=${1:-}
if [ -z "$base" ]; then
    base=$(cat .ci/tidy-base)
fi
build=${2:-build}
tidy=${CLANG_TIDY:-clang-tidy}

if [ ! -f "$build/compile_commands.json" ]; then
    echo "no $build/compile_commands.json: configure the build first" >&2
    exit 2
fi

# Only sources that are in the compile database can be checked; a changed
# header is checked through the sources that include it (HeaderFilterRegex).
mapfile -t changed < <(git diff --name-only --diff-filter=d "$(git merge-base "$base" HEAD)" -- \
    'src/*.cpp' 'src/*.h')
files=()
for f in "${changed[@]}"; do
    case "$f" in
        *.cpp) grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json" && files+=("$f") ;;
        *.h)
            # the first source that includes the header by name
            inc=$(grep -rl --include="*.cpp" "#include \"$(basename "$f")\"" src 2>/dev/null | head -1 || true)
            [ -n "$inc" ] && files+=("$inc")
            ;;
    esac
done
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u | sed '/^$/d')
if [ ${#files[@]} -eq 0 ]; then
    echo "clang-tidy: no changed C++ sources against $base"
    exit 0
fi
echo "clang-tidy on ${#files[@]} file(s) changed against $base"
# Two at a time, each file's report printed whole; any report fails the run.
printf '%s\0' "${files[@]}" | xargs -0 -P2 -n1 sh -c \
    'out=$("$0" -p "$1" --quiet "$2" 2>/dev/null) || { printf "%s\nclang-tidy: %s\n" "$out" "$2"; exit 1; }' \
    "$tidy" "$build"

