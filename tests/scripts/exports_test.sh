#!/usr/bin/env bash
# Libraries export their interface only. The caller library shows nothing but its C
# exports; the shared units compiled into it (settings, Base64, fixed fields) stay inside.
# Usage: exports_test.sh <program folder of the build>
set -uo pipefail
bin=$1
command -v nm >/dev/null || { echo "skip: nm is missing"; exit 77; }
exports=$(nm -D --defined-only "$bin/libZULCaller.so" | awk '{print $3}' | grep -v '^_' | sort | tr '\n' ' ')
expected="CallDLL CheckLoginInfo ZUL_CALL_SHOW ZUL_DB_CONNNECT ZUL_GET_USER_MENU ZUL_POST_MESSAGE "
if [ "$exports" != "$expected" ]; then
  echo "FAIL: libZULCaller.so exports: $exports"
  exit 1
fi
# A sample module exports its entry table and nothing of the code it was built from.
module=$(nm -D --defined-only "$bin/J900E.so" | awk '{print $3}' | grep -v '^_' | sort | tr '\n' ' ')
if [ "$module" != "CallForm SHOW_J900E " ]; then
  echo "FAIL: J900E.so exports: $module"
  exit 1
fi
echo "exports as intended"
