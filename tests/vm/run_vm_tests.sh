#!/usr/bin/env bash
# Runs the real-kernel HID test: boots Debian's kernel in QEMU (software
# emulation) with a small initramfs holding busybox, systemd-udevd, the
# kernel's hid, uhid and hid-generic modules, tk410ctl and tk410-uhid-mouse,
# and runs the scenarios of tests/vm/init.sh there. The virtual mouse and the
# Nordic receiver sit on /dev/uhid, so tk410ctl goes through hidapi's hidraw
# backend, the kernel's hidraw node, udev events and the node's access rights.
#
# Usage: tests/vm/run_vm_tests.sh [BUILD_DIR]
#
# Prints one line per scenario (PASS name / FAIL name: reason / SKIP name:
# reason). Exit 0 when nothing failed; when QEMU, the packages or the kernel
# cannot be had it prints "SKIP vm: <reason>" and exits 0.
# The kernel package is downloaded once into TK410_VM_CACHE
# (default ~/.cache/tk410-vm).
set -uo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build}" 2>/dev/null && pwd)" || build=""
cache="${TK410_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tk410-vm}"
boot_timeout="${TK410_VM_TIMEOUT:-100}"
started=$(date +%s)

skip() {
  echo "SKIP vm: $*"
  exit 0
}

[ -n "$build" ] && [ -x "$build/bin/tk410ctl" ] && [ -x "$build/bin/tk410-uhid-mouse" ] ||
  skip "tk410ctl and tk410-uhid-mouse are not built (build directory ${1:-$root/build})"
[ "$(uname -m)" = "x86_64" ] || skip "the VM test boots an x86-64 kernel; this machine is $(uname -m)"

# ------------------------------------------------------------ host packages
find_udevd() {
  for p in /usr/lib/systemd/systemd-udevd /lib/systemd/systemd-udevd; do
    [ -x "$p" ] && { echo "$p"; return 0; }
  done
  return 1
}
have_tools() {
  command -v qemu-system-x86_64 >/dev/null && command -v cpio >/dev/null &&
    command -v udevadm >/dev/null && find_udevd >/dev/null &&
    [ -x /bin/busybox ] && /bin/busybox --list | grep -qx su &&
    ! ldd /bin/busybox >/dev/null 2>&1
}
if ! have_tools; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo -n"
  echo "vm: installing qemu-system-x86 busybox-static cpio udev"
  export DEBIAN_FRONTEND=noninteractive
  { $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends \
      qemu-system-x86 busybox-static cpio udev; } >/dev/null 2>&1 ||
    skip "qemu-system-x86, busybox-static, cpio or udev could not be installed with apt-get"
  have_tools || skip "qemu-system-x86_64, static busybox, cpio or systemd-udevd still missing"
fi
udevd="$(find_udevd)"

# ------------------------------------------------------------ kernel (cached)
mkdir -p "$cache" || skip "cannot create the cache folder $cache"
package="$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')"
[ -n "$package" ] || package="$(cd "$cache" && ls -d linux-image-* 2>/dev/null | tail -1)"
[ -n "$package" ] || skip "apt-cache knows no linux-image-amd64 and nothing is cached"
kdir="$cache/$package"
if [ ! -f "$kdir/ready" ]; then
  rm -rf "$kdir" && mkdir -p "$kdir/deb" || skip "cannot write $kdir"
  ( cd "$kdir/deb" && apt-get download "$package" >/dev/null 2>&1 ) ||
    skip "apt-get download $package failed (no network or no package lists)"
  dpkg-deb --fsys-tarfile "$kdir"/deb/*.deb |
    tar -x -C "$kdir" --wildcards './boot/vmlinuz-*' \
      '*/kernel/drivers/hid/hid.ko*' '*/kernel/drivers/hid/uhid.ko*' \
      '*/kernel/drivers/hid/hid-generic.ko*' 2>/dev/null ||
    skip "the kernel package $package could not be unpacked"
  rm -rf "$kdir/deb"
  touch "$kdir/ready"
