#!/usr/bin/env bash
# Builds the Debian package and checks it the way a user meets it: staged
# install (desktop entry and AppStream data validated, launcher run from the
# staging folder), `cpack -G DEB`, installation with apt-get, tqlookup and its
# manual page from the installed paths, the launcher's per-user folder, and
# removal. Installs and removes the package `telquest` on this machine, so it
# runs as root (or with sudo). Run from anywhere:
#   scripts/check-package.sh
# Extra configure arguments for trials: CHECK_PACKAGE_CMAKE_ARGS="-DTELQUEST_GUI=OFF".
#
# Checks whose condition needs several commands pass it to eval in single
# quotes, so that it is evaluated inside `check`.
# shellcheck disable=SC2016,SC2034,SC2317
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD

build=build/package
stage=$root/$build/stage
passed=0
failed=0

pass() { passed=$((passed + 1)); echo "  ok    $*"; }
fail() { failed=$((failed + 1)); echo "  FAIL  $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  echo "package: $passed passed, $failed failed"
  ((failed == 0))
  exit
}
abort() {
  fail "$*"
  finish
}

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
as_root() { "${sudo_cmd[@]}" "$@"; }

version=$(sed -n 's/^project(telquest VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n "$version" ]] || abort "project version found in CMakeLists.txt"

for file in res/cit.bin res/arc.bin res/exc.bin res/ctz.bin res/tzl.bin; do
  [[ -s "$file" ]] || abort "data file $file exists (generate it with tools/data before packaging)"
done

scratch=$(mktemp -d)
chmod 755 "$scratch"  # the read-only check runs as another user
trap 'rm -rf "$scratch"' EXIT

# -- build and staged install -------------------------------------------------------

echo "== build ($build)"
read -r -a extra_args <<<"${CHECK_PACKAGE_CMAKE_ARGS:-}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELQUEST_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DTELQUEST_GUI=ON "${extra_args[@]}" >"$scratch/configure.log" 2>&1 ||
  { cat "$scratch/configure.log"; abort "configure"; }
cmake --build "$build" --parallel "$(nproc)" >"$scratch/build.log" 2>&1 ||
  { tail -40 "$scratch/build.log"; abort "build"; }
pass "configure and build"

gui=0
grep -q '^TELQUEST_GUI:BOOL=ON' "$build/CMakeCache.txt" && gui=1

rm -rf "$stage"
DESTDIR=$stage cmake --install "$build" >"$scratch/install.log" 2>&1 ||
  { cat "$scratch/install.log"; abort "cmake --install into a staging folder"; }
pass "cmake --install into a staging folder"

expected=(usr/bin/tqlookup usr/share/telquest/cit.bin usr/share/telquest/arc.bin
          usr/share/telquest/exc.bin usr/share/telquest/ctz.bin usr/share/telquest/tzl.bin
          usr/share/telquest/tqdata.manifest
          usr/share/man/man1/tqlookup.1.gz usr/share/doc/telquest/copyright)
if ((gui)); then
  expected+=(usr/bin/telquest usr/libexec/telquest/telquest
             usr/share/applications/telquest.desktop
             usr/share/dbus-1/services/io.github.telquest.Telquest.SearchProvider.service
             usr/share/gnome-shell/search-providers/io.github.telquest.Telquest.search-provider.ini
             usr/share/krunner/dbusplugins/telquest-krunner.desktop
             usr/share/metainfo/io.github.telquest.Telquest.metainfo.xml
             usr/share/man/man1/telquest.1.gz
             usr/share/icons/hicolor/scalable/apps/telquest.svg)
  for size in 16 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/telquest.png")
  done
else
  echo "  note  no window program in this build: its files are not checked"
fi
missing=()
for file in "${expected[@]}"; do [[ -e "$stage/$file" ]] || missing+=("$file"); done
check "staged install holds all ${#expected[@]} expected files${missing:+ (missing: ${missing[*]})}" \
  test ${#missing[@]} -eq 0

if ((gui)); then
  validate() {  # validate LOG COMMAND...: quiet unless it fails
    local log=$scratch/$1
    shift
    "$@" >"$log" 2>&1 || { sed 's/^/        /' "$log"; return 1; }
  }
  check "desktop-file-validate telquest.desktop" validate desktop.log \
    desktop-file-validate "$stage/usr/share/applications/telquest.desktop"
  check "appstreamcli validate --no-net metainfo" validate appstream.log \
    appstreamcli validate --no-net "$stage/usr/share/metainfo/io.github.telquest.Telquest.metainfo.xml"
  check "metainfo names release $version" \
    grep -q "<release version=\"$version\"" "$stage/usr/share/metainfo/io.github.telquest.Telquest.metainfo.xml"

  # The staged launcher finds the staged program and data by its own location.
  XDG_DATA_HOME=$scratch/staged TELQUEST_LAUNCHER_PREPARE_ONLY=1 "$stage/usr/bin/telquest" &&
    [[ "$(readlink "$scratch/staged/telquest/cit.bin")" == "$stage/usr/share/telquest/cit.bin" ]]
  check "staged launcher links the staged data" test $? -eq 0
fi

# -- Debian package ------------------------------------------------------------------

echo "== cpack -G DEB"
rm -f "$build"/telquest_*.deb
(cd "$build" && cpack -G DEB) >"$scratch/cpack.log" 2>&1 ||
  { tail -40 "$scratch/cpack.log"; abort "cpack -G DEB"; }
debs=("$build"/telquest_"$version"_*.deb)
[[ -f "${debs[0]}" ]] || abort "cpack wrote $build/telquest_${version}_<arch>.deb"
deb=${debs[0]}
pass "cpack wrote $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

info=$(dpkg-deb -I "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
echo "$info" | sed -n '/^ [A-Z]/,$p' | sed 's/^/        /'
check "control: Package telquest, Version $version, Section utils" \
  test "$(field Package)|$(field Version)|$(field Section)" = "telquest|$version|utils"
check "control: dependencies computed (libc6)" grep -q "libc6" <<<"$(field Depends)"
if ((gui)); then
  check "control: dependencies computed (libqt6widgets6)" grep -q "libqt6widgets6" <<<"$(field Depends)"
fi
check "package holds the copyright file" \
  grep -q "usr/share/doc/telquest/copyright" <<<"$(dpkg-deb -c "$deb")"

# -- installation ----------------------------------------------------------------------

echo "== apt-get install"
if dpkg-query -W -f='${Status}' telquest 2>/dev/null | grep -q "ok installed"; then
  as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq telquest >/dev/null 2>&1
fi
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "./$deb" >"$scratch/apt.log" 2>&1 || { tail -30 "$scratch/apt.log"; abort "apt-get install ./$deb"; }
pass "apt-get install ./$(basename "$deb")"
installed_files=$(dpkg -L telquest | while read -r f; do [[ -d "$f" ]] || echo "$f"; done)

empty=$scratch/empty
mkdir -p "$empty"
answer=$(cd "$empty" && tqlookup 937 2>&1)
status=$?
check "tqlookup resolves to /usr/bin/tqlookup" test "$(command -v tqlookup)" = /usr/bin/tqlookup
check "tqlookup --version names $version" test "$(tqlookup --version)" = "tqlookup (Telquest Pro) $version"
check "tqlookup 937 in an empty folder answers from the installed data" \
  eval '((status == 0)) && grep -q "937" <<<"$answer" && ! grep -q "No cities found" <<<"$answer"'
[[ $status -eq 0 ]] || echo "$answer" | head -10 | sed 's/^/        /'

if grep -qs '^path-exclude=/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
  # Minimal images keep dpkg from unpacking manual pages: render the packaged one.
  echo "  note  dpkg excludes manual pages here; rendering the staged page instead"
  page=$(MANPAGER=cat PAGER=cat MANWIDTH=80 man -l "$stage/usr/share/man/man1/tqlookup.1.gz" 2>&1)
else
  page=$(MANPAGER=cat PAGER=cat MANWIDTH=80 man -P cat tqlookup 2>&1)
fi
check "man -P cat tqlookup renders" \
  eval 'grep -q "^NAME" <<<"$page" && grep -q "EXIT STATUS" <<<"$page" && ! grep -qi "warning" <<<"$page"'

# -- launcher ----------------------------------------------------------------------------

if ((gui)); then
  echo "== launcher"
  export TELQUEST_LAUNCHER_PREPARE_ONLY=1
  xdg=$scratch/xdg
  folder=$xdg/telquest
  links_ok() {
    [[ "$(readlink "$folder/cit.bin")" == /usr/share/telquest/cit.bin &&
       "$(readlink "$folder/arc.bin")" == /usr/share/telquest/arc.bin &&
       -r "$folder/cit.bin" && -r "$folder/arc.bin" ]]
  }

  XDG_DATA_HOME=$xdg telquest
  status=$?
  check "first start creates \$XDG_DATA_HOME/telquest with links to the data" \
    eval '((status == 0)) && links_ok'

  echo 1 >"$folder/tqs.ini"
  before=$(stat -c '%i %Y' "$folder/cit.bin" "$folder/arc.bin")
  XDG_DATA_HOME=$xdg telquest
  status=$?
  check "second start reuses the folder, links and tqs.ini" \
    eval '((status == 0)) && [[ "$(stat -c "%i %Y" "$folder/cit.bin" "$folder/arc.bin")" == "$before" ]] && [[ "$(cat "$folder/tqs.ini")" == 1 ]]'

  # The user's own files are moved aside, never overwritten; the user's own
  # link is left as it is; a copy equal to the installed data is left too.
  rm "$folder/cit.bin" && echo mine >"$folder/cit.bin"
  ln -sfn /etc/hostname "$folder/arc.bin"
  message=$(XDG_DATA_HOME=$xdg telquest 2>&1)
  status=$?
  check "the user's own copy is kept aside, with a message, and the user's link left" \
    eval '((status == 0)) && [[ "$(readlink "$folder/cit.bin")" == /usr/share/telquest/cit.bin ]] &&
      grep -qx mine "$folder"/cit.bin.2* && [[ "$(readlink "$folder/arc.bin")" == /etc/hostname ]] &&
      grep -q "kept as" <<<"$message"'
  ln -sfn /usr/share/telquest/arc.bin "$folder/arc.bin"
  rm "$folder/cit.bin" && cp /usr/share/telquest/cit.bin "$folder/cit.bin"
  XDG_DATA_HOME=$xdg telquest
  status=$?
  check "a copy equal to the installed data is kept" eval '((status == 0)) && [[ -f "$folder/cit.bin" && ! -L "$folder/cit.bin" ]]'

  # Many starts at once on a fresh folder: none fails, the result is whole.
  race=$scratch/race
  pids=()
  for _ in 1 2 3 4 5 6 7 8; do XDG_DATA_HOME=$race telquest & pids+=($!); done
  race_ok=1
  for pid in "${pids[@]}"; do wait "$pid" || race_ok=0; done
  folder=$race/telquest
  # Whole: nothing but a link to each installed data file and its marker.
  only_links() {
    local entry name
    for entry in "$folder"/* "$folder"/.[!.]*; do
      name=${entry##*/}
      if [[ $name == .*.linked ]]; then name=${name#.}; name=${name%.linked}; else
        [[ "$(readlink "$entry")" == "/usr/share/telquest/$name" ]] || return 1
      fi
      [[ -e /usr/share/telquest/$name ]] || return 1
    done
  }
  check "eight simultaneous first starts all succeed" eval '((race_ok)) && links_ok && only_links'

  # Read-only: root ignores permission bits, so these run as nobody.
  run_as_nobody=()
  if [[ $(id -u) -eq 0 ]]; then run_as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
  readonly_base=$scratch/readonly
  mkdir -p "$readonly_base/existing/telquest"
  # The folder is the user's own: one that belongs to another is refused first.
  if ((${#run_as_nobody[@]})); then chown 65534:65534 "$readonly_base/existing/telquest"; fi
  chmod 555 "$readonly_base" "$readonly_base/existing" "$readonly_base/existing/telquest"
  for case in "$readonly_base" "$readonly_base/existing"; do
    message=$("${run_as_nobody[@]}" env HOME=/nonexistent XDG_DATA_HOME="$case" telquest 2>&1 >/dev/null)
    status=$?
    check "read-only data home ${case#"$scratch"/}: status 1 and a message on standard error" \
      eval '((status == 1)) && grep -q "^telquest: .*read-only" <<<"$message"'
    echo "        $message"
  done
  chmod 755 "$readonly_base" "$readonly_base/existing" "$readonly_base/existing/telquest"
  unset TELQUEST_LAUNCHER_PREPARE_ONLY

  # The window itself, started twice at once without a display.
  export XDG_RUNTIME_DIR=$scratch/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  gui_home=$scratch/gui
  XDG_DATA_HOME=$gui_home QT_QPA_PLATFORM=offscreen timeout 4 telquest >"$scratch/gui1.log" 2>&1 &
  first=$!
  XDG_DATA_HOME=$gui_home QT_QPA_PLATFORM=offscreen timeout 4 telquest >"$scratch/gui2.log" 2>&1
  second=$?
  wait "$first"
  first=$?
  settings_ok() {
    [[ ! -e "$gui_home/telquest/tqs.ini" ]] || grep -qx -- '-\?[0-9]\+' "$gui_home/telquest/tqs.ini"
  }
  # 124: still running when the timeout ended it, as a window program should be.
  check "two windows started at once run (offscreen) and leave tqs.ini whole" \
    eval '((first == 124 && second == 124)) && settings_ok'
  ((first == 124 && second == 124)) || cat "$scratch/gui1.log" "$scratch/gui2.log" | head -20
fi

# -- removal ----------------------------------------------------------------------------

echo "== apt-get remove"
as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq telquest >"$scratch/remove.log" 2>&1 ||
  { cat "$scratch/remove.log"; fail "apt-get remove telquest"; }
left=()
while read -r file; do [[ -n "$file" && -e "$file" ]] && left+=("$file"); done <<<"$installed_files"
check "apt-get remove telquest leaves none of its $(wc -l <<<"$installed_files") files${left:+ (left: ${left[*]})}" \
  test ${#left[@]} -eq 0
check "package is no longer installed" \
  eval '! dpkg-query -W -f="\${Status}" telquest 2>/dev/null | grep -q "ok installed"'

finish
