# Installs the Debian packages the build needs, only those missing (sourced by the scripts).
ensure_packages() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# help2man makes the manual pages from the programs' --help; libmodbus-dev and pkg-config the
# benchmark that compares the tool with an independent master (the build compiles every bench).
# qt6-translations-l10n gives Qt's own dialogs and buttons Russian texts; python3 runs the include
# check.
ZELOR_BUILD_PACKAGES=(g++ make cmake libgtest-dev libgmock-dev qt6-base-dev qt6-serialport-dev fonts-liberation help2man
                      libmodbus-dev pkg-config qt6-translations-l10n python3)
# An independent MODBUS master the simulator tests check themselves against, the Windows
# cross-compiler the portable core is compiled with, and the X server, driver and validator the
# install check opens the installed tool with.
ZELOR_TEST_PACKAGES=(mbpoll g++-mingw-w64-x86-64 xvfb xauth xdotool desktop-file-utils)
# The fuzz entries (scripts/fuzz.sh): clang with its sanitizer and libFuzzer run-time libraries.
ZELOR_FUZZ_PACKAGES=(clang libclang-rt-14-dev python3)
