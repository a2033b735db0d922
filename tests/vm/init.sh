#!/bin/busybox sh
# /init of the VM of tests/vm/run_vm_tests.sh: mounts the kernel's file
# systems, loads hid, uhid and hid-generic, starts systemd-udevd and runs the
# scenarios against tk410-uhid-mouse on /dev/uhid. One line per scenario:
# PASS name, FAIL name: reason or SKIP name: reason; then VM-DONE and off.
/bin/busybox --install -s /bin
export PATH=/bin HOME=/tmp
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs run /run
mount -t tmpfs tmp /tmp
chmod 1777 /tmp

T=/opt/tk410/bin
CTL=$T/tk410ctl
MOUSE=$T/tk410-uhid-mouse
STATE=/tmp/mouse.state
MOUSE_PID=

pass() { echo "PASS $1"; }
fail() { echo "FAIL $1: $2"; }
finish() {
  # For the console printed on failure (or with TK410_VM_VERBOSE).
  for f in /tmp/mouse.log /tmp/watch.log /tmp/late.log /tmp/receiver.log /tmp/nwatch.log; do
    [ -f "$f" ] && { echo "---- $f"; cat "$f"; }
  done
  echo VM-DONE
  sync
  poweroff -f
}

# The Nordic values that survive a write and a read, one "key=value" line
# each; of sensor_flag only the bits 4, 8 and 16.
nordic_values() {
  $CTL --device-type 201 --data-dir "$1" get 2>&1 |
    grep -E '^(dpi_index|dpi_group[0-5]_value|report_rate|liftoff_height|button_respondtime)=' | sort
  flag=$($CTL --device-type 201 --data-dir "$1" get sensor_flag 2>/dev/null)
  case "$flag" in
    ''|*[!0-9]*) echo "sensor_flag unreadable: $flag" ;;
    *) echo "sensor_bits=$((flag & 28))" ;;
  esac
}

# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_for() {
  i=0
  while [ "$i" -lt "$2" ]; do
    eval "$1" && return 0
    usleep 100000
    i=$((i + 1))
  done
  return 1
}
hidraw_present() { ls /dev/hidraw* >/dev/null 2>&1; }
hidraw_gone() { ! hidraw_present; }

start_mouse() {
  $MOUSE --kind wired --state $STATE "$@" >>/tmp/mouse.log 2>&1 &
  MOUSE_PID=$!
  wait_for hidraw_present 50
}
stop_mouse() {
  [ -n "$MOUSE_PID" ] || return 0
  kill -TERM "$MOUSE_PID"
  wait "$MOUSE_PID"
  MOUSE_PID=
  wait_for hidraw_gone 50
}
# The values the scenarios compare, one "key value" line each.
values() {
  $CTL --data-dir "$1" get 2>&1 |
    grep -E '^(dpi_index|dpi_group[0-2]_value|report_rate|light_mode|liftoff_height|scroll_flag)=' | sort
}
settings_line() { grep "^settings 0 " "$1" 2>/dev/null; }

insmod /lib/modules/hid.ko && insmod /lib/modules/uhid.ko && insmod /lib/modules/hid-generic.ko ||
  { fail setup "the hid modules did not load"; finish; }
[ -c /dev/uhid ] || { fail setup "no /dev/uhid"; finish; }
mkdir -p /run/udev
systemd-udevd --daemon >/tmp/udevd.log 2>&1
wait_for '[ -e /run/udev/control ]' 50 || { fail setup "systemd-udevd did not start: $(cat /tmp/udevd.log)"; finish; }

# ---------------------------------------------------------------- enumerate
# The uhid mouse is listed as the wired mode on its hidraw node: its vendor
# collection (0xFF01/0x10) was found in the kernel's report descriptor.
if start_mouse; then
  out=$($CTL --data-dir /tmp/enum devices 2>&1)
  case "$out" in
    *"1209:0001 wired online /dev/hidraw"*) pass enumerate ;;
    *) fail enumerate "tk410ctl devices printed: $out" ;;
  esac
