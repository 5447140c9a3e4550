#!/bin/sh
# telquest: starts Telquest Pro in the user's own folder.
#
# The program reads its data files (cit.bin, arc.bin) and writes its settings
# (tqs.ini) in the current directory. This launcher gives each user a folder
# for that, $XDG_DATA_HOME/telquest (by default ~/.local/share/telquest),
# creates it on the first start, links the installed data files into it and
# starts the program there. A data file the user copied in by hand is kept
# unless the installed one is newer.
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

for name in cit.bin arc.bin; do
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
# real write is tried: permission bits say nothing on a read-only mount.
probe="$home/.write-test.$$"
if ! (: >"$probe") 2>/dev/null; then
  fail "the folder $home is read-only; Telquest Pro needs to write its settings (tqs.ini) there"
fi
rm -f -- "$probe"

# Links (or, where links cannot be made, copies) of the installed data files.
# Each is made under a temporary name and renamed into place, so that two
# starts at the same moment never see a half-made file.
for name in cit.bin arc.bin; do
  source="$datadir/$name"
  target="$home/$name"
  if [ -L "$target" ]; then
    [ "$(readlink -- "$target")" = "$source" ] && [ -e "$target" ] && continue
  elif [ -f "$target" ]; then
    # -nt is not in POSIX but dash, bash and busybox sh all have it.
    # shellcheck disable=SC3013
    [ "$source" -nt "$target" ] || continue
  elif [ -e "$target" ]; then
    fail "$target is in the way (not a file); move it aside and start again"
  fi
  temporary="$home/.$name.$$"
  rm -f -- "$temporary"
  if ! ln -s -- "$source" "$temporary" 2>/dev/null; then
    cp -p -- "$source" "$temporary" 2>/dev/null || {
      rm -f -- "$temporary"
      fail "cannot put the data file $name into $home"
    }
  fi
  mv -f -T -- "$temporary" "$target" 2>/dev/null || {
    rm -f -- "$temporary"
    fail "cannot put the data file $name into $home"
  }
done

[ "${TELQUEST_LAUNCHER_PREPARE_ONLY:-0}" = 1 ] && exit 0

[ -x "$program" ] || fail "the program $program is missing; reinstall Telquest Pro"
cd -- "$home" || fail "cannot enter $home"
exec "$program" "$@"
