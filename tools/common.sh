# Shared by run.sh and test.sh: installs what a fresh Debian 12 machine lacks, then configures
# and builds into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev fonts-dejavu-core fonts-liberation2 qt6-translations-l10n)

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build build --parallel
}