else
  fail enumerate "no hidraw node appeared for the uhid mouse: $(cat /tmp/mouse.log)"
fi

# ---------------------------------------------------------- write then read
# Known values written through hidraw, read back into a fresh database; the
# mouse's saved settings block must equal the one the same write leaves in
# the in-process virtual mouse.
W=/tmp/write
R=/tmp/read
$CTL --data-dir $W set dpi_index 0 >/dev/null
$CTL --data-dir $W set dpi_group0_value 800 >/dev/null
$CTL --data-dir $W set dpi_group1_value 1600 >/dev/null
$CTL --data-dir $W set dpi_group2_value 3300 >/dev/null
$CTL --data-dir $W set liftoff_height 2 >/dev/null
out=$($CTL --data-dir $W write 2>&1)
rc=$?
$CTL --data-dir $W --simulate wired --sim-state /tmp/sim.state write >/dev/null 2>&1
kill -HUP "$MOUSE_PID" 2>/dev/null
usleep 300000
if [ "$rc" -ne 0 ]; then
  fail write-read "write exit $rc: $out"
elif ! out=$($CTL --data-dir $R read 2>&1); then
  fail write-read "read: $out"
else
  values $W >/tmp/values.w
  values $R >/tmp/values.r
  if [ "$(wc -l </tmp/values.w)" -ne 8 ]; then
    fail write-read "tk410ctl get gave: $(tr '\n' ' ' </tmp/values.w)"
  elif ! cmp -s /tmp/values.w /tmp/values.r; then
    fail write-read "values differ: $(diff /tmp/values.w /tmp/values.r | grep '^[-+][a-z]' | tr '\n' ' ')"
  elif [ -z "$(settings_line $STATE)" ] || [ "$(settings_line $STATE)" != "$(settings_line /tmp/sim.state)" ]; then
    fail write-read "mouse state '$(settings_line $STATE)' is not the in-process '$(settings_line /tmp/sim.state)'"
  else
    pass write-read
  fi
fi
stop_mouse

# ------------------------------------------------------------------ hot-plug
# A running instance hears the mouse arrive (scan, initial read) and leave
# through the udev monitor and the interface path text.
H=/tmp/hotplug
cp -r $W $H
$CTL --data-dir $H watch 30 >/tmp/watch.log 2>&1 &
WATCH_PID=$!
if ! wait_for 'grep -q "^connection: No mouse" /tmp/watch.log' 100; then
  fail hot-plug "watch did not start: $(cat /tmp/watch.log)"
elif ! start_mouse; then
  fail hot-plug "the uhid mouse did not appear"
elif ! wait_for 'grep -q "^initial read done" /tmp/watch.log' 150; then
  fail hot-plug "no arrival seen: $(tr '\n' '|' </tmp/watch.log)"
else
  stop_mouse
  if wait_for '[ "$(grep -c "^connection: No mouse" /tmp/watch.log)" -ge 2 ]' 100; then
    pass hot-plug
  else
    fail hot-plug "no removal seen: $(tr '\n' '|' </tmp/watch.log)"
  fi
fi
kill -TERM $WATCH_PID 2>/dev/null
wait $WATCH_PID
stop_mouse

# ---------------------------------------------------------------- permission
# The node left root-only and the program run as nobody: permission denied
# with the fix, exit code 4.
if start_mouse; then
  chmod 600 /dev/hidraw*
  mkdir -p /tmp/perm && chown 65534:65534 /tmp/perm
  out=$(su -s /bin/sh -c "$CTL --data-dir /tmp/perm devices" nobody 2>&1)
  rc=$?
  case "$rc:$out" in
    "4:"*"permission denied on /dev/hidraw"*"udev-rules"*) pass permission ;;
    *) fail permission "exit $rc: $out" ;;
  esac
else
  fail permission "the uhid mouse did not appear"
fi
stop_mouse

