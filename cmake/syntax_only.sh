#!/bin/sh
# Compiler launcher of the header checks: runs the compile command, which carries -fsyntax-only and so
# writes no object, then leaves the empty object the build expects, so that a check runs again only
# when something its header includes changes.
out=
prev=
for arg in "$@"; do
  [ "$prev" = "-o" ] && out=$arg
  prev=$arg
done
"$@" || exit $?
[ -z "$out" ] || : >"$out"
