#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing, then configures and builds one build folder.
#
#   bash scripts/setup.sh [FOLDER] [CMAKE FLAGS...]     FOLDER defaults to "build" (relative to the repository)
#   bash scripts/setup.sh --packages                    only the packages
#   bash scripts/setup.sh --build [FOLDER] [FLAGS...]   only the build
#
# Packages are only installed when dpkg-query says they are missing, so a rerun on a prepared
# machine spends no time on them.
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
STEPS=packages,build
case "${1:-}" in
--packages) STEPS=packages; shift ;;
--build) STEPS=build; shift ;;
esac
FOLDER=${1:-build}
[ $# -gt 0 ] && shift
case "$FOLDER" in /*) BUILD=$FOLDER ;; *) BUILD=$REPO/$FOLDER ;; esac

PACKAGES=(
    qt6-base-dev qt6-translations-l10n
    firebird3.0-server firebird3.0-server-core firebird3.0-utils libfbclient2 firebird-dev
    libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev
    libxcb1-dev xvfb xauth imagemagick x11-apps fonts-dejavu-core fonts-liberation poppler-utils
    cmake g++ pkg-config ninja-build
    clang libclang-rt-14-dev
)

install_missing_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then missing+=("$p"); fi
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    if [ "$(id -u)" != 0 ]; then
        echo "setup: these packages are missing and only root can install them: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
}

[[ $STEPS != *packages* ]] || install_missing_packages
[[ $STEPS == *build* ]] || exit 0

cmake -S "$REPO" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD" -j "$(nproc)"
