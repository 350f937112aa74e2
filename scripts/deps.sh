#!/bin/sh
# Installs, on first use, what building and testing the agent needs on a
# Debian 12 machine. Later runs find everything in place and return at once.
set -eu

packages="cmake make g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
    xvfb x11-utils imagemagick xdotool wixl msitools procps python3 prometheus prometheus-node-exporter"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "deps.sh: missing packages:$missing (run as root to install them)" >&2
    exit 1
fi
echo "deps.sh: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# Another apt run (a machine still installing) holds the dpkg lock: wait for it.
lock="-o DPkg::Lock::Timeout=600"
# shellcheck disable=SC2086
apt-get $lock update -q
# shellcheck disable=SC2086
apt-get $lock install -y -q --no-install-recommends $missing
