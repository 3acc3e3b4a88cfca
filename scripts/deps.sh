# Installs the Debian packages that building and testing need, when missing.
# Sourced by the scripts beside it.

# Building the package: dpkg-shlibdeps and file compute its dependencies.
# Scenario files are read with nlohmann-json3-dev, a header-only JSON library.
korvel_packaging_packages=(cmake g++ ninja-build qt6-base-dev nlohmann-json3-dev fonts-dejavu-core dpkg-dev file)

# The core's tests, cross-built for Windows and run under wine.
korvel_wine_test_packages=(g++-mingw-w64-x86-64-posix wine wine64 googletest nlohmann-json3-dev)

# Wine quiet, and without offering to fetch engines the program never uses.
export_wine_settings() {
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

korvel_packages=(
  "${korvel_packaging_packages[@]}" libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick
  clang libclang-rt-14-dev locales
  # The house format of the sources (.clang-format), and clang-tidy, which
  # measures every function.
  clang-format clang-tidy
  # docs/plot_data.py, which draws a run's exported data.
  python3-matplotlib
  # The package checks; devscripts has hardening-check; the scenario type is
  # read as a desktop would, with shared-mime-info and GLib's gio.
  lintian desktop-file-utils appstream devscripts shared-mime-info libglib2.0-bin
  "${korvel_wine_test_packages[@]}"
)

# Windows: Qt cross-built from Debian's source, the installer and the zip,
# checked under wine on Xvfb.
# Qt cross-built for Windows takes its tools (moc, rcc, uic) from Debian's Qt.
korvel_qt_host_args=(-DQT_HOST_PATH=/usr
  "-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)/cmake")

# The Windows program carries the DejaVu fonts and their licence from
# fonts-dejavu-core; ImageMagick draws the installer's welcome picture.
korvel_windows_packages=(
  "${korvel_wine_test_packages[@]}" cmake ninja-build qt6-base-dev dpkg-dev
  nsis icoutils zip unzip xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

# The number tests also run under a German locale, where "," is the decimal point.
ensure_german_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  fi
}

# Source entries beside the machine's existing Debian binary entries, so that
# apt-get source finds Debian's own sources; no host is named here.
enable_debian_sources() {
  local sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$sources" ]; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
  elif [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list | as_root tee -a /etc/apt/sources.list >/dev/null
  fi
  as_root apt-get update -qq
}
