#!/bin/sh
# Starts the launcher twice at once, round after round: on a folder that
# holds the user's own cit.bin and the user's own link in the place of
# arc.bin (no start may fail, lose the user's file or replace the link, and
# the manifest stays out), then on links to an install since removed (every
# data file, the manifest too, ends linked to this one). Before the rounds,
# the folder's owner and mode are checked.
#   launcher_race.sh SOURCE_DIR [ROUNDS]
# ROUNDS defaults to $TELQUEST_LAUNCHER_RACE_ROUNDS, else 20 (the everyday
# run); scripts/test.sh asks for 40.
set -u
src=$1
rounds=${2:-${TELQUEST_LAUNCHER_RACE_ROUNDS:-20}}
scratch=$(mktemp -d) || exit 1
trap 'rm -rf -- "$scratch"' EXIT

# A small install: the launcher configured as cmake/Install.cmake does, a
# program that does nothing, and data files of every name of the one list.
names=$(sed -n 's/^set(TELQUEST_DATA_NAMES \(.*\))$/\1/p' "$src/cmake/Install.cmake")
required=$(sed -n 's/^set(telquest_required_data \(.*\))$/\1/p' "$src/cmake/Install.cmake")
[ -n "$names" ] && [ -n "$required" ] || { echo "no data names in Install.cmake"; exit 1; }
mkdir -p "$scratch/bin" "$scratch/libexec/telquest" "$scratch/share/telquest"
sed -e 's|@TELQUEST_LIBEXEC_FROM_BIN@|../libexec/telquest|' \
    -e 's|@TELQUEST_DATA_FROM_BIN@|../share/telquest|' \
    -e "s|@TELQUEST_DATA_NAMES_WORDS@|$names|" -e "s|@TELQUEST_REQUIRED_DATA_WORDS@|$required|" \
    "$src/packaging/telquest-launcher.sh" >"$scratch/bin/telquest"
printf '#!/bin/sh\nexit 0\n' >"$scratch/libexec/telquest/telquest"
chmod +x "$scratch/bin/telquest" "$scratch/libexec/telquest/telquest"
for name in $names; do echo "installed $name" >"$scratch/share/telquest/$name"; done
echo "the user's own data" >"$scratch/own"
installed=$(cd "$scratch/share/telquest" && pwd -P)

failures=0
# First the folder: made private, refused with the reason when another user
# owns it or can write to it (the owner and group cases need root).
folder=$scratch/folder/telquest
start_in_folder() {  # start_in_folder STATUS MESSAGE: what the start must give
  told=$(TELQUEST_LAUNCHER_PREPARE_ONLY=1 XDG_DATA_HOME=$scratch/folder "$scratch/bin/telquest" 2>&1)
  status=$?
  [ "$status $told" = "$1 $2" ] && return
  echo "folder of mode $(stat -c '%a %u:%g' "$folder"): status $status, told: $told"
  failures=$((failures + 1))
}
start_in_folder 0 ""
[ "$(stat -c %a "$folder")" = 700 ] || { echo "a new folder is not private"; failures=$((failures + 1)); }
chmod 0777 "$folder"
start_in_folder 1 "telquest: the folder $folder can be written by every user (mode 777); make it yours alone (chmod go-w $folder) and start again"
if [ "$(id -u)" = 0 ]; then
  chmod 0770 "$folder" && chgrp 65534 "$folder"
  start_in_folder 1 "telquest: the folder $folder can be written by the users of its group (mode 770); make it yours alone (chmod go-w $folder) and start again"
  chmod 0700 "$folder" && chown 65534:0 "$folder"
  start_in_folder 1 "telquest: the folder $folder belongs to another user (user id 65534); Telquest Pro keeps its data and settings only in a folder of your own"
fi

round=1
while [ "$round" -le "$rounds" ]; do
  xdg=$scratch/xdg$round
  home=$xdg/telquest
  mkdir -p "$home"
  echo "mine $round" >"$home/cit.bin"
  ln -s "$scratch/own" "$home/arc.bin"
  TELQUEST_LAUNCHER_PREPARE_ONLY=1 XDG_DATA_HOME=$xdg "$scratch/bin/telquest" 2>/dev/null &
  first=$!
  TELQUEST_LAUNCHER_PREPARE_ONLY=1 XDG_DATA_HOME=$xdg "$scratch/bin/telquest" 2>/dev/null
  second=$?
  wait "$first"
  statuses=$?$second
  kept=$(cat "$home"/cit.bin.* 2>/dev/null | grep -c -x "mine $round")
  problem=
  [ "$statuses" = 00 ] || problem="a start failed ($statuses)"
  [ "$kept" = 1 ] || problem="the user's cit.bin is kept $kept times"
  [ "$(readlink "$home/arc.bin")" = "$scratch/own" ] || problem="the user's link was replaced"
  [ "$(readlink "$home/cit.bin")" = "$installed/cit.bin" ] || problem="cit.bin is not linked"
  [ "$(readlink "$home/exc.bin")" = "$installed/exc.bin" ] || problem="exc.bin is not linked"
  [ -e "$home/tqdata.manifest" ] && problem="the manifest is linked beside the user's own data"
  if [ -n "$problem" ]; then
    echo "round $round: $problem"; ls -la "$home"
    failures=$((failures + 1))
  fi
  rm -rf -- "$xdg"
  # Links left by an install since removed: both starts replace them, and
  # every file, the manifest too, ends linked to this install.
  mkdir -p "$home"
  for name in $names; do ln -s "$scratch/removed/share/telquest/$name" "$home/$name"; done
  TELQUEST_LAUNCHER_PREPARE_ONLY=1 XDG_DATA_HOME=$xdg "$scratch/bin/telquest" 2>/dev/null &
  first=$!
  TELQUEST_LAUNCHER_PREPARE_ONLY=1 XDG_DATA_HOME=$xdg "$scratch/bin/telquest" 2>/dev/null
  second=$?
  wait "$first"
  statuses=$?$second
  problem=
  [ "$statuses" = 00 ] || problem="a start failed ($statuses)"
  for name in $names; do
    [ "$(readlink "$home/$name")" = "$installed/$name" ] || problem="$name is not linked"
  done
  if [ -n "$problem" ]; then
    echo "round $round, over a removed install: $problem"; ls -la "$home"
    failures=$((failures + 1))
  fi
  rm -rf -- "$xdg"
  round=$((round + 1))
done
echo "$rounds rounds of two double starts, $failures with a fault"
[ "$failures" = 0 ]
