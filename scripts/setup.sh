# setup.sh: shared by ./play and ./test: installs missing Debian packages, then configures
# and builds a build folder. Quiet when there is nothing to do.

RANQUA_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpixman-1-dev libturbojpeg0-dev libjpeg-dev libcairo2-dev
  fonts-dejavu-core libgtest-dev
  xvfb xdotool x11-utils xfonts-base imagemagick sox lame python3 procps
  desktop-file-utils appstream xdg-utils
)

ranqua_missing_packages() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  printf '%s\n' "${missing[@]}"
}

ranqua_install_packages() {
  local missing
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "This system has no apt. Install these packages (or your system's equivalents):" >&2
    printf '  %s\n' "${RANQUA_PACKAGES[@]}" >&2
    return 1
  fi
  mapfile -t missing < <(ranqua_missing_packages "${RANQUA_PACKAGES[@]}")
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >/dev/null &&
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
    { echo "Could not install: ${missing[*]}" >&2; return 1; }
}

# ranqua_build DIR [cmake options...]
ranqua_build() {
  local dir=$1; shift
  local log="$dir/.build.log"
  mkdir -p "$dir"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "$@" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
  fi
  cmake --build "$dir" -j2 >"$log" 2>&1 || { cat "$log" >&2; return 1; }
}
