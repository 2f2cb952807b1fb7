#!/usr/bin/env bash
# Builds the Debian package with CPack and proves it on a fresh Debian 12: in a debootstrap chroot
# of bookworm (from the Debian mirror this machine's apt uses) apt installs the package and
# resolves its dependencies, an ordinary user in the dialout group runs both programs, and the
# tool opens under Xvfb and reads the parameters of the simulator. Needs root and the network;
# takes minutes, so it is not part of scripts/run-tests.sh.
#   bash scripts/check-debian-package.sh        (KEEP_CHROOT=1 keeps the chroot for a look)
# The pristine chroot is cached in $ZELOR_CHROOT_CACHE (default /var/cache/zelor-pui); each run
# works on a fresh copy of it.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "needs root (debootstrap, chroot, mount)" >&2; exit 1; }
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}" debootstrap dpkg-dev

echo "== the package"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zelor-pui zelor-pui-sim zelor_man_pages
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/zelor-pui_*_"$(dpkg --print-architecture)".deb | head -n 1)
echo "$deb"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends Installed-Size
dpkg-deb -c "$deb" | awk '{print $6}'

# The mirror of bookworm in this machine's apt sources (one-line or deb822), else Debian's own.
mirror=$(grep -hE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
         sed -E 's/\[[^]]*\]//' | awk '$3 == "bookworm" {print $2; exit}' || true)
if [ -z "$mirror" ]; then
  mirror=$(awk '/^URIs:/ {u = $2} /^Suites:/ {for (i = 2; i <= NF; i++) if ($i == "bookworm") {print u; exit}}' \
           /etc/apt/sources.list.d/*.sources 2>/dev/null || true)
fi
mirror=${mirror:-http://deb.debian.org/debian}

cache=${ZELOR_CHROOT_CACHE:-/var/cache/zelor-pui}
base=$cache/bookworm-minbase
if [ ! -x "$base/usr/bin/apt-get" ]; then
  echo "== debootstrap bookworm from $mirror (once; cached in $base)"
  mkdir -p "$cache"
  rm -rf "$base.tmp"
  debootstrap --variant=minbase bookworm "$base.tmp" "$mirror" > "$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; exit 1; }
  mv "$base.tmp" "$base"
fi

work=$(mktemp -d /var/tmp/zelor-pui-deb.XXXXXX)
root=$work/root
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  if grep -q " $root/" /proc/mounts; then
    echo "still mounted under $root; not removing it" >&2
  elif [ "${KEEP_CHROOT:-0}" = 1 ]; then
    echo "the chroot stays in $root"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
echo "== a fresh copy of the chroot in $root"
cp -a "$base" "$root"
for m in proc sys dev dev/pts; do
  case $m in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sysfs "$root/sys" ;;
    *) mount --bind "/$m" "$root/$m" ;;
  esac
  mounted+=("$root/$m")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/zelor-pui.deb"
cp scripts/window-driver.sh "$root/tmp/window-driver.sh"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

echo "== apt installs the package and its dependencies (no recommends)"
in_root apt-get update -qq
in_root apt-get install -y --no-install-recommends /tmp/zelor-pui.deb > "$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; exit 1; }
grep -E '^(The following NEW packages|  )' "$work/apt.log" | head -n 40
in_root dpkg -s zelor-pui | grep -E '^(Status|Version|Depends)'
# Every library of the programs and of Qt's X11 platform plugin resolves.
plugin=$(in_root sh -c 'ls /usr/lib/*/qt6/plugins/platforms/libqxcb.so')
for f in /usr/bin/zelor-pui /usr/bin/zelor-pui-sim "$plugin"; do
  if in_root ldd "$f" | grep 'not found'; then echo "FAIL: $f misses libraries" >&2; exit 1; fi
done
echo "every library of zelor-pui, zelor-pui-sim and $plugin resolves"

echo "== an engineer in the dialout group runs both programs from the home folder"
in_root useradd -m -G dialout engineer
as_engineer() {
  chroot --userspec=engineer:engineer --groups=dialout "$root" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME=/home/engineer XDG_RUNTIME_DIR=/tmp/run-engineer "$@"
}
as_engineer sh -c 'cd && zelor-pui --version && zelor-pui-sim --help | head -n 1'
in_root sh -c 'ls /usr/share/man/man1/zelor-pui*.1.gz /usr/share/applications/zelor-pui.desktop /usr/share/icons/hicolor/scalable/apps/zelor-pui.svg'

echo "== the tools of the check itself: Xvfb and xdotool"
in_root apt-get install -y --no-install-recommends xvfb xauth xdotool > "$work/apt-x.log" 2>&1 ||
  { cat "$work/apt-x.log" >&2; exit 1; }
as_engineer bash -c '
  set -euo pipefail
  cd
  source /tmp/window-driver.sh
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  zelor-pui-sim --no-commands --log sim.log > sim.out 2>&1 &
  sim=$!
  trap "kill $sim 2>/dev/null || true" EXIT
  zelor_wait_registered "$XDG_RUNTIME_DIR/zelor-pui-ports"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    set -euo pipefail
    source /tmp/window-driver.sh
    zelor-pui > tool.out 2>&1 &
    tool=\$!
    trap \"kill \$tool 2>/dev/null || true\" EXIT
    win=\$(zelor_wait_window 30)
    echo \"window \$win: \$(xdotool getwindowname \$win), \$(xdotool getwindowgeometry \$win | tail -n 1)\"
    zelor_click_tab \$win 2
    zelor_wait_for_line sim.log \" TX F7 03 30 \" 15
    kill -0 \$tool
  "
  grep -m 2 -E " (RX|TX) F7 03 " sim.log
'
echo "PASS: the package installs on Debian 12 with its dependencies and the tool opens there and talks to the simulator"
