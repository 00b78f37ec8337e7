#!/usr/bin/env bash
# The real program's command line, with no display at all: --help and --version answer as GNU
# tools do, and an unknown option is refused with a usage line before any window could open.
#   command_line.sh PROGRAM
set -uo pipefail
PROGRAM=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
status=0
fail() { echo "FAIL: $*"; status=1; }

out=$("$PROGRAM" --help 2>/dev/null); rc=$?
[ $rc -eq 0 ] || fail "--help ended with $rc"
[[ $out == "Usage: sorvinta [OPTION]... [FILE.wav]"* ]] || fail "--help printed: $out"

out=$("$PROGRAM" --version 2>/dev/null); rc=$?
[ $rc -eq 0 ] || fail "--version ended with $rc"
[[ $out == "sorvinta (Sorvinta) 3.0"* ]] || fail "--version printed: $out"

err=$("$PROGRAM" --bogus 2>&1 >/dev/null); rc=$?
[ $rc -eq 2 ] || fail "--bogus ended with $rc"
grep -q "^Usage: sorvinta" <<<"$err" || fail "--bogus said: $err"
grep -q "bogus" <<<"$err" || fail "--bogus did not name the option: $err"

[ $status -eq 0 ] && echo "--help, --version and --bogus answered without a display"
exit $status
