#!/bin/sh
# telquest: starts Telquest Pro in the user's own folder.
#
# The program reads its data files (DATA_NAMES below: cit.bin, arc.bin,
# exc.bin and the others installed) and writes its settings (tqs.ini) in the
# current directory. This launcher gives each user a folder for that,
# $XDG_DATA_HOME/telquest (by default ~/.local/share/telquest), creates it on
# the first start (mode 0700), refuses it when another user owns it or can
# write to it, links the installed data files into it and starts the
# program there.
#
# Only links and copies this launcher made itself are ever replaced: a link
# to the installed data file (or to what it linked before, noted in
# .NAME.linked, or to an install since removed), or a copy whose checksum it
# noted in .NAME.copied. The user's own links are left
# as they are (the program then reads what they point to). Any other file in
# the place of a data file (a hand copy) is moved aside under a name no other
# start can choose, NAME.YYYY-MM-DD-HHMMSS.PID, never over an existing file,
# and the launcher says so. Everything it makes is made in a private folder
# from mktemp and renamed into place, so a link planted in the folder is never
# followed.
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

# The data files, one list for the install and this launcher
# (TELQUEST_DATA_NAMES in cmake/Install.cmake); the required ones first.
DATA_NAMES="@TELQUEST_DATA_NAMES_WORDS@"
REQUIRED_DATA="@TELQUEST_REQUIRED_DATA_WORDS@"
for name in $REQUIRED_DATA; do
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

# A folder made here is the user's alone (-m sets the mode of the last one).
if ! mkdir -p -m 0700 -- "$home" 2>/dev/null || [ ! -d "$home" ]; then
  fail "cannot create the folder $home for settings and data (is $base read-only?)"
fi

# What lies in the folder is read as data and settings: a folder that
# another user owns or can write to could hand the program anything, so it
# is refused. The group of a user private group (the user's own group,
# named after the user) counts as the user's own.
info=$(stat -L -c '%u %g %a' -- "$home" 2>/dev/null) || fail "cannot read the owner of the folder $home"
owner=${info%% *}
mode=${info##* }
group=${info#* }
group=${group%% *}
[ "$owner" = "$(id -u)" ] ||
  fail "the folder $home belongs to another user (user id $owner); Telquest Pro keeps its data and settings only in a folder of your own"
others=
if [ $((0$mode & 02)) -ne 0 ]; then
  others="every user"
elif [ $((0$mode & 020)) -ne 0 ] && ! { [ "$group" = "$(id -g)" ] && [ "$(id -gn)" = "$(id -un)" ]; }; then
  others="the users of its group"
fi
[ -z "$others" ] ||
  fail "the folder $home can be written by $others (mode $mode); make it yours alone (chmod go-w $home) and start again"

# The settings file is written there, so the folder must take new files. A
# real one is made, the private folder for the work below: permission bits
# say nothing on a read-only mount.
work=$(mktemp -d "$home/.telquest.XXXXXX" 2>/dev/null) ||
  fail "the folder $home is read-only; Telquest Pro needs to write its settings (tqs.ini) there"
trap 'rm -rf -- "$work"' EXIT
trap 'exit 1' HUP INT TERM

# Whether the entry $1 in the place of data file $3 is the launcher's own: a
# link to $2 or to what it linked before (noted in .NAME.linked), or to
# another install's copy of the file that is gone, or an unchanged copy.
ours() {
  if [ -L "$1" ]; then
    to=$(readlink -- "$1")
    [ "$to" = "$2" ] && return 0
    [ -f "$home/.$3.linked" ] && [ "$to" = "$(cat -- "$home/.$3.linked")" ] && return 0
    # Whether the linked file is gone is asked of the target read above, not
    # of the entry, which another start may have replaced meanwhile.
    case $to in
      /*/share/telquest/"$3") [ -e "$to" ] || return 0 ;;
    esac
    return 1
  fi
  [ -f "$1" ] && [ -f "$home/.$3.copied" ] && [ "$(cksum <"$1")" = "$(cat -- "$home/.$3.copied")" ]
}

# Moves the user's file $1 aside under a name of this start alone (it holds
# the process id), never over an existing file (mv -n), and sets $aside to
# it; $aside names nothing when another start moved the file first.
move_aside() {
  stamp=$(date +%Y-%m-%d-%H%M%S)
  n=0
  while [ "$n" -lt 100 ]; do
    aside="$1.$stamp.$$"
    [ "$n" -gt 0 ] && aside="$aside-$n"
    n=$((n + 1))
    { [ -e "$aside" ] || [ -L "$aside" ]; } && continue
    mv -n -T -- "$1" "$aside" 2>/dev/null
    { [ -e "$aside" ] || [ -L "$aside" ]; } && return 0
    { [ -e "$1" ] || [ -L "$1" ]; } || return 0
  done
  return 1
}

# Links (or, where links cannot be made, copies) of the installed data files,
# each made in the private folder and renamed into place, so that two starts
# at the same moment never see a half-made file.
own_data=0
for name in $DATA_NAMES; do
  source="$datadir/$name"
  target="$home/$name"
  [ -e "$source" ] || continue  # an optional file this install lacks
  # The installed manifest describes the installed files only: with data of
  # the user's own it would call them damaged. (The manifest comes last.)
  if [ "$name" = tqdata.manifest ] && [ "$own_data" = 1 ]; then
    if [ -L "$target" ] && ours "$target" "$source" "$name"; then rm -f -- "$target"; fi
    continue
  fi
  if [ -L "$target" ]; then
    [ "$(readlink -- "$target")" = "$source" ] && [ -e "$target" ] && continue
    ours "$target" "$source" "$name" || { own_data=1; continue; }  # the user's own link
  elif [ -f "$target" ]; then
    cmp -s -- "$source" "$target" && continue
  fi
  if { [ -e "$target" ] || [ -L "$target" ]; } && ! ours "$target" "$source" "$name"; then
    move_aside "$target" || fail "cannot move $target aside; move it yourself and start again"
    if [ -L "$aside" ] && ours "$aside" "$source" "$name"; then
      rm -f -- "$aside"  # another start's link, put there since this one looked
    elif [ -e "$aside" ] || [ -L "$aside" ]; then
      printf '%s: %s was not made by this launcher; it is kept as %s\n' "$me" "$target" "$aside" >&2
    fi
  fi
  made="$work/$name"
  if ln -s -- "$source" "$made" 2>/dev/null; then
    rm -f -- "$home/.$name.copied"
    { printf '%s\n' "$source" >"$work/linked" &&
      mv -f -T -- "$work/linked" "$home/.$name.linked"; } 2>/dev/null
  else
    if ! { cp -p -- "$source" "$made" && cksum <"$made" >"$work/copied" &&
      mv -f -T -- "$work/copied" "$home/.$name.copied"; } 2>/dev/null; then
      fail "cannot put the data file $name into $home"
    fi
  fi
  # Renamed into place only where nothing is, or only the launcher's own:
  # a file the user put there meanwhile is never replaced.
  if [ -e "$target" ] || [ -L "$target" ]; then
    ours "$target" "$source" "$name" || { rm -f -- "$made"; continue; }
  fi
  mv -f -T -- "$made" "$target" 2>/dev/null || fail "cannot put the data file $name into $home"
done
rm -rf -- "$work"
trap - EXIT

[ "${TELQUEST_LAUNCHER_PREPARE_ONLY:-0}" = 1 ] && exit 0

[ -x "$program" ] || fail "the program $program is missing; reinstall Telquest Pro"
cd -- "$home" || fail "cannot enter $home"
exec "$program" "$@"
