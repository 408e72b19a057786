#!/usr/bin/env bash
# Installs what Ravell needs on Debian 12, builds it and, if asked, starts the
# tracker or runs every test.
#
#   ./setup.sh              install missing packages, build into build/
#   ./setup.sh --run        ... then add both programs to the desktop menu and
#                           start the tracker (build/bin/ravell)
#   ./setup.sh --test       ... then run every test
#   ./setup.sh --sanitize   build into build-asan/ with ASan and UBSan instead
set -euo pipefail

usage() {
  # The comment block at the top of this file.
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"
}

run=0
test=0
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --run) run=1 ;;
    --test) test=1 ;;
    --sanitize) sanitize=1 ;;
    -h | --help) usage; exit 0 ;;
    *) echo "setup.sh: unknown option '$arg'" >&2; usage >&2; exit 2 ;;
  esac
done

cd "$(dirname "$(readlink -f "$0")")"

packages=(
  # tool chain and libraries
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev zlib1g-dev
  libzip-dev libpugixml-dev
  # desktop under test: X server, tray host, window tools, fonts
  xvfb xauth xdotool x11-utils trayer fonts-liberation2 xdg-utils
  # screenshots (tools/screenshot.sh): xwd, and netpbm to turn it into PNG
  x11-apps netpbm
  # end-to-end tests: the accessibility bus and its Python binding, a session bus
  at-spi2-core python3-pyatspi dbus-daemon dbus-bin
  # fuzzing (tools/fuzz.sh): clang with libFuzzer and the sanitizer run-times
  clang libclang-rt-14-dev
)

install_missing_packages() {
  local installed missing=() p
  # One dpkg-query for all: it is what keeps a second run quick.
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$2 == "installed" { print $1 }' || true)
  for p in "${packages[@]}"; do
    grep -qxF "$p" <<<"$installed" || missing+=("$p")
  done
  if [[ ${#missing[@]} -eq 0 ]]; then return; fi

  echo "Installing: ${missing[*]}"
  local as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [[ $EUID -ne 0 ]]; then as_root=(sudo "${as_root[@]}"); fi
  local apt=(apt-get -o DPkg::Lock::Timeout=120 -y -q)
  "${as_root[@]}" "${apt[@]}" update
  "${as_root[@]}" "${apt[@]}" install "${missing[@]}"
}

install_missing_packages

if ((sanitize)); then
  build_dir=build-asan
  options=(-DRAVELL_SANITIZE=ON -DRAVELL_BENCH=OFF)
  # Leak checks stay on; only system libraries below Qt are excused.
  export ASAN_OPTIONS=detect_leaks=1
  export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1
else
  build_dir=build
  options=(-DRAVELL_SANITIZE=OFF -DRAVELL_BENCH=ON)
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVELL_TESTS=ON "${options[@]}"
cmake --build "$build_dir" -j "$(nproc)"

if ((test)); then
  # A hung widget test must fail, not eat the whole CI run.
  ctest --test-dir "$build_dir" --output-on-failure -j2 --no-tests=error --timeout 300
fi

# Desktop menu entries for both programs, pointing at this build.
install_desktop_entries() {
  local applications=${XDG_DATA_HOME:-$HOME/.local/share}/applications
  mkdir -p "$applications"
  cp "$build_dir"/share/applications/ravell.desktop "$build_dir"/share/applications/rvreporter.desktop \
    "$applications/"
  if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$applications" || true
  fi
}

if ((run)); then
  install_desktop_entries
  if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "setup.sh: no desktop session (DISPLAY is not set); start $build_dir/bin/ravell from one." >&2
    exit 1
  fi
  # A first start beside the Notes link library would only open the set-up
  # dialog; the newcomer's start keeps the day logs in the program folder.
  ini="$build_dir/bin/ravell.ini"
  if [[ ! -e $ini ]]; then printf '[Storage]\r\nTarget=Log\r\n' >"$ini"; fi
  exec "$build_dir/bin/ravell"
fi
