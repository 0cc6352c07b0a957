#!/bin/sh
# Installs what building and testing need on Debian 12; does nothing when all is there.
set -e
need="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 xvfb xauth fonts-ipafont-gothic locales cmake ninja-build googletest g++ clang libclang-rt-14-dev pulseaudio pulseaudio-utils sox ffmpeg x11-apps imagemagick python3-pil fonts-dejavu-core
 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-plugins-bad:i386 gstreamer1.0-plugins-ugly:i386 gstreamer1.0-libav:i386
 gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly gstreamer1.0-libav
 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 libxcomposite1:i386 libxcursor1:i386 libxi6:i386 libxrandr2:i386 libxinerama1:i386"
missing=""
for p in $need; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then localegen=1; fi
if [ -n "$missing" ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
if [ -n "${localegen:-}" ]; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
# A kernel that refuses i386 programs (IA-32 emulation off) still runs 32-bit
# Wine through QEMU's user-mode emulator, registered for i386 programs.
# Debian 12's own QEMU 7.2 cannot: it ignores MAP_FIXED_NOREPLACE, and Wine
# then fails to map its shared user data. The one in bookworm-backports can.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! qemu-i386-static --version 2>/dev/null | grep -q 'version \([89]\|[1-9][0-9]\)\.'; then
    printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      >/etc/apt/sources.list.d/bookworm-backports.sources
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
  fi
  [ -e /proc/sys/fs/binfmt_misc/register ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # "F" opens the emulator now, so that it also serves programs in other mount namespaces.
  [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ] || echo -1 >/proc/sys/fs/binfmt_misc/qemu-i386
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
    >/proc/sys/fs/binfmt_misc/register
  /usr/lib/wine/wine --version >/dev/null 2>&1 || echo "32-bit Wine does not run here, not even emulated" >&2
fi
