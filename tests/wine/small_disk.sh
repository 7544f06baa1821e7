#!/usr/bin/env bash
# Mounts a 1 MB tmpfs as C:\boansetting small disk of the Wine prefix for the
# move's small-disk test. Needs root (CI has it); without, reports a skip.
#   usage: small_disk.sh PREFIX WINE-RUN TEST-PROGRAM.exe
set -uo pipefail
prefix=$1 wine_run=$2 program=$3
"$wine_run" --unmanaged "$prefix" cmd /c exit 0 >/dev/null 2>&1  # makes the prefix first
disk="$prefix/drive_c/boansetting small disk"
mkdir -p "$disk"
mount -t tmpfs -o size=1m tmpfs "$disk" || { echo "small disk: cannot mount a tmpfs at $disk; skipped"; exit 77; }
trap 'umount "$disk"' EXIT
touch "$disk/mounted-by-ctest"
"$wine_run" --unmanaged "$prefix" "$program" --gtest_filter='가상폴더옮김_작은디스크.*'
