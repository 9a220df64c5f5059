#!/bin/sh
# exported-symbols.sh LIBRARY LIMIT [SYMBOL...] -- ...
# Fails when a shipped library exports more dynamic symbols than its limit, or an export that
# is not among the SYMBOLs when they are given: what a library exports is its interface, and
# everything else must stay inside it.
status=0
while [ $# -gt 0 ]; do
  library=$1 limit=$2
  shift 2
  allowed=
  while [ $# -gt 0 ] && [ "$1" != -- ]; do allowed="$allowed $1"; shift; done
  [ $# -gt 0 ] && shift
  exported=$(nm -D --defined-only "$library" | awk '{print $3}')
  count=$(printf '%s\n' "$exported" | grep -c .)
  echo "$(basename "$library"): $count exported (limit $limit)"
  if [ "$count" -gt "$limit" ]; then
    echo "  more than $limit:"; printf '%s\n' "$exported" | sed 's/^/    /'; status=1
  fi
  if [ -n "$allowed" ]; then
    for symbol in $exported; do
      case " $allowed " in *" $symbol "*) ;; *) echo "  not its interface: $symbol"; status=1 ;; esac
    done
  fi
done
exit $status
