#!/usr/bin/env bash
# Installs the Debian packages the build, the player and the tests need.
# One list, kept here only; packages already present are skipped so that a
# second run costs nothing.
set -euo pipefail

PACKAGES=(
  # toolchain
  cmake ninja-build g++ pkg-config clang-format
  # libraries
  qt6-base-dev libmpv-dev libsqlcipher-dev sqlcipher
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libavfilter-dev libswresample-dev
  libx11-dev libxcb1-dev
  # the engine's guess of a subtitle file's encoding
  libuchardet-dev
  libgtest-dev libgmock-dev libbenchmark-dev googletest
  # 32-bit loader tests: a 32-bit host (run by qemu where the kernel will not) and real PE32 DLLs
  g++-multilib gcc-mingw-w64-i686 binutils-mingw-w64-i686 qemu-user
  # demo media, display for the end-to-end tests, fonts for the captions
  ffmpeg xvfb xauth openbox xcompmgr trayer xdotool x11-utils
  fonts-wqy-microhei
  # the desktop's media controls: a private session bus and an MPRIS client for the tests
  dbus-daemon playerctl
  # the lock-key state in the hotkey tests (xset)
  x11-xserver-utils
  # iconv and its GB18030 and Big5 converters: the lyric reader decodes with them, the lyric
  # tests make their fixtures with them
  libc-bin libc6
  # file associations: the desktop's own readers and checkers of desktop entries and mimeapps.list
  xdg-utils desktop-file-utils libglib2.0-bin
  # the Debian package: dpkg-shlibdeps works out its dependencies (file finds the programs for
  # it); lintian and appstreamcli check the package and its metainfo
  dpkg-dev file lintian appstream
  # Wayland sessions: a headless compositor with XWayland and Qt's Wayland plugin, to check that
  # the player runs on XWayland there
  weston xwayland qt6-wayland
  # the hand-off benchmark asks the mpv baseline over its IPC socket
  socat
  # the Windows platform services: cross-compiled (posix threads: GoogleTest needs std::mutex)
  # and tested under Wine (wine64 holds the 64-bit loader /usr/bin/wine starts)
  g++-mingw-w64-x86-64-posix wine wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
