"""The end checks of scripts/soak, from what the run left in its folder WORK.

   python3 scripts/lib/soak_check.py WORK ORVELLA

WORK holds samples.tsv (name, hot folder, folder index, copies of every sample),
expect/NAME.json and expect/NAME/ (what `orvella convert` made of each sample:
the print file of every unit), runs.tsv (how each run of serve ended: "kill"
or "exit", and its output), the printers' spools, hot/ and the program
folder home/. Prints one line per violation and the figures; exit status 1
when anything was violated.
"""
import collections
import csv
import hashlib
import io
import json
import pathlib
import re
import subprocess
import sys

PRINTERS = ("plotter", "office")
# "2026/12/10 08:00:01 job plan.tif (/srv/hot) [in progress] 転送中(部数1/2 ページ3/4)[転送]"
JOB_LINE = re.compile(r"^\S+ \S+ job (.*) \((.*)\) \[(in progress|done|failed)\] (.*)$")
COUNTERS = re.compile(r"部数(\d+)/(\d*)(?: ページ(\d+)(?:/(\d+))?)?")
STOPPED = re.compile(r"^\S+ \S+ state 停止中$")
VANISHED = re.compile(r"^\S+ \S+ detail .*: .* does not exist$")


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


class Units:
    """Every unit the samples make, by the content of its print file."""

    def __init__(self, work):
        self.expected = {}  # unit key -> prints wanted
        self.by_digest = {}  # print file content -> unit key
        self.of_file = collections.defaultdict(list)  # sample name -> its unit keys
        self.mode = {}  # sample name -> "page", "whole" or "plot"
        self.copies = {}
        self.problems = []
        for line in (work / "samples.tsv").read_text(encoding="utf-8").splitlines():
            name, _hot, _index, copies = line.split("\t")
            outcome = json.loads((work / "expect" / (name + ".json")).read_text(encoding="utf-8"))
            self.mode[name] = outcome["mode"]
            for unit in outcome["units"]:
                key = (name, unit["page"] if outcome["mode"] == "page" else outcome["mode"])
                if not unit["ok"]:
                    self.problems.append(f"sample {name} does not convert: {unit['message']} ({unit.get('detail')})")
                    continue
                content = digest(pathlib.Path(unit["print_file"]))
                if content in self.by_digest:
                    self.problems.append(f"samples {self.by_digest[content]} and {key} make the same print file")
                self.by_digest[content] = key
                self.expected[key] = 1 if outcome["mode"] == "whole" else int(copies)
                self.of_file[name].append(key)


def unit_of(name, mode, text):
    """The unit a job line of sample NAME speaks of (None for none)."""
    if mode == "page":
        m = COUNTERS.search(text)
        return (name, int(m.group(3))) if m and m.group(3) else None
    return (name, mode) if mode else None


def interruptions(work, units):
    """Units in flight when serve was killed or stopped, with how often."""
    in_flight = collections.Counter()
    kills = stops = 0
    for line in (work / "runs.tsv").read_text(encoding="utf-8").splitlines():
        how, log = line.split("\t")
        last = None  # (unit, mark) of the newest job line
        done = None  # the newest unit done
        vanished = False  # the newest job's file went away under it
        for text in pathlib.Path(log).read_text(encoding="utf-8", errors="replace").splitlines():
            if m := JOB_LINE.match(text):
                name = m.group(1)
                last = (unit_of(name, units.mode.get(name), m.group(4)), m.group(3))
                if m.group(3) == "done":
                    done, vanished = last[0], False
            elif VANISHED.match(text):
                vanished = True
            elif STOPPED.match(text) and last and last[1] != "done":
                stops += 1
                if last[0]:
                    in_flight[last[0]] += 1
                # The unit done before it was not recorded as done when its
                # file had gone by then: it is printed again.
                if vanished and done:
                    in_flight[done] += 1
                last = None
        if how == "kill":
            kills += 1
            if last and last[0]:
                in_flight[last[0]] += 1
    return in_flight, kills, stops


