#!/usr/bin/env bash
# Starts one of the programs on its own X server (Xvfb) and saves a PNG of the
# whole screen.
#
#   tools/screenshot.sh [--from BIN] [--tray] [--do CMD] <program-folder> <ravell|rvreporter> <out.png> [seconds]
#
# <program-folder> is where the program runs and keeps its files. A folder that
# already holds the program is used as it is; any other folder first gets a
# copy of the programs, libraries and Help/ of BIN (default: build/bin). With
# --from the copy is always made, so a scratch folder gets a fresh build.
# Copies, not links: the programs find their files through /proc/self/exe,
# which resolves links to the build folder.
#
# The picture is taken once a window of the program shows and [seconds]
# (default 1) more have passed. --tray starts a tray host (trayer) first, so
# the tracker gets its notification-area icon. --do runs CMD (a shell command,
# typically xdotool) on the program's display once its window shows, so a
# picture can show a menu used or a tree opened.
set -euo pipefail

usage() {
  awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"
}

die() {
  echo "screenshot.sh: $*" >&2
  exit 1
}

repo=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
from=""
tray=0
action=""
args=()
while (($#)); do
  case "$1" in
    --tray) tray=1 ;;
    --from) from=${2:?--from needs a folder}; shift ;;
    --do) action=${2:?--do needs a command}; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) usage >&2; exit 2 ;;
    *) args+=("$1") ;;
  esac
  shift
done
if ((${#args[@]} < 3 || ${#args[@]} > 4)); then usage >&2; exit 2; fi
folder=${args[0]}
program=${args[1]}
out=${args[2]}
settle=${args[3]:-1}
case "$program" in ravell | rvreporter) ;; *) die "program must be ravell or rvreporter" ;; esac

needed=(Xvfb xdotool xwd xwdtopnm pnmtopng)
if ((tray)); then needed+=(trayer xwininfo); fi
for tool in "${needed[@]}"; do
  command -v "$tool" >/dev/null || die "$tool is missing; run ./setup.sh first"
done

mkdir -p "$folder" "$(dirname "$out")"
folder=$(cd "$folder" && pwd)
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

if [[ -n $from || ! -x $folder/$program ]]; then
  bin=$(cd "${from:-$repo/build/bin}" 2>/dev/null && pwd) || die "no build in ${from:-$repo/build/bin}; run ./setup.sh first"
  [[ -x $bin/$program ]] || die "$bin has no $program; run ./setup.sh first"
  if [[ $bin != "$folder" ]]; then
    # --remove-destination: the old copy may still be running elsewhere.
    for file in "$bin"/ravell "$bin"/rvreporter "$bin"/*.so; do
      if [[ -e $file ]]; then cp --remove-destination "$file" "$folder/"; fi
    done
    if [[ -d $bin/Help ]]; then cp -r "$bin/Help" "$folder/"; fi
  fi
fi

# Without settings the tracker would start in set-up mode (the Notes link
# library is beside it); pictures show the ordinary start on day log files.
if [[ $program == ravell && ! -e $folder/ravell.ini ]]; then
  printf '[Storage]\r\nTarget=Log\r\n' >"$folder/ravell.ini"
fi

scratch=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid=${pids[i]}
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# -displayfd picks a free display itself, so runs can go side by side.
mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
pids+=($!)
read -r -t 10 display <"$scratch/display" || die "Xvfb did not start: $(cat "$scratch/xvfb.log")"
export DISPLAY=:$display
export XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

if ((tray)); then
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0xd0d0d0 >"$scratch/trayer.log" 2>&1 &
  pids+=($!)
  # Qt looks for the tray when it starts; wait until the host is there.
  for _ in $(seq 50); do
    xwininfo -root -tree 2>/dev/null | grep -q '"panel"' && break
    sleep 0.1
  done
fi

(cd "$folder" && exec "./$program") >"$scratch/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

shown=0
for _ in $(seq 200); do
  kill -0 "$program_pid" 2>/dev/null || break
  if xdotool search --onlyvisible --pid "$program_pid" >/dev/null 2>&1; then
    shown=1
    break
  fi
  sleep 0.1
done
if ! kill -0 "$program_pid" 2>/dev/null; then
  wait "$program_pid" && status=0 || status=$?
  cat "$scratch/program.log" >&2
  die "$program ended (exit status $status) before the picture was taken"
fi
((shown)) || echo "screenshot.sh: no window of $program showed within 20 s; taking the screen as it is" >&2
if [[ -n $action ]]; then
  sleep 0.5
  bash -c "$action" || die "--do command failed"
fi
sleep "$settle"

xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out"
echo "$out"
