#!/usr/bin/env bash
# setup_test.sh: the set-up that ./play and ./test share, run as a normal user with `sudo` and
# `apt-get` replaced by stand-ins that record their calls. With everything installed nothing is
# called and nothing printed; a missing test tool is installed by ./test only; apt's own error
# reaches the player; without apt, pkg-config and PATH decide and the missing ones are listed.
# Usage: setup_test.sh [SETUP_SH]   (as root it re-runs itself as a throw-away normal user)
set -euo pipefail
setup=${1:-$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh}
user=ranqua-setup-test

if [ "$(id -u)" -eq 0 ]; then
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /bin/bash "$user"
  # Copies the user can read wherever the tree lives (a root-only home, say).
  copy=$(mktemp -d "${TMPDIR:-/tmp}/ranqua-setup-copy.XXXXXX")
  cp "$0" "$copy/setup_test.sh"
  cp "$setup" "$copy/setup.sh"
  chmod -R a+rX "$copy"
  rc=0
  runuser -u "$user" -- bash "$copy/setup_test.sh" "$copy/setup.sh" || rc=$?
  rm -rf "$copy"
  exit $rc
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/ranqua-setup.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in calls out; do [ -s "$tmp/$f" ] && { echo "--- $f:" >&2; cat "$tmp/$f" >&2; }; done
  exit 1
}

# Stand-ins: each records its command line; apt-get fails when told to, with apt's own words.
mkdir -p "$tmp/bin"
for tool in sudo apt-get; do
  cat >"$tmp/bin/$tool" <<EOF
#!/bin/sh
echo "$tool \$*" >>"$tmp/calls"
if [ "$tool" = sudo ]; then exec "\$@"; fi
if [ -n "\${FAKE_APT_ERROR:-}" ] && [ "\$1" = install ]; then echo "\$FAKE_APT_ERROR" >&2; exit 100; fi
exit 0
EOF
done
# dpkg-query that hides the packages named in HIDE_PACKAGES, as if they were not installed.
real_dpkg_query=$(command -v dpkg-query)
cat >"$tmp/bin/dpkg-query" <<EOF
#!/bin/sh
"$real_dpkg_query" "\$@" | grep -vE "^(\${HIDE_PACKAGES:-^}) "
EOF
chmod +x "$tmp/bin/"*

# run MODE [VAR=value...]: the set-up as ./play (MODE play) or ./test (MODE test) runs it.
run() {
  local mode=$1
  shift
  : >"$tmp/calls"
  rc=0
  env "$@" PATH="$tmp/bin:$PATH" bash -c 'source "$1"; ranqua_install_packages "$2"' _ \
    "$setup" "$mode" >"$tmp/out" 2>&1 || rc=$?
}

for mode in play test; do
  run "$mode"
  [ $rc -eq 0 ] || fail "$mode: set-up failed with everything installed"
  [ ! -s "$tmp/calls" ] || fail "$mode: called sudo or apt-get with everything installed"
  [ ! -s "$tmp/out" ] || fail "$mode: printed something with everything installed"
done

# A test tool missing: ./play does not care, ./test installs that one package through sudo.
run play HIDE_PACKAGES=xdotool
[ $rc -eq 0 ] && [ ! -s "$tmp/calls" ] || fail "play: reached for a test tool"
run test HIDE_PACKAGES=xdotool
[ $rc -eq 0 ] || fail "test: installing a missing tool failed"
grep -qx 'sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xdotool' \
  "$tmp/calls" || fail "test: xdotool was not installed alone through sudo"

# A failed install shows apt's own message and stops.
run play HIDE_PACKAGES='cmake|libsdl2-dev' FAKE_APT_ERROR='E: Unable to locate package libsdl2-dev'
[ $rc -ne 0 ] || fail "play: a failed install was reported as success"
grep -qF 'E: Unable to locate package libsdl2-dev' "$tmp/out" || fail "play: apt's message was lost"
grep -qF 'install -y -qq --no-install-recommends cmake libsdl2-dev' "$tmp/calls" ||
  fail "play: did not ask for exactly the two missing packages"

# No apt: a PATH with the build and test tools but neither dpkg-query nor apt-get.
mkdir -p "$tmp/noapt"
for c in cmake c++ make Xvfb xdotool xprop import sox lame python3 pgrep desktop-file-validate \
  appstreamcli clang-format; do
  ln -s "$(command -v "$c")" "$tmp/noapt/$c"
done
cat >"$tmp/noapt/pkg-config" <<EOF
#!/bin/sh
# --exists MODULE: present unless named in HIDE_MODULES.
case " \${HIDE_MODULES:-} " in *" \$2 "*) exit 1 ;; esac
exec "$(command -v pkg-config)" "\$@"
EOF
chmod +x "$tmp/noapt/pkg-config"
noapt() {
  rc=0
  env "$@" PATH="$tmp/noapt" "$BASH" -c 'source "$1"; ranqua_install_packages "$2"' _ \
    "$setup" "$mode" >"$tmp/out" 2>&1 || rc=$?
}
for mode in play test; do
  noapt
  [ $rc -eq 0 ] && [ ! -s "$tmp/out" ] || fail "$mode without apt: stopped though nothing is missing"
done
mode=play
noapt HIDE_MODULES=gtest
[ $rc -eq 0 ] || fail "play without apt: stopped for a test library"
noapt HIDE_MODULES=sdl2
[ $rc -ne 0 ] && grep -q sdl2 "$tmp/out" || fail "play without apt: went on without SDL"
mode=test
noapt HIDE_MODULES='sdl2 gtest'
[ $rc -ne 0 ] && grep -q sdl2 "$tmp/out" && grep -q gtest "$tmp/out" ||
  fail "test without apt: the missing libraries were not listed"
rm "$tmp/noapt/xdotool"
noapt
[ $rc -ne 0 ] && grep -q xdotool "$tmp/out" || fail "test without apt: a missing command was not listed"
echo "passed"