def printed(work, units, orvella, problems):
    """How often each unit was printed, and the spooled jobs that are no whole job."""
    counts = collections.Counter()
    cut_short = []
    for printer in PRINTERS:
        for job in sorted((work / printer / "spool").glob("*.prn")):
            key = units.by_digest.get(digest(job))
            if key:
                counts[key] += 1
            elif subprocess.run([orvella, "tool", "inspect-job", str(job)], capture_output=True).returncode == 0:
                problems.append(f"{printer} printed {job.name}, a complete job that no sample makes")
            else:
                cut_short.append(job)
    return counts, cut_short


def check_no_cut_upload_stored(work, cut_short, problems):
    """An upload cut off (serve killed or timed out in mid-transfer, the line
    dropped) ends in a reset, which the printer discards: it must never be
    stored as a job. Returns how many uploads the printers discarded so."""
    for job in cut_short:
        problems.append(f"{job.parent.parent.name} stored {job.name}, an upload cut short ({job.stat().st_size} bytes)")
    discarded = 0
    for printer in PRINTERS:
        log = work / f"{printer}.log"
        if log.exists():
            discarded += log.read_text(encoding="utf-8", errors="replace").count("upload cut by a reset after")
    return discarded


def error_folders(home):
    """Sample names that have a folder under ERROR/, with the message of each."""
    names = {}
    for folder in (home / "ERROR").glob("*/"):
        log = folder / "error.csv"
        message = log_records(log.read_bytes().decode("cp932", "replace"))[1][-1] if log.exists() else "?"
        names.update((p.name, message) for p in folder.iterdir() if p.name != "error.csv")
    return names


def log_records(text):
    """The records of a job log (CSV: a quoted field may hold a line end)."""
    return list(csv.reader(io.StringIO(text, newline="")))


def check_job_log(home, problems):
    for log in sorted((home / "LOG").glob("*.csv")):
        try:
            text = log.read_bytes().decode("cp932")
        except UnicodeDecodeError as e:
            problems.append(f"job log {log.name} is not CP932 text: {e}")
            continue
        if not text.endswith("\r\n"):
            problems.append(f"job log {log.name} ends in a torn line: {text[-80:]!r}")
        for number, record in enumerate(log_records(text), 1):
            if len(record) != 10:
                problems.append(f"job log {log.name} record {number} is torn: {record!r}")


def main():
    work, orvella = pathlib.Path(sys.argv[1]), sys.argv[2]
    home = work / "home"
    units = Units(work)
    problems = list(units.problems)
    counts, cut_short = printed(work, units, orvella, problems)
    discarded = check_no_cut_upload_stored(work, cut_short, problems)
    in_flight, kills, stops = interruptions(work, units)
    still_hot = {p.name for p in (work / "hot").rglob("*") if p.is_file()}
    in_error = error_folders(home)

    duplicates = 0
    for key, wanted in sorted(units.expected.items(), key=str):
        got = counts[key]
        extra = got - wanted
        if extra > 0:
            duplicates += extra
            if extra > in_flight[key]:
                problems.append(
                    f"{key[0]} unit {key[1]} printed {got} times for {wanted} wanted; "
                    f"it was in flight at {in_flight[key]} kill(s) or stop(s)"
                )
    for name, keys in sorted(units.of_file.items()):
        missing = [k[1] for k in keys if counts[k] < units.expected[k]]
        if name in still_hot:
            problems.append(f"{name} is still in its hot folder at the end")
        elif missing and name not in in_error:
            problems.append(f"{name} was deleted with unit(s) {missing} unprinted and is not in the error folder")
        if name in in_error:  # every sample converts: only the system can have failed it
            problems.append(f"{name} went to the error folder ({in_error[name]}) with unit(s) {missing} unprinted")
    check_job_log(home, problems)

    for line in problems:
        print(f"VIOLATION: {line}")
    print(
        f"files {len(units.of_file)}, units {sum(units.expected.values())}, "
        f"printed {sum(counts.values())}, duplicates {duplicates}, uploads cut and discarded {discarded}, "
        f"kills {kills}, stops {stops}, in the error folder {len(in_error)}"
    )
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
