#!/usr/bin/env bash
# Link launcher: runs the link and fails it when the linker merged two string
# tables that define the same id (it only warns, and one text silently wins).
err=$(mktemp)
"$@" 2>"$err"
rc=$?
cat "$err" >&2
if grep -q "duplicate string resource" "$err"; then
  echo "error: a string id is defined in two resource files (see the warning above)" >&2
  prev=
  for a in "$@"; do
    [ "$prev" = -o ] && rm -f "$a"
    prev=$a
  done
  rc=1
fi
rm -f "$err"
exit $rc
