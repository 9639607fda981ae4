#!/bin/sh
# Set-up for a Debian 12 machine, run as root from anywhere:
#   scripts/bootstrap.sh run    install what is missing, build Release, start the solo game
#   scripts/bootstrap.sh test   install what is missing, build Release, run every test
# Idempotent: packages already present are not touched, and the build is incremental.
set -eu
cd "$(dirname "$0")/.."

packages="build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev libqt6opengl6-dev libgl-dev
  libjpeg62-turbo-dev libsimpleini-dev libicu-dev liblz4-dev
  libjpeg-turbo-progs
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev xvfb xauth
  at-spi2-core dbus-daemon python3-pyatspi
  libavahi-client-dev avahi-daemon avahi-utils iproute2 util-linux
  lintian desktop-file-utils appstream"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

cmake --preset release >/dev/null
cmake --build --preset release

case "${1:-run}" in
run)
    exec ./build/backgammon
    ;;
test)
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
