#!/bin/sh
# telquest: starts Telquest Pro in the user's own folder.
#
# The program reads its data files (cit.bin, arc.bin, exc.bin, ctz.bin,
# tzl.bin) and writes its settings (tqs.ini) in the current directory. This launcher gives each user a folder
# for that, $XDG_DATA_HOME/telquest (by default ~/.local/share/telquest),
# creates it on the first start, links the installed data files into it and
# starts the program there.
#
# Only links and copies this launcher made itself are ever replaced: a link
# to an installed data file, or a copy whose checksum it noted in .NAME.copied.
# Anything else in the place of a data file (a hand copy, the user's own
# link) is moved aside as NAME.YYYY-MM-DD-HHMMSS, and the launcher says so.
# Everything it makes is made in a private folder from mktemp and renamed into
# place, so a link planted in the folder is never followed.
#
# The program and its data are found relative to this script, so a staged or
# relocated install works as well as /usr. Paths below are filled in when the
# build is configured (cmake/Install.cmake).
#
# Environment:
#   XDG_DATA_HOME                    base of the per-user folder
#   TELQUEST_LAUNCHER_PREPARE_ONLY   if 1, prepare the folder and exit (checks)
set -u

me=telquest

fail() {
  printf '%s: %s\n' "$me" "$*" >&2
  exit 1
}

# Where the script lives, with symbolic links to it resolved.
self=$(readlink -f -- "$0" 2>/dev/null) || self=$0
bindir=$(cd -- "$(dirname -- "$self")" && pwd -P) || fail "cannot locate the launcher's folder"
program="$bindir/@TELQUEST_LIBEXEC_FROM_BIN@/telquest"
datadir=$(cd -- "$bindir/@TELQUEST_DATA_FROM_BIN@" 2>/dev/null && pwd -P) ||
  fail "the installed data folder $bindir/@TELQUEST_DATA_FROM_BIN@ is missing; reinstall Telquest Pro"

for name in cit.bin arc.bin exc.bin ctz.bin tzl.bin; do
  [ -r "$datadir/$name" ] || fail "installed data file $datadir/$name is missing or unreadable; reinstall Telquest Pro"
done

# The per-user folder. XDG_DATA_HOME counts only when it is an absolute path.
case "${XDG_DATA_HOME:-}" in
  /*) base=$XDG_DATA_HOME ;;
  *)
    [ -n "${HOME:-}" ] || fail "neither XDG_DATA_HOME nor HOME is set; cannot choose a folder for the settings"
    base=$HOME/.local/share
    ;;
esac
home="$base/telquest"

if ! mkdir -p -- "$home" 2>/dev/null || [ ! -d "$home" ]; then
  fail "cannot create the folder $home for settings and data (is $base read-only?)"
fi

# The settings file is written there, so the folder must take new files. A
# real one is made, the private folder for the work below: permission bits
# say nothing on a read-only mount.
work=$(mktemp -d "$home/.telquest.XXXXXX" 2>/dev/null) ||
  fail "the folder $home is read-only; Telquest Pro needs to write its settings (tqs.ini) there"
trap 'rm -rf -- "$work"' EXIT
trap 'exit 1' HUP INT TERM

# Whether the entry $1 in the place of data file $3 is the launcher's own: a
# link to $2 or to another installed copy of the file, or an unchanged copy.
ours() {
  if [ -L "$1" ]; then
    case $(readlink -- "$1") in
      "$2" | */share/telquest/"$3") return 0 ;;
    esac
    return 1
  fi
  [ -f "$1" ] && [ -f "$home/.$3.copied" ] && [ "$(cksum <"$1")" = "$(cat -- "$home/.$3.copied")" ]
}

# Links (or, where links cannot be made, copies) of the installed data files,
# each made in the private folder and renamed into place, so that two starts
# at the same moment never see a half-made file.
for name in cit.bin arc.bin exc.bin ctz.bin tzl.bin; do
  source="$datadir/$name"
  target="$home/$name"
  if [ -L "$target" ]; then
    [ "$(readlink -- "$target")" = "$source" ] && [ -e "$target" ] && continue
  elif [ -f "$target" ]; then
    cmp -s -- "$source" "$target" && continue
  fi
  if { [ -e "$target" ] || [ -L "$target" ]; } && ! ours "$target" "$source" "$name"; then
    aside="$target.$(date +%Y-%m-%d-%H%M%S)"
    { [ -e "$aside" ] || [ -L "$aside" ]; } && aside="$aside.$$"
    mv -T -- "$target" "$aside" 2>/dev/null ||
      fail "cannot move $target aside; move it yourself and start again"
    printf '%s: %s was not made by this launcher; it is kept as %s\n' "$me" "$target" "$aside" >&2
  fi
  made="$work/$name"
  if ln -s -- "$source" "$made" 2>/dev/null; then
    rm -f -- "$home/.$name.copied"
  else
    if ! { cp -p -- "$source" "$made" && cksum <"$made" >"$work/copied" &&
      mv -f -T -- "$work/copied" "$home/.$name.copied"; } 2>/dev/null; then
      fail "cannot put the data file $name into $home"
    fi
  fi
  mv -f -T -- "$made" "$target" 2>/dev/null || fail "cannot put the data file $name into $home"
done
rm -rf -- "$work"
trap - EXIT

[ "${TELQUEST_LAUNCHER_PREPARE_ONLY:-0}" = 1 ] && exit 0

[ -x "$program" ] || fail "the program $program is missing; reinstall Telquest Pro"
cd -- "$home" || fail "cannot enter $home"
exec "$program" "$@"