# ------------------------------------------- late reply and status reports
# The first reply arrives after the reader's time-out and a DPI button report
# (stage 3) arrives while the program runs; afterwards the program's database
# and the mouse agree. The idle worker waits on the hidraw node's descriptor
# (the trace would say when it cannot).
L=/tmp/late
cp -r $W $L
if start_mouse --late-reply 1 --late-ms 1500; then
  TK410_TRACE=2 $CTL --data-dir $L watch 30 >/tmp/late.log 2>&1 &
  WATCH_PID=$!
  if ! wait_for 'grep -q "^initial read done" /tmp/late.log' 200; then
    fail late-reply "no initial read: $(tr '\n' '|' </tmp/late.log)"
  else
    kill -USR1 "$MOUSE_PID"
    if ! wait_for 'grep -q "^dpi stage: 3" /tmp/late.log' 50; then
      fail late-reply "the stage report was not taken: $(tr '\n' '|' </tmp/late.log)"
    else
      kill -TERM $WATCH_PID
      wait $WATCH_PID
      WATCH_PID=
      stage=$($CTL --data-dir $L get dpi_index 2>&1)
      echo "dpi_index after the report: $stage" >>/tmp/late.log
      $CTL --data-dir /tmp/late2 read >/dev/null 2>&1
      values $L >/tmp/values.l
      values /tmp/late2 >/tmp/values.l2
      sed 's/^dpi_index=.*/dpi_index=2/' /tmp/values.w >/tmp/values.expected
      if [ "$stage" != "2" ]; then
        fail late-reply "dpi_index $stage after the stage 3 report"
      elif grep -q "to wait on" /tmp/late.log; then
        fail late-reply "$(grep "to wait on" /tmp/late.log | head -n 1)"
      elif ! cmp -s /tmp/values.l2 /tmp/values.expected; then
        fail late-reply "the mouse now holds: $(diff /tmp/values.expected /tmp/values.l2 | grep '^[-+][a-z]' | tr '\n' ' ')"
      elif ! cmp -s /tmp/values.l /tmp/values.expected; then
        fail late-reply "the program's database differs: $(diff /tmp/values.expected /tmp/values.l | grep '^[-+][a-z]' | tr '\n' ' ')"
      else
        pass late-reply
      fi
    fi
  fi
  [ -n "$WATCH_PID" ] && { kill -TERM $WATCH_PID; wait $WATCH_PID; }
else
  fail late-reply "the uhid mouse did not appear"
fi
stop_mouse

# ------------------------------------------------- Nordic receiver write/read
# The receiver 1209:0004 with the mouse linked behind it: listed online,
# known values written through hidraw and read back into a fresh database;
# the mouse's saved settings block equals the one the same write leaves in
# the in-process virtual receiver.
NW=/tmp/nordic-write
NR=/tmp/nordic-read
NSTATE=/tmp/receiver.state
for kv in "dpi_index 1" "dpi_group0_value 900" "dpi_group1_value 1700" "dpi_group2_value 3300" \
          "report_rate 2" "liftoff_height 2" "button_respondtime 8" "sensor_flag 45"; do
  $CTL --device-type 201 --data-dir $NW set $kv >/dev/null
done
$MOUSE --kind receiver --state $NSTATE >>/tmp/receiver.log 2>&1 &
MOUSE_PID=$!
if ! wait_for hidraw_present 50; then
  fail nordic-write-read "no hidraw node appeared for the uhid receiver: $(cat /tmp/receiver.log)"
elif ! out=$($CTL --device-type 201 --data-dir $NW devices 2>&1) ||
     ! echo "$out" | grep -q "1209:0004 receiver online /dev/hidraw"; then
  fail nordic-write-read "tk410ctl devices printed: $out"
elif ! out=$($CTL --device-type 201 --data-dir $NW write 2>&1); then
  fail nordic-write-read "write: $out"
elif ! out=$($CTL --device-type 201 --data-dir $NR read 2>&1); then
  fail nordic-write-read "read: $out"
