#!/bin/bash
# Builds the test guest that runs 32-bit Windows programs: Debian 12 amd64
# with the i386 architecture and wine32, booted by run.sh under
# qemu-system-x86_64 (software emulation). Everything comes from Debian's
# packages, fetched from the mirror the machine's own apt configuration names
# (or $OSTRABEL_GUEST_MIRROR).
#
# Usage: scripts/guest/build-image.sh [--force]
#
# Output, in <repo>/.cache/guest (or $OSTRABEL_GUEST_CACHE):
#   guest.qcow2      root file system, with a 32-bit Wine prefix in /root/.wine32
#   vmlinuz, initrd.img
#   warm.state.zst   machine state saved after Wine has started, waiting for
#                    a command (run.sh restores it instead of booting)
#   stamp            the key these were built for
# Does nothing when the stamp matches the key (these scripts and the QEMU
# version), unless --force. Needs root (debootstrap, chroot).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

force=0
[[ ${1-} == --force ]] && force=1

guest_need_tools qemu-system-x86_64 qemu-img debootstrap mke2fs zstd flock chroot mkfifo timeout
[[ $(id -u) == 0 ]] || guest_die "building the image needs root (debootstrap, chroot)"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
[[ -r $keyring ]] || guest_die "missing $keyring (package debian-archive-keyring)"

mkdir -p "$cache_dir"
exec 9>"$cache_dir/.lock"
flock -n 9 || { echo "guest: waiting for the image lock (another build or run)"; flock 9; }
if ((!force)) && guest_image_current; then
    exit 0
fi

# "URI SUITE" for every enabled deb source of the machine's apt configuration.
apt_sources() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -r $f ]] || continue
        sed -e 's/#.*//' "$f" | awk '$1 == "deb" {
            i = 2
            if ($i ~ /^\[/) { while ($i !~ /\]$/ && i < NF) i++; i++ }
            print $i, $(i + 1) }'
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -r $f ]] || continue
        awk 'BEGIN { RS = ""; FS = "\n" }
        {
            types = ""; uris = ""; suites = ""; enabled = "yes"
            for (l = 1; l <= NF; l++) {
                line = $l
                if (line ~ /^#/) continue
                split(line, kv, ":")
                key = tolower(kv[1]); val = substr(line, length(kv[1]) + 2)
                gsub(/^[ \t]+|[ \t]+$/, "", val)
                if (key == "types") types = val
                else if (key == "uris") uris = val
                else if (key == "suites") suites = val
                else if (key == "enabled") enabled = tolower(val)
            }
            if (enabled == "no" || (" " types " ") !~ / deb /) next
            nu = split(uris, u, /[ \t]+/); ns = split(suites, s, /[ \t]+/)
            for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) print u[i], s[j]
        }' "$f"
    done
}

# The archive and its security updates, as the machine's apt reaches them.
pick_mirrors() {
    local sources
    sources=$(apt_sources | awk '$1 ~ /^https?:\/\// { sub(/\/+$/, "", $1); print }')
    mirror=${OSTRABEL_GUEST_MIRROR:-$(awk '$2 !~ /security/ { print $1; exit }' <<<"$sources")}
    security=${OSTRABEL_GUEST_SECURITY_MIRROR:-$(awk '$2 ~ /security/ { print $1; exit }' <<<"$sources")}
    [[ -n $mirror ]] || guest_die "no Debian mirror in the machine's apt configuration (set OSTRABEL_GUEST_MIRROR)"
}

build=$cache_dir/build
root=$build/rootfs

unmount_chroot() {
    local m
    for m in proc sys; do
        mountpoint -q "$root/$m" 2>/dev/null && umount -l "$root/$m"
    done
    return 0
}

cleanup() {
    local rc=$? p
    set +e
    unmount_chroot
    if [[ -n ${qemu_pid-} ]] && kill -0 "$qemu_pid" 2>/dev/null; then
        kill "$qemu_pid" 2>/dev/null
    fi
    for p in ${reader_pids-}; do kill "$p" 2>/dev/null; done
    ((rc == 0)) || echo "guest: image build failed; logs in $build" >&2
    exit "$rc"
}
trap cleanup EXIT

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }
apt_in_root() { in_root apt-get -y -q -o Acquire::Check-Valid-Until=false \
    -o APT::Install-Recommends=false -o Dpkg::Use-Pty=false "$@"; }

phase_start=$SECONDS
phase() { echo "guest: [$((SECONDS - phase_start)) s] $*"; }

# ---- root file system ---------------------------------------------------
pick_mirrors
unmount_chroot
rm -rf --one-file-system "$build"
mkdir -p "$build"
phase "debootstrap bookworm from $mirror"
debootstrap --variant=minbase --arch=amd64 --keyring="$keyring" \
    bookworm "$root" "$mirror" >"$build/debootstrap.log" 2>&1 ||
    { tail -n 20 "$build/debootstrap.log" >&2; guest_die "debootstrap failed"; }

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"

