# The Debian packages the project needs, in one place; sourced by tools/run and tools/test.
BZK_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang
  qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
  libgl-dev
  xvfb xauth
  libssl-dev openssl
  libexpat1-dev
  libavcodec-dev libavutil-dev libswscale-dev
  libxml2-dev libxslt1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)

bzk_install_deps() {
  local missing=() pkg
  for pkg in "${BZK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}
