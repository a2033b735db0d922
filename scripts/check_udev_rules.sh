#!/usr/bin/env bash
# Checks an installed udev rules file where `udevadm verify` is missing:
# every line is a comment, blank, or comma-separated KEY op "value" pairs
# with known operators; every vendor:product of the catalogue ($2) is
# matched, and access is given with the uaccess tag.
set -euo pipefail
rules="$1"
catalogue="$2"
bad=0
n=0
while IFS= read -r line || [ -n "$line" ]; do
  n=$((n + 1))
  case "$line" in ''|'#'*) continue ;; esac
  rest="$line"
  while [ -n "$rest" ]; do
    if [[ $rest =~ ^[[:space:]]*([A-Za-z_]+(\{[^}]+\})?)[[:space:]]*(==|!=|\+=|-=|:=|=)[[:space:]]*\"([^\"\\]|\\.)*\"[[:space:]]*(,|$)(.*)$ ]]; then
      rest="${BASH_REMATCH[6]}"
    else
      echo "line $n is not a udev rule: $line" >&2
      bad=1
      break
    fi
  done
done <"$rules"
grep -q 'TAG+="uaccess"' "$rules" || { echo "no uaccess tag" >&2; bad=1; }
while read -r vid pid; do
  grep -qi "$vid" "$rules" && grep -qi "$pid" "$rules" || { echo "$vid:$pid is not matched" >&2; bad=1; }
done < <(grep -o 'vid="[0-9A-Fa-f]*" pid="[0-9A-Fa-f]*"' "$catalogue" | sed -E 's/vid="([^"]*)" pid="([^"]*)"/\1 \2/' | sort -u)
exit "$bad"
