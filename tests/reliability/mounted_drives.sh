#!/usr/bin/env bash
# Mounts the drives that the mounted-drive tests save onto, maps them to drive letters of the Wine
# prefix, runs the tests and takes everything down again. Needs the right to mount (root); without
# it the run is skipped (exit code 77).
#   full drive:   a tmpfs of 256 KiB that the tests fill up
#   locked drive: two copies of the demo installation, one with htdocs\velko and one with
#                 apache\conf bind-mounted read-only
# Usage: mounted_drives.sh <test program> <demo installation>
set -euo pipefail
program=$1
demo=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
devices=${WINEPREFIX:-$root/build/test-prefix}/dosdevices

base=$(mktemp -d /tmp/velko-drives.XXXXXX)
mounted=()
links=()
take_down() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || umount -l "${mounted[i]}"; done
    rm -f "${links[@]}"
    rm -rf "$base"
}
trap take_down EXIT
trap "exit 143" TERM INT

mount_or_skip() {
    local target=${*: -1}
    if ! mount "$@" 2>"$base/mount-error"; then
        echo "Skipped: this machine does not let the tests mount a file system: $(cat "$base/mount-error")"
        exit 77
    fi
    mounted+=("$target")
}

read_only_bind() {
    mount_or_skip --bind "$1" "$1"
    mount -o remount,bind,ro "$1"
}

# Links the directory as the first free drive letter; sets drive to it as "X:\".
map_drive() {
    local letter
    for letter in t u v w x y s r q p; do
        [[ -e $devices/$letter: || -L $devices/$letter: ]] && continue
        ln -s "$1" "$devices/$letter:"
        links+=("$devices/$letter:")
        drive="${letter^^}:\\"
        return
    done
    echo "no free drive letter in $devices" >&2
    exit 1
}

mkdir -p "$base/full" "$base/locked"
mount_or_skip -t tmpfs -o size=256k velko-full "$base/full"
mount_or_skip -t tmpfs -o size=2m velko-locked "$base/locked"
for copy in settings-read-only conf-read-only; do
    mkdir -p "$base/locked/$copy"
    cp -R "$demo" "$base/locked/$copy/xampp"
    rm "$base/locked/$copy/xampp/xampp-control.ini"  # as the fixture's demo: the three files alone
done
read_only_bind "$base/locked/settings-read-only/xampp/htdocs/velko"
read_only_bind "$base/locked/conf-read-only/xampp/apache/conf"

map_drive "$base/full"
export VELKO_FULL_DRIVE=$drive
map_drive "$base/locked"
export VELKO_LOCKED_DRIVE=$drive
echo "full drive $VELKO_FULL_DRIVE, locked drive $VELKO_LOCKED_DRIVE"

"$root/scripts/wine-exec" "$program"