{
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [[ -n $security ]] && echo "deb $security bookworm-security main"
} >"$root/etc/apt/sources.list"
# Only what running Windows programs needs: no documentation, no translations.
cat >"$root/etc/dpkg/dpkg.cfg.d/01-slim" <<'EOF'
path-exclude=/usr/share/doc/*
path-include=/usr/share/doc/*/copyright
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
path-exclude=/usr/share/locale/*
path-include=/usr/share/locale/locale.alias
EOF
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
echo ostrabel-guest >"$root/etc/hostname"

phase "packages"
in_root dpkg --add-architecture i386
apt_in_root update >"$build/apt.log" 2>&1
apt_in_root install initramfs-tools zstd >>"$build/apt.log" 2>&1 ||
    { tail -n 30 "$build/apt.log" >&2; guest_die "installing initramfs-tools failed"; }
printf '%s\n' virtio virtio_pci virtio_blk 9p 9pnet 9pnet_virtio >>"$root/etc/initramfs-tools/modules"
apt_in_root install linux-image-amd64 wine wine32:i386 xvfb >>"$build/apt.log" 2>&1 ||
    { tail -n 30 "$build/apt.log" >&2; guest_die "installing the kernel and Wine failed"; }
apt_in_root clean
rm -rf "$root"/var/lib/apt/lists/* "$root"/var/cache/apt/*.bin

install -m 755 "$guest_dir/guest-init" "$root/sbin/ostrabel-init"
mkdir -p "$root/work"
kver=$(ls "$root/lib/modules" | sort -V | tail -n 1)
cp "$root/boot/vmlinuz-$kver" "$build/vmlinuz"
cp "$root/boot/initrd.img-$kver" "$build/initrd.img"
unmount_chroot

# ---- disk image ---------------------------------------------------------
phase "disk image"
used_mb=$(du -sm --one-file-system "$root" | cut -f1)
mke2fs -q -t ext4 -L ostrabel-guest -d "$root" -F "$build/root.raw" \
    "$((used_mb * 5 / 4 + 1024))M" >"$build/mke2fs.log" 2>&1 ||
    { cat "$build/mke2fs.log" >&2; guest_die "mke2fs failed"; }
qemu-img convert -f raw -O qcow2 "$build/root.raw" "$build/guest.qcow2"
rm -f "$build/root.raw"
rm -rf --one-file-system "$root"

# Boots from the build folder, then moves the finished files into place.
image=$build/guest.qcow2 kernel=$build/vmlinuz initrd=$build/initrd.img
mkdir -p "$build/ctl" "$build/share"

# ---- first boot: the Wine prefix, written into the image ----------------
phase "first boot: creating the Wine prefix"
guest_qemu_args setup "$build/ctl" "$build/share" null
timeout 1800 qemu-system-x86_64 "${qemu_args[@]}" ||
    guest_die "first boot failed (exit $?); see $build/ctl/console.log"
grep -q 'wine prefix ready' "$build/ctl/console.log" ||
    guest_die "no Wine prefix; see $build/ctl/console.log"
mv "$build/ctl/console.log" "$build/setup-console.log"
qemu-img convert -f qcow2 -O qcow2 "$build/guest.qcow2" "$build/compact.qcow2"
mv -f "$build/compact.qcow2" "$build/guest.qcow2"

# ---- warm boot: save the machine state once Wine is up ------------------
phase "warm boot: saving the machine state"
[[ $build != *[\'\"]* ]] || guest_die "the cache path must not contain quotes: $build"
mkfifo "$build/hs.in" "$build/hs.out" "$build/mon.in" "$build/mon.out"
guest_qemu_args warm "$build/ctl" "$build/share" "pipe,path=$build/hs"
qemu-system-x86_64 "${qemu_args[@]}" -snapshot \
    -chardev "pipe,id=mon,path=$build/mon" -mon chardev=mon,mode=readline &
qemu_pid=$!
cat "$build/hs.out" >"$build/hs.log" &
reader_pids=$!
cat "$build/mon.out" >"$build/mon.log" &
reader_pids+=" $!"
deadline=$((SECONDS + 1200))
until grep -q ready "$build/hs.log"; do
    kill -0 "$qemu_pid" 2>/dev/null || guest_die "warm boot ended early; see $build/ctl/console.log"
    ((SECONDS < deadline)) || guest_die "warm boot timed out; see $build/ctl/console.log"
    sleep 0.5
done
{
    echo stop
    echo "migrate \"exec:zstd -q -3 -T1 -o '$build/warm.state.zst'\""
    echo quit
} >"$build/mon.in"
timeout 600 tail --pid="$qemu_pid" -f /dev/null || guest_die "saving the machine state timed out"
qemu_pid=
wait
[[ -s $build/warm.state.zst ]] || guest_die "no machine state saved; see $build/mon.log"

for f in guest.qcow2 vmlinuz initrd.img warm.state.zst; do
    mv -f "$build/$f" "$cache_dir/$f"
done
guest_key >"$cache_dir/stamp"
rm -rf --one-file-system "$build"
phase "done: $(du -sh "$cache_dir" | cut -f1) in $cache_dir"
