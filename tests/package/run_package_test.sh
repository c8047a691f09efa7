#!/usr/bin/env bash
# Installs a qxbase build into a temporary prefix and uses it from there
# alone, as a user of the package would:
#   - the installed qxtool runs with a clean environment, and its manual
#     page and bash completion are in place;
#   - the GTK host plugin sits beside the library and finds it there;
#   - qx/qxbase.h includes every installed header, and every header
#     compiles on its own;
#   - tests/package/consumer builds through find_package(qxbase) (CMake
#     package), and the same main.cpp compiled by hand with
#     `pkg-config --cflags --libs`; both run with exit status 0.
#
#   run_package_test.sh BUILD_DIR SOURCE_DIR [CXX]
#
# CXX defaults to the compiler in $CXX or c++; CTest passes the one that
# built the library.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SOURCE_DIR [CXX]" >&2
  exit 2
fi
build_dir=$1
source_dir=$2
cxx=${3:-${CXX:-c++}}
consumer_dir=$source_dir/tests/package/consumer

work=$(mktemp -d "${TMPDIR:-/tmp}/qx-install-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
  echo "install test: $*" >&2
  exit 1
}

echo "== install into $prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

# Headers keep their repository paths; internal ones stay behind.
[ -f "$prefix/include/qx/qxbase.h" ] || fail "include/qx/qxbase.h not installed"
[ -f "$prefix/include/qx/tree/node.h" ] || fail "include/qx/tree/node.h not installed"
if find "$prefix/include" -path '*/internal/*' | grep -q .; then
  fail "internal headers were installed"
fi

echo "== installed qxtool"
# No LD_LIBRARY_PATH, no PATH: the program finds its library from its prefix.
env -i "$prefix/bin/qxtool" --version >/dev/null || fail "the installed qxtool does not run"
[ -s "$prefix/share/man/man1/qxtool.1" ] || fail "share/man/man1/qxtool.1 not installed"
completion=$prefix/share/bash-completion/completions/qxtool
[ -s "$completion" ] || fail "share/bash-completion/completions/qxtool not installed"
bash -n "$completion" || fail "the bash completion script does not parse"
# What the completion offers after "qxtool tree ".
offered=$(bash -c 'source "$1"; COMP_WORDS=(qxtool tree ""); COMP_CWORD=2; _qxtool; echo "${COMPREPLY[*]}"' _ "$completion")
case " $offered " in
  *" cat "*) ;;
  *) fail "the completion offers '$offered' after 'qxtool tree'" ;;
esac

echo "== GTK host plugin"
# Beside the library, where the library's loader looks, and finding the
# library in its own folder without LD_LIBRARY_PATH. A build without the
# plugin (QX_GTK=OFF) installs none.
core=$(find "$prefix" -name 'libqxbase.so.1' -print -quit)
plugin=$(find "$prefix" -name 'libqxbase-gtk.so' -print -quit)
if [ -e "$build_dir/qx/libqxbase-gtk.so" ] && [ -z "$plugin" ]; then
  fail "libqxbase-gtk.so was built but not installed"
fi
if [ -n "$plugin" ]; then
  [ "${plugin%/*}" = "${core%/*}" ] || fail "libqxbase-gtk.so is installed in ${plugin%/*}, not beside ${core}"
  # (Read whole first: grep -q stopping early would fail ldd's pipe.)
  linked=$(env -i ldd "$plugin")
  case "$linked" in
    *"not found"*) echo "$linked" >&2; fail "the installed libqxbase-gtk.so does not find its libraries" ;;
  esac
  grep -q "libqxbase.so.1 => ${core%/*}/" <<<"$linked" || fail "the installed plugin does not use the installed library"
fi

echo "== umbrella header and self-contained headers"
headers=$(cd "$prefix/include" && find qx -name '*.h' ! -path qx/qxbase.h | sort)
for h in $headers; do
  grep -qx "#include \"$h\"" "$prefix/include/qx/qxbase.h" || fail "qx/qxbase.h does not include $h (scripts/umbrella-header.sh writes it)"
done
# Each header compiled alone, two at a time.
# shellcheck disable=SC2086  # one header a word
printf '%s\n' $headers | xargs -P 2 -I{} sh -c \
  'printf "#include <%s>\\n" "$1" | "$2" -std=c++20 -fsyntax-only -x c++ -I"$3" - ||
   { echo "install test: $1 does not compile on its own" >&2; exit 255; }' _ {} "$cxx" "$prefix/include" ||
  fail "a header does not compile on its own"

# The consumer's dialog is answered by a script; the transcript shows what
# it showed.
printf 'type 55\npress OK\ncheck on\npress Nein\n' >"$work/ui-script"
export QX_UI=script QX_UI_SCRIPT="$work/ui-script"

echo "== CMake package"
cmake -S "$consumer_dir" -B "$work/cmake-consumer" -G Ninja \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >/dev/null
found=$(sed -n 's/^qxbase_DIR:PATH=//p' "$work/cmake-consumer/CMakeCache.txt")
case "$found" in
  "$prefix"/*) ;;
  *) fail "find_package found qxbase in '$found', not in the test prefix" ;;
esac
cmake --build "$work/cmake-consumer" >/dev/null
QX_UI_TRANSCRIPT="$work/transcript" "$work/cmake-consumer/qxbase_consumer"
grep -q '"kind":"edit","id":101,"text":"","rect":\[[0-9]*,[0-9]*,[0-9]*,[0-9]*\]' "$work/transcript" ||
  fail "the transcript does not show the dialog's edit at its rectangle"
grep -q '"event":"end",.*"result":1' "$work/transcript" || fail "the transcript does not show the dialog ended with OK"
grep -q '"text":"Frage".*"kind":"button","id":7,"text":"Nein","rect":\[' "$work/transcript" ||
  fail "the transcript does not show the family's box with its buttons at their rectangles"
grep -q '"event":"end",.*"text":"Frage","result":7' "$work/transcript" || fail "the family's box did not end with No"

echo "== pkg-config"
pc_file=$(find "$prefix" -name qxbase.pc -print -quit)
[ -n "$pc_file" ] || fail "qxbase.pc not installed"
export PKG_CONFIG_PATH=${pc_file%/*}
# Compiler flags before the source, libraries after it.
cflags=$(pkg-config --cflags qxbase)
libs=$(pkg-config --libs qxbase)
libdir=$(pkg-config --variable=libdir qxbase)
# shellcheck disable=SC2086  # the flags are lists of words
"$cxx" $cflags "$consumer_dir/main.cpp" -o "$work/pkg-config-consumer" $libs
LD_LIBRARY_PATH=$libdir "$work/pkg-config-consumer"