fi
kernel="$(ls "$kdir"/boot/vmlinuz-* 2>/dev/null | head -1)"
[ -n "$kernel" ] || skip "no vmlinuz in $package"

# ------------------------------------------------------------ initramfs
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rootfs="$work/root"
mkdir -p "$rootfs"/{bin,dev,proc,sys,run,tmp,etc/udev/rules.d,lib/modules,opt/tk410/bin}
cp /bin/busybox "$rootfs/bin/busybox"
find "$kdir/lib/modules" -name '*.ko*' -exec cp {} "$rootfs/lib/modules/" \;
for ko in "$rootfs"/lib/modules/*.ko.xz; do [ -e "$ko" ] && xz -d "$ko"; done
for ko in "$rootfs"/lib/modules/*.ko.zst; do [ -e "$ko" ] && zstd -q -d --rm "$ko"; done

bin="$rootfs/opt/tk410/bin"
cp "$build/bin/tk410ctl" "$build/bin/tk410-uhid-mouse" "$bin/"
cp "$build/bin/config.xml" "$bin/"
cp -r "$build/bin/language" "$bin/"
cp "$udevd" "$rootfs/bin/systemd-udevd"
cp "$(command -v udevadm)" "$rootfs/bin/udevadm"
# Shared libraries by ldd, at their own paths (the loader included).
for exe in "$bin/tk410ctl" "$bin/tk410-uhid-mouse" "$udevd" "$(command -v udevadm)"; do
  ldd "$exe" | awk '/=> \// {print $3} /^\t\// {print $1}'
done | sort -u | while read -r lib; do
  cp -L --parents "$lib" "$rootfs/" 2>/dev/null || true
done
# One library tree whichever of /lib and /usr/lib ldd named (RUNPATHs name /usr/lib).
mkdir -p "$rootfs/lib" "$rootfs/usr"
if [ -d "$rootfs/usr/lib" ]; then cp -a "$rootfs/usr/lib/." "$rootfs/lib/" && rm -rf "$rootfs/usr/lib"; fi
ln -s ../lib "$rootfs/usr/lib"
echo 'root:x:0:0:root:/root:/bin/sh' >"$rootfs/etc/passwd"
echo 'nobody:x:65534:65534:nobody:/nonexistent:/bin/sh' >>"$rootfs/etc/passwd"
printf 'root:x:0:\nnogroup:x:65534:\n' >"$rootfs/etc/group"
cp "$root/tests/vm/init.sh" "$rootfs/init"
chmod 755 "$rootfs/init"
( cd "$rootfs" && find . | cpio -o -H newc --quiet | gzip -1 >"$work/initrd.gz" ) ||
  skip "the initramfs could not be built"

# ------------------------------------------------------------ boot
log="$work/console.log"
timeout "$boot_timeout" qemu-system-x86_64 -accel tcg -M pc -m 512 -smp 1 -nodefaults \
  -no-reboot -display none -serial stdio -kernel "$kernel" -initrd "$work/initrd.gz" \
  -append 'console=ttyS0 quiet panic=-1' </dev/null >"$log" 2>&1
qemu_rc=$?
tr -d '\r' <"$log" >"$log.txt"

grep -E '^(PASS|FAIL|SKIP) ' "$log.txt"
failed=0
grep -q '^FAIL ' "$log.txt" && failed=1
if ! grep -q '^VM-DONE' "$log.txt"; then
  echo "FAIL vm: the VM did not finish its scenarios (qemu exit $qemu_rc); console:"
  tail -40 "$log.txt"
  failed=1
elif [ "$failed" -ne 0 ] || [ -n "${TK410_VM_VERBOSE:-}" ]; then
  echo "---- VM console"
  cat "$log.txt"
fi
echo "vm: $(($(date +%s) - started)) s (kernel $package)"
exit "$failed"
