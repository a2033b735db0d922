#!/usr/bin/env bash
# The package as a user gets it: builds it, installs it with apt-get (as
# root), runs the installed programs from /usr/bin away from the checkout,
# validates the desktop entry, AppStream data, package and udev rule, then
# removes it and checks that nothing of it is left. Each step prints one
# "package:" line; any failure ends the script with a non-zero status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
app_id=io.github.tk410.Configurator
say() { echo "package: $*"; }
fail() { echo "package: FAIL: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
  say "SKIP (installing the package needs root)"
  exit 0
fi

# package.sh's lines are shown through this script's own stdout: reopening
# /dev/stderr (tee /dev/stderr) truncated or overwrote a log file there.
built=$("$root/scripts/package.sh") || { echo "$built"; fail "scripts/package.sh"; }
echo "$built"
deb=$(tail -n 1 <<<"$built")
[ -f "$deb" ] || fail "no package was built"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >/dev/null || fail "apt-get install $deb"
say "installed $(dpkg-query -W -f='${Package} ${Version}' tk410)"
mapfile -t files < <(dpkg -L tk410 | while read -r p; do [ -f "$p" ] && echo "$p"; done)

# The installed programs, from a folder far from the checkout, with a clean
# environment and a HOME of their own.
away=$(mktemp -d)
trap 'rm -rf "$away"' EXIT
mkdir -p "$away/home"
run() { (cd "$away" && env -i HOME="$away/home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"); }
run /usr/bin/tk410ctl --help >/dev/null || fail "tk410ctl --help"
say "ran /usr/bin/tk410ctl --help"
profiles=$(run /usr/bin/tk410ctl --data-dir "$away/data" profile list) || fail "tk410ctl profile list"
[ "$(wc -l <<<"$profiles")" -eq 5 ] || fail "tk410ctl profile list printed: $profiles"
say "ran /usr/bin/tk410ctl --data-dir $away/data profile list (5 profiles)"

# The window under Xvfb: its screenshot, its icon and its class.
run xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/tk410 --simulate wired --screenshot "$away/shot.png" \
  >"$away/gui.log" 2>&1 || { cat "$away/gui.log" >&2; fail "tk410 --screenshot"; }
[ -s "$away/shot.png" ] || fail "tk410 saved no screenshot"
say "ran /usr/bin/tk410 --simulate wired --screenshot ($(stat -c %s "$away/shot.png") bytes)"
wm_class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$app_id.desktop")
window_check="$root/scripts/check_window_icon.sh"
run xvfb-run -a "$window_check" "$wm_class" || fail "the window's icon or class"
say "the window has an icon and WM_CLASS $wm_class, as the desktop entry says"

# Validators: errors fail, warnings are listed.
desktop-file-validate "/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
say "desktop-file-validate: valid"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
say "appstreamcli validate: valid"
lintian_status=0
lintian_out=$(lintian --fail-on error "$deb" 2>&1) || lintian_status=$?
grep -v "root privileges" <<<"$lintian_out" | sed '/^$/d; s/^/  /' || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"
say "lintian: no errors"
rules=/usr/lib/udev/rules.d/70-tk410.rules
if udevadm verify --help >/dev/null 2>&1; then
  udevadm verify "$rules" || fail "udevadm verify"
  say "udevadm verify: valid"
else
  "$root/scripts/check_udev_rules.sh" "$rules" "$root/data/config.xml" || fail "the udev rule"
  say "udev rule parsed: valid (udevadm verify is not in this udev)"
fi

# Removal leaves nothing of the package behind.
apt-get purge -y -qq tk410 >/dev/null || fail "apt-get purge tk410"
left=0
for f in "${files[@]}"; do
  if [ -e "$f" ]; then echo "  left behind: $f" >&2; left=1; fi
done
[ "$left" -eq 0 ] || fail "files left after removal"
dpkg-query -W tk410 >/dev/null 2>&1 && fail "tk410 still known to dpkg"
say "removed: all ${#files[@]} files gone"
