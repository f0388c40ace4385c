#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvant
# need. Quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build ccache pkg-config git
  # application
  qt6-base-dev qt6-svg-dev libgl-dev libcurl4-openssl-dev libjpeg62-turbo-dev
  # collection server
  libmicrohttpd-dev libsqlite3-dev libcpp-httplib-dev libsodium-dev libpq-dev
  # mail password in the desktop keyring
  libsecret-1-dev
  # tests and their peers
  libgtest-dev python3 python3-dbf gdal-bin python3-aiosmtpd chromium poppler-utils xvfb
  xauth openbox xdotool x11-utils libreoffice-calc-nogui libreoffice-base-drivers
  libreoffice-writer-nogui libreoffice-impress-nogui python3-matplotlib
  gnome-keyring dbus openssl
  # several collectors on one database: a throw-away cluster and a balancer
  postgresql haproxy
  # research exports (.sav, .dta, .xlsx), the peers that read them back, and
  # PSPP's CROSSTABS for the cross tables
  libreadstat-dev libxlsxwriter-dev pspp python3-pandas python3-openpyxl
  # the export benchmark's reference: the sqlite3 program writing CSV
  sqlite3
  # the Debian packages (scripts/package.sh) and their checks: lintian, the
  # desktop entry, AppStream and man page validators, bash completion, the
  # file-type, desktop-entry and icon lookups of an installed desktop
  dpkg-dev file lintian desktop-file-utils appstream groff man-db bash-completion xdg-utils
  libfile-mimeinfo-perl libglib2.0-bin shared-mime-info hicolor-icon-theme libgtk-3-bin
  gir1.2-gtk-3.0 python3-gi dex librsvg2-bin
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "bootstrap: run as root or install sudo" >&2; exit 1; }
  SUDO=(sudo)
fi
echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
