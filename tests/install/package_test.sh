#!/usr/bin/env bash
# package_test.sh: builds the Debian package from a clean copy of the source tree, has lintian
# check it (no error, no warning), unpacks it into an empty folder, and plays the unpacked game
# under a private X server with an empty HOME: the window shows, a move is made, Exit leaves.
# Usage: package_test.sh SOURCE_DIR BUILD_DIR   (exit code 77: skipped)
source "$(dirname "$0")/../e2e/lib.sh"
src=$(cd "$1" && pwd)
if ! command -v dpkg-buildpackage >/dev/null || ! command -v lintian >/dev/null; then
  echo "SKIPPED: dpkg-buildpackage or lintian is missing (./test installs them)" >&2
  exit 77
fi
e2e_init package "$2"
board() { python3 "$E2E_DIR/board.py" "$@"; }

# A clean tree: what git knows (tracked, or new and not ignored), nothing from any build.
tree=$E2E_TMP/src/ranqua
mkdir -p "$tree"
if git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
  git -C "$src" ls-files -z -co --exclude-standard | (cd "$src" && tar --null -T - -cf -) |
    tar -xf - -C "$tree"
else
  tar -C "$src" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -xf - -C "$tree"
fi
version=$(sed -n '1s/^ranqua (\([^)]*\)).*/\1/p' "$tree/debian/changelog")
e2e_log "building ranqua $version"
start=$SECONDS
(cd "$tree" && dpkg-buildpackage -us -uc -b -J"$(nproc)") >"$E2E_TMP/build.log" 2>&1 || {
  tail -n 40 "$E2E_TMP/build.log" >&2
  e2e_fail "dpkg-buildpackage failed"
}
e2e_log "package built in $((SECONDS - start)) s"
grep -qE '^100% tests passed, 0 tests failed out of [1-9]' "$E2E_TMP/build.log" ||
  e2e_fail "the package build ran none of the headless tests"
deb=$E2E_TMP/src/ranqua_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || e2e_fail "no $(basename "$deb")"

lintian "$deb" >"$E2E_TMP/lintian.out" 2>&1 || true
cat "$E2E_TMP/lintian.out" >&2
! grep -qE '^[EW]: ' "$E2E_TMP/lintian.out" || e2e_fail "lintian reports errors or warnings"

# The games layout, and everything a desktop needs to offer the game.
root=$E2E_TMP/root
mkdir "$root"
dpkg-deb -x "$deb" "$root"
for f in usr/games/ranqua usr/lib/games/ranqua/ranqua usr/share/games/ranqua/Internet/internet.txt \
  usr/share/applications/net.ranqua.Ranqua.desktop usr/share/metainfo/net.ranqua.Ranqua.metainfo.xml \
  usr/share/man/man6/ranqua.6.gz usr/share/icons/hicolor/scalable/apps/ranqua.svg \
  usr/share/icons/hicolor/48x48/apps/ranqua.png usr/share/doc/ranqua/copyright; do
  [ -e "$root/$f" ] || e2e_fail "missing from the package: $f"
done
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/net.ranqua.Ranqua.metainfo.xml" ||
  e2e_fail "the metainfo does not name version $version"
zcat "$root/usr/share/man/man6/ranqua.6.gz" | head -n 1 | grep -qF "Ranqua $version" ||
  e2e_fail "the manual page does not name version $version"
tracks=("$root"/usr/share/games/ranqua/music/*.mp3)
[ ${#tracks[@]} -ge 4 ] && [ -f "${tracks[0]}" ] || e2e_fail "the package carries no soundtrack"

# The unpacked game, started as the desktop entry would, finds its program and data itself.
E2E_LAUNCHER=$root/usr/games/ranqua
E2E_PROGRAM=$(realpath "$root/usr/lib/games/ranqua/ranqua")
e2e_start_game
[ -f "$E2E_GAMEDIR/Internet/internet.txt" ] || e2e_fail "the game folder was not prepared"
[ "$(readlink -f "$E2E_MUSICDIR/$(basename "${tracks[0]}")")" = "$(realpath "${tracks[0]}")" ] ||
  e2e_fail "the first start did not link the packaged tracks"
e2e_wait_idle
e2e_click_button new
e2e_wait_idle
e2e_click_button save
first=$(e2e_wait_value_change Game -)
read -r fc fr tc tr <<<"$(board plan "$first")"
e2e_click_cell "$fc" "$fr"
e2e_wait_idle
e2e_click_cell "$tc" "$tr"
e2e_wait_idle
e2e_click_button save
second=$(e2e_wait_value_change Game "$first")
board check-move "$first" "$second" "$fc" "$fr" "$tc" "$tr" || e2e_fail "the move did not happen"
e2e_shot played
e2e_click_button exit
e2e_wait_exit
e2e_log "passed"
