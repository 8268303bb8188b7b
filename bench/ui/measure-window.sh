#!/usr/bin/env bash
# Start-up time (process start to the first paint of the conversation view with the opening
# line, median of 5) and idle CPU (10 s with the window shown) of the real program under Xvfb.
#   measure-window.sh PROGRAM_FOLDER
set -euo pipefail
home=${1:?program folder}
work=$(mktemp -d /tmp/tamzel-measure-XXXXXX)
cp -r "$home"/. "$work"/
rm -rf "$work"/users/* "$work"/zaznamy/*.txt
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  set -e; cd "$1"; unset QT_QPA_PLATFORM
  ./tamzel --home "$1" --user Meranie >/dev/null 2>&1 & p=$!; sleep 3; kill $p; wait $p || true
  times=(); cpus=()
  for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    TAMZEL_TIMING=1 ./tamzel --home "$1" --user Meranie 2>"$1/t.log" & p=$!
    for j in $(seq 100); do grep -q "first paint" "$1/t.log" && break; sleep 0.05; done
    painted=$(sed -n "s/tamzel: first paint at \([0-9]*\).*/\1/p" "$1/t.log")
    cpus+=($(sed -n "s/.*(cpu \([0-9]*\) ms)/\1/p" "$1/t.log"))
    times+=($(( (painted - start) / 1000000 )))
    if [ $i -eq 5 ]; then
      sleep 2
      t0=$(awk "{print \$14+\$15}" /proc/$p/stat); sleep 10; t1=$(awk "{print \$14+\$15}" /proc/$p/stat)
      hz=$(getconf CLK_TCK)
      echo "idle CPU over 10 s: $(( (t1 - t0) * 1000 / hz / 10 )) per mille of one core"
    fi
    kill $p; wait $p 2>/dev/null || true
  done
  echo "start to first paint (ms): ${times[*]}"
  echo "median: $(printf "%s\n" "${times[@]}" | sort -n | sed -n 3p) ms"
  echo "CPU time of the process until then (ms): ${cpus[*]}"
  echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
' _ "$work"
rm -rf "$work"
