# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build needs when any is missing.
DORVANEL_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libgl-dev
  libhidapi-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick)

dorvanel_install_deps() {
  local missing=()
  for p in "${DORVANEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

dorvanel_build() {
  local dir="$1"; shift
  cmake -S "$DORVANEL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$dir" -j "$(nproc)"
}
