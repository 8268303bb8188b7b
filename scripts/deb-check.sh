#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 chroot as a user would
# (`apt install ./tamzel_*.deb`), starts it there (--help, a console chat of an ordinary user,
# the window under xvfb-run), then removes and purges it and checks that nothing of it is
# left. Needs root, debootstrap and the network; slow, so CI does not run it.
#   scripts/deb-check.sh tamzel_<version>_amd64.deb
# The debootstrapped base system is kept as a tarball in $TAMZEL_CHROOT_CACHE (default
# ~/.cache/tamzel-chroot) and unpacked afresh for every run.
set -euo pipefail

[ $# -eq 1 ] && [ -f "$1" ] || { echo "Použitie: $0 tamzel_<verzia>_amd64.deb" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "Skúška potrebuje práva roota (chroot, mount)." >&2; exit 2; }
deb=$(realpath "$1")
cache=${TAMZEL_CHROOT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tamzel-chroot}
mirror=${TAMZEL_MIRROR:-http://deb.debian.org/debian}
base="$cache/bookworm-minbase.tar"
work=$(mktemp -d /tmp/tamzel-deb-check.XXXXXX)
root="$work/root"
mounted=()

cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

step() { printf '\n== %s\n' "$*"; }
fail() { printf 'CHYBA: %s\n' "$*" >&2; exit 1; }

# Runs a command in the chroot with a clean environment; `as_user` as the ordinary user.
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
as_user() {
  chroot --userspec=peter:peter "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/peter \
    LANG=C.UTF-8 "$@"
}

# Every file of the system but the volatile ones, to compare before and after.
file_list() {
  in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp -o -path /run \
    -o -path /var/cache -o -path /var/lib/apt/lists -o -path /var/log -o -path /home \) -prune \
    -o -print | sort
}

step "Základný systém Debian 12"
if [ ! -f "$base" ]; then
  mkdir -p "$cache" "$work/base"
  debootstrap --variant=minbase bookworm "$work/base" "$mirror"
  tar -C "$work/base" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$work/base"
fi
mkdir "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"
for fs in proc sys dev dev/pts; do
  case $fs in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sys "$root/sys" ;;
    *) mount --bind "/$fs" "$root/$fs" ;;
  esac
  mounted+=("$root/$fs")
done
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
# The window check needs an X server; installed first so that it stays after the purge.
in_root apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null
in_root useradd -m peter
file_list > "$work/before.txt"

step "apt install ./$(basename "$deb")"
in_root sh -c "cd /tmp && apt-get install -y --no-install-recommends ./$(basename "$deb")"
in_root dpkg -L tamzel > "$work/files.txt"
for path in /usr/bin/tamzel /usr/lib/tamzel/tamzel /usr/share/tamzel/ai/brainfile.ai \
    /usr/share/applications/tamzel.desktop /usr/share/man/man1/tamzel.1.gz; do
  in_root test -e "$path" || fail "chýba $path"
done

step "tamzel --help"
in_root tamzel --help | tee "$work/help.txt"
grep -q "Použitie: tamzel" "$work/help.txt" || fail "--help nevypísal použitie"

step "Rozhovor v konzole (užívateľ peter)"
copy=/home/peter/.local/share/tamzel
printf 'ahoj\nako sa mas?\n' | as_user tamzel --console --user Peter --seed 1 | tee "$work/chat.txt"
[ "$(grep -c . "$work/chat.txt")" -ge 2 ] || fail "konzola neodpovedala"
in_root test -f "$copy/.tamzel-kopia" || fail "prvý štart neskopíroval strom do $copy"
in_root test -f "$copy/users/_Peter/user.dat" || fail "profil sa nezapísal do kópie"
as_user sh -c "echo moje > $copy/users/_Peter/poznamka.txt"
printf 'ahoj\n' | as_user tamzel --console --user Peter --seed 2 >/dev/null
in_root grep -q moje "$copy/users/_Peter/poznamka.txt" || fail "druhý štart zmenil kópiu"

step "Okno pod xvfb-run (15 s)"
set +e
as_user xvfb-run -a timeout 15 tamzel --user Peter >"$work/window.txt" 2>&1
rc=$?
set -e
grep -v '^ALSA lib' "$work/window.txt" || true
[ $rc -eq 124 ] || fail "okno neostalo bežať (kód $rc)"

step "apt remove, apt purge"
in_root apt-get remove -y tamzel >/dev/null
while read -r path; do
  [ -d "$root$path" ] && [ ! -L "$root$path" ] && continue  # shared folders such as /usr/bin
  { [ -e "$root$path" ] || [ -L "$root$path" ]; } && fail "po odstránení zostal $path"
done < "$work/files.txt"
for path in /usr/lib/tamzel /usr/share/tamzel /usr/share/doc/tamzel; do
  in_root test ! -e "$path" || fail "po odstránení zostal $path"
done
# The package keeps no configuration files, so after `remove` dpkg forgets it at once and
# there is nothing left to purge; the purge is tried on a second installation instead.
in_root dpkg-query -W tamzel >/dev/null 2>&1 && in_root apt-get purge -y tamzel >/dev/null
in_root sh -c "cd /tmp && apt-get install -y -qq --no-install-recommends ./$(basename "$deb")" >/dev/null
in_root apt-get purge -y tamzel >/dev/null
in_root apt-get autoremove --purge -y >/dev/null
in_root dpkg -s tamzel >/dev/null 2>&1 && fail "balík je stále zapísaný"
file_list > "$work/after.txt"
if ! diff "$work/before.txt" "$work/after.txt" > "$work/left.txt"; then
  echo "Iné po odstránení (okrem /home, /tmp, /var/cache, /var/log):"
  cat "$work/left.txt"
  grep -q tamzel "$work/left.txt" && fail "po odstránení zostali súbory balíka"
fi
in_root test -d "$copy/users/_Peter" || fail "kópia užívateľa sa nemá mazať"
echo
echo "V poriadku: inštalácia, štart, odstránenie; kópia užívateľa v $copy zostala."
