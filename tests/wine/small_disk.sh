#!/usr/bin/env bash
# Mounts a small tmpfs as C:\boansetting small disk of the Wine prefix, runs
# the VirtualStore move's small-disk test on it, and unmounts it. Mounting
# needs root (CI runs as root); without it the test is reported skipped.
#   usage: small_disk.sh PREFIX WINE-RUN TEST-PROGRAM.exe
set -uo pipefail
prefix=$1 wine_run=$2 program=$3
"$wine_run" --unmanaged "$prefix" cmd /c exit 0 >/dev/null 2>&1  # makes the prefix first
disk="$prefix/drive_c/boansetting small disk"
mkdir -p "$disk"
if ! mount -t tmpfs -o size=1m tmpfs "$disk"; then
  echo "small disk: cannot mount a tmpfs at $disk (needs root); skipped"
  exit 77
fi
trap 'umount "$disk"' EXIT
touch "$disk/mounted-by-ctest"
"$wine_run" --unmanaged "$prefix" "$program" --gtest_filter='가상폴더옮김_작은디스크.*'
