#!/bin/sh
# Installs everything needed to build, run and test the program on Debian 12.
# Safe to run again: apt-get skips what is already installed.
set -eu

# dbus-daemon brings dbus-run-session, which gives the D-Bus tests a session bus of their own.
PACKAGES="build-essential cmake ninja-build pkg-config git \
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
  qt6-translations-l10n libqt6svg6 libgl-dev \
  libcmark-gfm-dev libcmark-gfm-extensions-dev libgit2-dev libjs-highlight.js qt6-declarative-dev \
  fonts-dejavu-core xvfb xauth imagemagick poppler-utils dbus dbus-x11 dbus-daemon at-spi2-core python3-pyatspi \
  dpkg-dev file desktop-file-utils appstream help2man librsvg2-bin lintian groff-base \
  clang clang-format clang-tidy libclang-rt-14-dev"

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $PACKAGES
