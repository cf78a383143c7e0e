# Sourced by scripts/demo and scripts/soak from the top of the tree: the two
# simulated printers on loopback, the program folder that prints to them and
# the sample drawings. The caller sets bin (the folder holding orvella and
# orvella-printer-sim) and work (a folder of its own); every background
# process started here is added to the caller's array pids.

# Waits up to SECONDS for process PID to end; false when it still runs.
wait_gone() {
  local pid=$1 seconds=$2 i
  for ((i = 0; i < seconds * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Stops the processes PIDS... (SIGTERM, SIGKILL after five seconds) and
# waits for them.
stop() {
  local pid
  for pid in "$@"; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in "$@"; do
    wait_gone "$pid" 5 || kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

# Starts a simulated printer in its folder $work/NAME for SECONDS at most;
# false when it did not come up within five seconds (a port taken, say).
start_printer() {
  local name=$1 address=$2 ftp=$3 snmp=$4 seconds=$5 i
  "$bin/orvella-printer-sim" --dir "$work/$name" --address "$address" --ftp-port "$ftp" \
    --snmp-port "$snmp" --max-seconds "$seconds" > "$work/$name.log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  for ((i = 0; i < 50; i++)); do
    grep -qs '^listening ' "$work/$name.log" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Starts "plotter" (127.0.0.1, wide-format) and "office" (127.0.0.2, A2
# class, trays in its info file), both ready and online, for SECONDS at most.
# Every printer is reached on the same two ports (HIDDEN.INI holds them for
# all): the plotter takes free ones, the office printer the same on its
# address. Sets ftp_port and snmp_port; false when they did not start.
start_printers() {
  local seconds=$1 attempt
  mkdir -p "$work/plotter" "$work/office"
  printf 'Plotter (Ready.)\r\nOnline/Offline : Online.\r\n' > "$work/plotter/stat"
  printf 'Office (Ready.)\r\nOnline/Offline : Online.\r\n' > "$work/office/stat"
  cat > "$work/office/info" <<'EOF'
Tray information
No. Name              Page Size Status
--- ----------------- --------- ------
1   Tray 1            A4        Ready
2   Tray 2            A4R       Ready
3   Tray 3            A3        Ready
4   Tray 4            A3R       Ready
5   Tray 5            A2R       Ready

EOF
  ftp_port="" snmp_port=""
  for attempt in 1 2 3; do
    if start_printer plotter 127.0.0.1 0 0 "$seconds"; then
      read -r ftp_port snmp_port < <(sed -n '1s/^listening ftp=\([0-9]*\) snmp=\([0-9]*\).*/\1 \2/p' "$work/plotter.log")
      start_printer office 127.0.0.2 "$ftp_port" "$snmp_port" "$seconds" && return 0
    fi
    stop "${pids[@]}"
    pids=()
    ftp_port=""
  done
  cat "$work/plotter.log" "$work/office.log" 2>/dev/null
  return 1
}

# Sets KEY of HIDDEN.INI in the program folder HOME, a key it already holds,
# to VALUE.
set_hidden_setting() {
  sed -i -E "s/^$2=.*/$2=\"$3\"\r/" "$1/INI/HIDDEN.INI"
}

# Writes the program folder HOME from the example folder: the hot folder
# HOT/drawings (plotter and office, stamp, fold; COPIES copies) and
# HOT/office (office, 2 copies, staple, punch, duplex), the plotter a 400 dpi
# model with four rolls, the office printer's trays read from its info file,
# and the simulators' ports. False (with what went wrong on stderr) when the
# settings are not accepted.
write_program_folder() {
  local home=$1 hot=$2 copies=${3:-1}
  mkdir -p "$home" "$hot/drawings" "$hot/office"
  cp -r examples/program-folder/INI "$home/"
  set_hidden_setting "$home" PRINTER_FTP_PORT "$ftp_port"
  set_hidden_setting "$home" PRINTER_SNMP_PORT "$snmp_port"
  "$bin/orvella" --home "$home" settings dump > "$work/settings.json"
  python3 - "$hot" "$copies" "$work/settings.json" > "$work/folder-settings.json" <<'EOF'
import json, sys
hot, copies, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
with open(path, encoding="utf-8") as f:
    settings = json.load(f)
drawings = settings["inputs"][0]
drawings["INPUT_DIR"] = hot + "/drawings"
drawings["QTY"] = copies
office = dict(drawings)
office.update({
    "INPUT_DIR": hot + "/office",
    "MEMO": "事務所の書類（A4・A3、2部、穴あけ・両面）",
    "QTY": 2,
    "THRESFOLD_A2_PRINTER": 0,      # up to A2 on the office printer
    "A2OPTION_STAPLE": 1,           # LEFTTOP
    "A2OPTION_PUNCH": 1,            # LEFT
    "A2OPTION_BOTHSIDE": 1,         # long-edge duplex
    "SINGLETIFF_ENABLE_A2OPTION": 1,
})
settings["inputs"] = [drawings, office]
plotter, office_printer = settings["printers"]
plotter.update({"MODEL": 0,  # MODEL_05, 400 dpi
                "TRAY1_SIZE": 5, "TRAY2_SIZE": 4, "TRAY3_SIZE": 3, "TRAY4_SIZE": 2})  # 841/594/420/297 rolls
office_printer["A2PRINTER_TRAYSTRUCT_AUTO"] = 1
for own in ("hidden", "folder_models", "app_data"):
    settings.pop(own, None)
json.dump(settings, sys.stdout, ensure_ascii=False, indent=1)
EOF
  "$bin/orvella" --home "$home" settings apply "$work/folder-settings.json" > /dev/null &&
    "$bin/orvella" --home "$home" settings check > "$work/check.json" ||
    { cat "$work/check.json" >&2; return 1; }
}

# Centres the page of tests/data/printfile/one_page_g4.tif on a W x H mm
# canvas in OUT (Group 4).
make_page() {
  "$bin/orvella" tool tiff-canvas tests/data/printfile/one_page_g4.tif "$1" --page 0 \
    --width-mm "$2" --height-mm "$3" --compress > /dev/null
}

# An A1 plot in a PJL envelope in OUT: the sheet's outline and a line from
# (2000, 2000) to (X, Y) in plotter units (defaults: the other corner).
make_plot() {
  local x=${2:-21760} y=${3:-31640}
  printf '\033%%-12345X@PJL\r\n@PJL ENTER LANGUAGE = HPGL2\r\n\033%%0BIN;SP1;PA0,0;PD0,0,23760,0,23760,33640,0,33640,0,0;PU;PA2000,2000;PD%d,%d;PU;SP0;PG;\033%%0A\033%%-12345X' \
    "$x" "$y" > "$1"
}
