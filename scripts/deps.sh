# Installs the Debian packages that building and testing need, when missing.
# Sourced by the scripts beside it.

# Building the package: dpkg-shlibdeps and file compute its dependencies.
korvel_packaging_packages=(cmake g++ ninja-build qt6-base-dev fonts-dejavu-core dpkg-dev file)

korvel_packages=(
  "${korvel_packaging_packages[@]}" libgtest-dev libbenchmark-dev
  xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev locales
  # The package checks; devscripts has hardening-check.
  lintian desktop-file-utils appstream devscripts
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
