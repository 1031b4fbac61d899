# Shared by build-image.sh and run.sh (sourced, not run): where the guest
# lives and how QEMU is started. Anything here that changes what the guest
# is or how it boots is part of the image key, so editing it rebuilds the
# image and its saved machine state.

guest_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_dir=$(cd "$guest_dir/../.." && pwd)
cache_dir=${OSTRABEL_GUEST_CACHE:-$repo_dir/.cache/guest}

image=$cache_dir/guest.qcow2
kernel=$cache_dir/vmlinuz
initrd=$cache_dir/initrd.img
warm_state=$cache_dir/warm.state.zst
stamp=$cache_dir/stamp

guest_die() { echo "guest: $*" >&2; exit 125; }

guest_need_tools() {
    local t missing=()
    for t in "$@"; do command -v "$t" >/dev/null 2>&1 || missing+=("$t"); done
    if ((${#missing[@]})); then
        guest_die "missing host tools: ${missing[*]} (from the Debian packages qemu-system-x86, qemu-utils, debootstrap, e2fsprogs, zstd)"
    fi
}

# The key of the image: the files that make it and the QEMU that saved its
# machine state (a state loads only into the same QEMU build).
guest_key() {
    {
        cat "$guest_dir/build-image.sh" "$guest_dir/common.sh" "$guest_dir/guest-init"
        qemu-system-x86_64 --version | head -n 1
    } | sha256sum | cut -d' ' -f1
}

guest_image_current() {
    [[ -f $stamp && -f $image && -f $kernel && -f $initrd && -f $warm_state ]] &&
        [[ $(cat "$stamp") == "$(guest_key)" ]]
}

# guest_qemu_args MODE CTL_DIR WORK_DIR SERIAL1_CHARDEV_SPEC
# Fills the array qemu_args. Every boot (set-up, warm, run) has the same
# machine and devices, so a machine state saved by one loads into another.
#   ttyS0: kernel console, to CTL_DIR/console.log
#   ttyS1: the handshake line with run.sh (see guest-init)
#   9p "ostrabel-ctl":  CTL_DIR (command in, output and exit status out)
#   9p "ostrabel-work": WORK_DIR, mounted at /work
guest_qemu_args() {
    local mode=$1 ctl=$2 work=$3 serial1=$4
    qemu_args=(
        -machine pc -accel tcg -cpu max,-smap -m 2048 -smp 2
        -nodefaults -display none -no-user-config -no-reboot -nic none
        -kernel "$kernel" -initrd "$initrd"
        -append "root=/dev/vda ro rootfstype=ext4 fsck.mode=skip console=ttyS0 quiet loglevel=3 panic=-1 mitigations=off init=/sbin/ostrabel-init ostrabel.mode=$mode"
        -drive "file=$image,if=virtio,format=qcow2,cache=unsafe,discard=unmap"
        -serial "file:$ctl/console.log"
        -chardev "$serial1,id=hs" -serial chardev:hs
        -fsdev "local,id=fsctl,path=$ctl,security_model=none"
        -device virtio-9p-pci,fsdev=fsctl,mount_tag=ostrabel-ctl
        -fsdev "local,id=fswork,path=$work,security_model=none"
        -device virtio-9p-pci,fsdev=fswork,mount_tag=ostrabel-work
    )
}
