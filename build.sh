#!/usr/bin/env bash
# Orvane's one entry point for building, running and testing.
#   ./build.sh run [--simulate]   install what is missing, build, start Orvane
#   ./build.sh test               install what is missing, build, run all tests
#   ./build.sh build              install what is missing, build
# Packages come from Debian's archive (apt-get, as root or through sudo).
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    libhidapi-dev libudev-dev libsqlite3-dev sqlite3
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei xvfb xauth
    # Qt's own Chinese texts (OK/Cancel of the message boxes)
    qt6-translations-l10n
    # the sanitizer and fuzz run of the tests, clang-tidy, the install check
    clang clang-tidy libclang-rt-dev desktop-file-utils
    # the archive's PostgreSQL backend (libpq) and the server its tests start
    libpq-dev postgresql
    # a comma-decimal locale (de_DE) for the locale-independence tests
    locales-all
)
BUILD_DIR=${ORVANE_BUILD_DIR:-build}

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

# build [WERROR]: warnings are errors only on the test path; a user's
# compiler may warn where ours does not, and must still build. Passed every
# time so that a test run does not leave -Werror in the cache for `run`.
build() {
    install_packages
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVANE_WERROR="${1:-OFF}" >/dev/null
    cmake --build "$BUILD_DIR"
}

# The tests without widgets again under AddressSanitizer, UBSan and
# LeakSanitizer, a short run of every fuzz target (clang, own build dir), and
# clang-tidy on the changed sources.
# Run from `test` after the ordinary suite; its scratch folders are set.
sanitize() {
    local dir=${ORVANE_ASAN_BUILD_DIR:-build-asan}
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVANE_SANITIZE=ON -DORVANE_FUZZ=ON -DORVANE_WIDGET_TESTS=OFF >/dev/null
    cmake --build "$dir"
    (
        cd "$dir"
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        ctest --output-on-failure --timeout 300 -j2
    )
    # clang-tidy on the product sources changed since the last whole-tree
    # check, with the clang build's compile database.
    tools/tidy-changed.sh "" "$dir"
}

case "${1:-}" in
    run)
        shift
        build
        exec "$BUILD_DIR/src/shell/orvane" "$@"
        ;;
    test)
        build ON
        export QT_QPA_PLATFORM=offscreen
        # Tests never touch the user's own data or runtime folders.
        scratch=$(mktemp -d)
        trap 'rm -rf "$scratch"' EXIT
        export XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run"
        mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
        (cd "$BUILD_DIR" && ctest --output-on-failure --timeout 300 -j2)
        sanitize
        ;;
    build)
        build
        ;;
    *)
        echo "usage: $0 run [--simulate] | test | build" >&2
        exit 2
        ;;
esac
