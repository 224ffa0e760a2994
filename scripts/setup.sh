# setup.sh: shared by ./play and ./test: installs what is missing, then configures and builds a
# build folder. Silent when there is nothing to do: no sudo, no apt-get, no output.

# What building and playing need.
RANQUA_PLAY_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpixman-1-dev libx11-dev libturbojpeg0-dev libjpeg-dev libcairo2-dev libmp3lame-dev
  fonts-dejavu-core xfonts-base xdg-utils
)
# What the tests add: GoogleTest, the X server and tools that drive the real game, the checks of
# the installed files, the Debian package tools, and clang with libFuzzer for the fuzz targets.
RANQUA_TEST_PACKAGES=(
  libgtest-dev
  xvfb xdotool x11-utils imagemagick sox lame python3 procps time
  desktop-file-utils appstream
  dpkg-dev debhelper lintian fakeroot clang-format
  clang libclang-rt-dev
)
# The same needs where there is no apt: pkg-config modules, then commands.
RANQUA_PLAY_MODULES=(sdl2 SDL2_mixer pixman-1 x11 libturbojpeg libjpeg cairo lame)
RANQUA_PLAY_COMMANDS=(cmake c++ make)
RANQUA_TEST_MODULES=(gtest)
RANQUA_TEST_COMMANDS=(Xvfb xdotool xprop import sox lame python3 pgrep desktop-file-validate
  appstreamcli clang-format)

# ranqua_missing_packages PACKAGE...: prints those not installed, one a line.
ranqua_missing_packages() {
  local installed
  # One dpkg-query for all; unknown packages print nothing (and an error we do not need).
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "$@" 2>/dev/null |
    awk '$2 == "ii" { print $1 }')
  local p
  for p in "$@"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

# ranqua_missing_without_apt play|test: what pkg-config and PATH lack, one a line.
ranqua_missing_without_apt() {
  local modules=("${RANQUA_PLAY_MODULES[@]}") commands=("${RANQUA_PLAY_COMMANDS[@]}") m c
  if [ "$1" = test ]; then
    modules+=("${RANQUA_TEST_MODULES[@]}")
    commands+=("${RANQUA_TEST_COMMANDS[@]}")
  fi
  command -v pkg-config >/dev/null 2>&1 || commands=(pkg-config "${commands[@]}")
  for c in "${commands[@]}"; do
    command -v "$c" >/dev/null 2>&1 || echo "the command $c"
  done
  command -v pkg-config >/dev/null 2>&1 || return 0
  for m in "${modules[@]}"; do
    pkg-config --exists "$m" 2>/dev/null || echo "the library $m (pkg-config module)"
  done
}

# ranqua_install_packages play|test
ranqua_install_packages() {
  local need=("${RANQUA_PLAY_PACKAGES[@]}") missing
  [ "${1:-play}" = test ] && need+=("${RANQUA_TEST_PACKAGES[@]}")
  if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    mapfile -t missing < <(ranqua_missing_without_apt "${1:-play}")
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "ranqua: this system has no apt; please install:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    return 1
  fi
  mapfile -t missing < <(ranqua_missing_packages "${need[@]}")
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "ranqua: please install (as root): apt-get install ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  echo "ranqua: installing ${missing[*]}" >&2
  # apt's own errors reach the terminal; only its progress chatter is dropped. A failed update
  # (no network) may still leave lists good enough to install from.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null || true
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
    echo "ranqua: could not install: ${missing[*]}" >&2
    return 1
  }
}

# ranqua_configured DIR [cmake options...]: the folder's cache already holds every -DNAME=VALUE
# given (and nothing else is given), so configuring again would change nothing.
ranqua_configured() {
  local dir=$1 opt name value
  shift
  [ -f "$dir/CMakeCache.txt" ] || return 1
  for opt in "$@"; do
    case $opt in
    -D*=*) ;;
    *) return 1 ;;
    esac
    name=${opt#-D}
    value=${name#*=}
    name=${name%%=*}
    name=${name%%:*}
    [ "$(sed -n "s/^$name:[A-Z]*=//p" "$dir/CMakeCache.txt")" = "$value" ] || return 1
  done
}

# ranqua_build DIR [cmake options...] [-- TARGET...]: configures when the folder is new or an
# option is not yet in its cache (so that an option is never lost to an old cache), then builds
# the targets named (everything when none is) with every core.
ranqua_build() {
  local dir=$1 options=() targets=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    options+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  local log="$dir/.build.log"
  mkdir -p "$dir"
  if ! ranqua_configured "$dir" "${options[@]}"; then
    cmake -S . -B "$dir" "${options[@]}" >"$log" 2>&1 || {
      cat "$log" >&2
      return 1
    }
  fi
  cmake --build "$dir" -j"$(nproc)" "${targets[@]}" >"$log" 2>&1 || {
    cat "$log" >&2
    return 1
  }
}

# ranqua_build_to_play DIR: a first build leaves the tests out (GoogleTest is a test tool); an
# existing one stays as it is.
ranqua_build_to_play() {
  if [ -f "$1/CMakeCache.txt" ]; then ranqua_build "$1"; else ranqua_build "$1" -DRANQUA_TESTS=OFF; fi
}
