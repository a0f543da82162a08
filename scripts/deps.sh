#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Steepo need, when any is
# missing. Uses apt-get as root, or through sudo otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libgl-dev libvulkan-dev
  qt6-qpa-plugins qt6-wayland libqt6multimedia6 gstreamer1.0-plugins-base
  fonts-dejavu-core
)
if [ "${1:-}" = "--tests" ]; then
  # Qt Quick builds and tests the indicator's QML module; qml-qt6 runs its example.
  # clang and its runtime (libFuzzer, the sanitizers) build the fuzz targets of scripts/fuzz.
  # lintian checks the Debian package of scripts/package; flatpak-builder reads the manifest.
  # locales and libc-l10n: the tests make locales of other character sets with localedef and
  # read the C library's translated error texts.
  packages+=(locales libc-l10n libgtest-dev libbenchmark-dev desktop-file-utils appstream qt6-tools-dev dbus-daemon weston xvfb at-spi2-core
             clang libclang-rt-14-dev lintian flatpak-builder
             qt6-declarative-dev qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript qml-qt6)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "These Debian packages are missing and there is no sudo to install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