else
  $CTL --device-type 201 --data-dir $NW --simulate receiver --sim-state /tmp/nsim.state write >/dev/null 2>&1
  kill -HUP "$MOUSE_PID"
  usleep 300000
  nordic_values $NW >/tmp/nvalues.w
  nordic_values $NR >/tmp/nvalues.r
  if [ "$(wc -l </tmp/nvalues.w)" -ne 11 ] || ! grep -q '^sensor_bits=12$' /tmp/nvalues.w; then
    fail nordic-write-read "tk410ctl get gave: $(tr '\n' ' ' </tmp/nvalues.w)"
  elif ! cmp -s /tmp/nvalues.w /tmp/nvalues.r; then
    fail nordic-write-read "values differ: $(diff /tmp/nvalues.w /tmp/nvalues.r | grep '^[-+][a-z]' | tr '\n' ' ')"
  elif [ -z "$(settings_line $NSTATE)" ] || [ "$(settings_line $NSTATE)" != "$(settings_line /tmp/nsim.state)" ]; then
    fail nordic-write-read "receiver state '$(settings_line $NSTATE)' is not the in-process '$(settings_line /tmp/nsim.state)'"
  else
    pass nordic-write-read
  fi
fi
stop_mouse

# ---------------------------------------------------------- Nordic hot-plug
# A running `watch --device-type 201` hears the receiver arrive (scan, the
# Nordic connection sequence), leave, and arrive again; the second arrival
# reads the mouse again: a value changed on the computer in between comes
# back from the mouse.
NH=/tmp/nordic-hotplug
start_receiver() {
  $MOUSE --kind receiver --state $NSTATE >>/tmp/receiver.log 2>&1 &
  MOUSE_PID=$!
  wait_for hidraw_present 50
}
nh_rate() { $CTL --device-type 201 --data-dir $NH get report_rate 2>/dev/null; }
nwatch_log() { tr '\n' '|' </tmp/nwatch.log; }
$CTL --device-type 201 --data-dir $NH watch 90 >/tmp/nwatch.log 2>&1 &
WATCH_PID=$!
if ! wait_for 'grep -q "^connection: No mouse" /tmp/nwatch.log' 100; then
  fail nordic-hot-plug "watch did not start: $(nwatch_log)"
elif ! start_receiver; then
  fail nordic-hot-plug "the uhid receiver did not appear: $(cat /tmp/receiver.log)"
elif ! wait_for 'grep -q "^initial read done" /tmp/nwatch.log' 200; then
  fail nordic-hot-plug "no arrival seen: $(nwatch_log)"
else
  rate=$(nh_rate)
  stop_mouse
  case "$rate" in
    ''|*[!0-9]*) fail nordic-hot-plug "report_rate after the first arrival: '$rate'" ;;
    *)
      if ! wait_for '[ "$(grep -c "^connection: No mouse" /tmp/nwatch.log)" -ge 2 ]' 100; then
        fail nordic-hot-plug "no removal seen: $(nwatch_log)"
      elif ! $CTL --device-type 201 --data-dir $NH set report_rate $((rate == 5 ? 4 : 5)) >/dev/null; then
        fail nordic-hot-plug "set report_rate failed while the receiver was away"
      elif ! start_receiver; then
        fail nordic-hot-plug "the uhid receiver did not come back: $(cat /tmp/receiver.log)"
      elif ! wait_for '[ "$(grep -c "^connection: Connected (wireless)" /tmp/nwatch.log)" -ge 2 ]' 200; then
        fail nordic-hot-plug "no second arrival seen: $(nwatch_log)"
      elif ! wait_for '[ "$(nh_rate)" = "$rate" ]' 200; then
        fail nordic-hot-plug "the second arrival did not read the mouse: report_rate $(nh_rate), the mouse's $rate"
      else
        pass nordic-hot-plug
      fi
      ;;
  esac
fi
kill -TERM $WATCH_PID 2>/dev/null
wait $WATCH_PID
stop_mouse
finish
