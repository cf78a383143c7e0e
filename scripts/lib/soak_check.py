"""The end checks of scripts/soak, from what the run left in its folder WORK.

   python3 scripts/lib/soak_check.py WORK ORVELLA

WORK holds samples.tsv (id, hot folder, folder index, copies, edge and name in
the hot folder of every sample, the name with \\\\, \\t and \\n escaped),
expect/ID.json and expect/ID/ (what `orvella convert` made of each sample:
the print file of every unit), runs.tsv (how each run of serve ended: "kill"
or "exit", its output, and "upload" for a kill in mid-upload), edges.tsv
(what scripts/lib/soak_edges.py did), the printers' spools, hot/ and the
program folder home/. Prints one line per violation and the figures; exit
status 1 when anything was violated.
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
# (a name may hold a line break)
JOB_LINE = re.compile(r"^\S+ \S+ job (.*) \((.*)\) \[(in progress|done|failed)\] (.*)$", re.S)
COUNTERS = re.compile(r"部数(\d+)/(\d*)(?: ページ(\d+)(?:/(\d+))?)?")
STOPPED = re.compile(r"^\S+ \S+ state 停止中$")
VANISHED = re.compile(r"^\S+ \S+ detail .*: .* does not exist$", re.S)
# Where a line of serve's output starts; anything else goes on the line before.
LINE_START = re.compile(r"^(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d |orvella serve: )")
REPLACED = "処理中にファイルが置き換えられました"
REMOVED = "処理中にファイルが削除されました"


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def serve_name(text):
    """A name as serve's output writes it: control characters as escapes (a
    backslash of the name itself is written as it is)."""
    return re.sub(r"\\(x[0-9a-f]{2}|[nrt])",
                  lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1)) or chr(int(m.group(1)[1:], 16)), text)


class Units:
    """Every unit the samples make, by the content of its print file. A file
    replaced while it prints is two samples under one name: the first and its
    "-new" sample, which has another page count."""

    def __init__(self, work):
        self.expected = {}  # unit key -> prints wanted
        self.by_digest = {}  # print file content -> unit key
        self.of_file = collections.defaultdict(list)  # sample id -> its unit keys
        self.mode = {}  # sample id -> "page", "whole" or "plot"
        self.pages = {}  # sample id -> its page count
        self.name = {}  # sample id -> its name in the hot folder
        self.edge = {}  # sample id -> its edge ("" for none)
        self.ids = collections.defaultdict(list)  # name -> the samples under it
        self.problems = []
        for line in (work / "samples.tsv").read_text(encoding="utf-8").splitlines():
            sample, _hot, _index, copies, edge, name = line.split("\t")
            self.name[sample], self.edge[sample] = unescape(name), edge
            self.ids[self.name[sample]].append(sample)
            outcome = json.loads((work / "expect" / (sample + ".json")).read_text(encoding="utf-8"))
            self.mode[sample] = outcome["mode"]
            self.pages[sample] = len(outcome["units"])
            for unit in outcome["units"]:
                key = (sample, unit["page"] if outcome["mode"] == "page" else outcome["mode"])
                if not unit["ok"]:
                    self.problems.append(f"sample {sample} does not convert: {unit['message']} ({unit.get('detail')})")
                    continue
                content = digest(pathlib.Path(unit["print_file"]))
                if content in self.by_digest:
                    self.problems.append(f"samples {self.by_digest[content]} and {key} make the same print file")
                self.by_digest[content] = key
                self.expected[key] = 1 if outcome["mode"] == "whole" else int(copies)
                self.of_file[sample].append(key)

    def sample(self, name, text):
        """The sample a job line of NAME speaks of (None when it cannot tell)."""
        samples = self.ids.get(name, [])
        if len(samples) == 1:
            return samples[0]
        m = COUNTERS.search(text)
        total = m and (m.group(4) or m.group(3))
        return next((s for s in samples if total == str(self.pages[s])), None)

    def unit_of(self, name, text):
        """The unit a job line of NAME speaks of (None for none)."""
        sample = self.sample(name, text)
        if self.mode.get(sample) == "page":
            m = COUNTERS.search(text)
            return (sample, int(m.group(3))) if m and m.group(3) else None
        return (sample, self.mode[sample]) if sample else None


def serve_lines(log):
    """Serve's output lines; a name with a line break makes one line of two."""
    lines = []
    for text in log.read_text(encoding="utf-8", errors="replace").removesuffix("\n").split("\n"):
        if lines and not LINE_START.match(text):
            lines[-1] += "\n" + text
        else:
            lines.append(text)
    return lines


class Runs:
    """What serve's output tells of every run: the units in flight when it was
    killed or stopped, the units it reported done, and the ends of jobs whose
    file was replaced or removed."""

    def __init__(self, work, units):
        self.last = None
        self.in_flight = collections.Counter()
        self.reported = collections.Counter()  # unit key -> "done" lines
        self.kills = self.stops = self.kills_in_upload = 0
        self.ended = []  # (run, name, sample, REPLACED or REMOVED) of each job so ended
        self.stopped_after_removal = []
        self.lines = []  # (run, offset after the line, name, mark, text) of every job line
        for run, line in enumerate((work / "runs.tsv").read_text(encoding="utf-8").splitlines(), 1):
            how, log, during = (line.split("\t") + [""])[:3]
            self.read_run(run, work / pathlib.Path(log).name, units)
            if how == "kill":
                self.kills += 1
                self.kills_in_upload += during == "upload"
                if self.last and self.last[0]:
                    self.in_flight[self.last[0]] += 1

    def read_run(self, run, log, units):
        self.last = None  # (unit, mark) of the newest job line
        done = None  # the newest unit done
        vanished = False  # the newest job's file went away under it
        removal = None  # the name of a job just ended by its file's removal
        offset = 0
        for text in serve_lines(log):
            offset += len(text.encode("utf-8", "replace")) + 1
            if m := JOB_LINE.match(text):
                name, mark, status = serve_name(m.group(1)), m.group(3), m.group(4)
                self.lines.append((run, offset, name, mark, status))
                unit = units.unit_of(name, status)
                self.last = (unit, mark)
                if mark == "done":
                    done, vanished = unit, False
                    self.reported[unit] += 1
                for end in (REPLACED, REMOVED):
                    if status.startswith(end):
                        self.ended.append((run, name, units.sample(name, status), end))
                removal = name if status.startswith(REMOVED) else None
            elif VANISHED.match(text):
                vanished = True
            elif STOPPED.match(text):
                if removal:
                    self.stopped_after_removal.append(removal)
                if self.last and self.last[1] != "done":
                    self.stops += 1
                    if self.last[0]:
                        self.in_flight[self.last[0]] += 1
                    # The unit done before it was not recorded as done when its
                    # file had gone by then: it is printed again.
                    if vanished and done:
                        self.in_flight[done] += 1
                    self.last = None
            elif " detail " not in text:
                removal = None


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
        names.update((p.name, message) for p in folder.iterdir() if p.name not in ("error.csv", "detail.txt"))
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


def prefix_compatible(counts, allowed, copies, pages):
    """Whether page counts COUNTS (page -> prints) are the first k units of
    copies x pages in print order, for some k, each page printed at most
    ALLOWED[page] times more."""
    for k in range(copies * pages + 1):
        q, r = divmod(k, pages)
        if all(0 <= counts[p] - (q + (p <= r)) <= allowed[p] for p in range(1, pages + 1)):
            return True
    return False


def read_edges(work):
    """What soak_edges.py did: sample id -> (edge, outcome, run, offset)."""
    edges = {}
    path = work / "edges.tsv"
    for line in path.read_text(encoding="utf-8").splitlines() if path.exists() else []:
        sample, edge, outcome, run, offset, _trigger = line.split("\t", 5)
        edges[sample] = (edge, outcome, int(run), int(offset))
    return edges


def check_edges(units, runs, counts, edges, problems):
    """A file replaced while it printed printed a prefix of its units and
    nothing after; a file removed while it printed printed nothing more than
    the unit then in flight; a chunked file was taken only whole."""
    for sample, edge in units.edge.items():
        name = units.name[sample]
        if edge in ("replace", "rewrite"):
            keys = units.of_file[sample]
            copies = units.expected[keys[0]]
            if not prefix_compatible({k[1]: counts[k] for k in keys}, {k[1]: runs.in_flight[k] for k in keys},
                                     copies, len(keys)):
                problems.append(f"{name}, {edge}d while it printed, printed pages "
                                f"{[counts[k] for k in keys]} times: not the first units of "
                                f"{copies} x {len(keys)} (in flight at kills or stops: "
                                f"{[runs.in_flight[k] for k in keys]})")
        elif edge == "delete" and edges.get(sample, ("", ""))[1] == "mid":
            _, _, run, offset = edges[sample]
            late = [t for r, o, n, mark, t in runs.lines if n == name and mark == "done" and (r, o) > (run, offset)]
            if len(late) > 1:
                problems.append(f"{name} was removed while it printed, and {len(late)} units were reported done "
                                f"after (at most the one in flight may be): {late}")
            for key in units.of_file[sample]:
                if counts[key] > runs.reported[key] + runs.in_flight[key]:
                    problems.append(f"{name}, removed while it printed, unit {key[1]} printed {counts[key]} times, "
                                    f"reported done {runs.reported[key]} times, in flight {runs.in_flight[key]}")
            if name in runs.stopped_after_removal:
                problems.append(f"the system stopped when {name} was removed while it printed")
    for run, name, sample, end in runs.ended:
        kinds = {units.edge[s] for s in units.ids.get(name, [])}
        if end == REPLACED and (not kinds & {"replace", "rewrite"} or units.edge.get(sample) == "new"):
            problems.append(f"{name!r} ({', '.join(sorted(kinds)) or 'no edge'}) was taken before it was whole: "
                            f"a job of it ended in run {run} as {end}")
        if end == REMOVED and "delete" not in kinds:
            problems.append(f"a job of {name!r}, which nobody removed, ended in run {run} as {end}")


def main():
    work, orvella = pathlib.Path(sys.argv[1]), sys.argv[2]
    home = work / "home"
    units = Units(work)
    problems = list(units.problems)
    counts, cut_short = printed(work, units, orvella, problems)
    runs = Runs(work, units)
    edges = read_edges(work)
    discarded = check_no_cut_upload_stored(work, cut_short, problems)
    still_hot = {p.name for p in (work / "hot").rglob("*") if p.is_file()}
    in_error = error_folders(home)

    duplicates = 0
    for key, wanted in sorted(units.expected.items(), key=str):
        got = counts[key]
        if runs.reported[key] > got:
            problems.append(f"{key[0]} unit {key[1]} was reported done {runs.reported[key]} times, printed {got}")
        if units.edge[key[0]] in ("replace", "rewrite") or edges.get(key[0], ("", ""))[1] == "mid":
            continue  # a file replaced or removed while it printed: check_edges
        extra = got - wanted
        if extra > 0:
            duplicates += extra
            if extra > runs.in_flight[key]:
                problems.append(
                    f"{units.name[key[0]]!r} unit {key[1]} printed {got} times for {wanted} wanted; "
                    f"it was in flight at {runs.in_flight[key]} kill(s) or stop(s)"
                )
    check_edges(units, runs, counts, edges, problems)
    for sample, keys in sorted(units.of_file.items()):
        name = units.name[sample]
        missing = [k[1] for k in keys if counts[k] < units.expected[k]]
        cut = units.edge[sample] in ("replace", "rewrite") or edges.get(sample, ("", ""))[1] == "mid"
        if name in still_hot:
            problems.append(f"{name!r} is still in its hot folder at the end")
        elif missing and not cut and name not in in_error:
            problems.append(f"{name!r} was deleted with unit(s) {missing} unprinted and is not in the error folder")
        if name in in_error:  # every sample converts: only the system can have failed it
            problems.append(f"{name!r} went to the error folder ({in_error[name]}) with unit(s) {missing} unprinted")
    check_job_log(home, problems)

    for line in dict.fromkeys(problems):
        print(f"VIOLATION: {line}")
    edge_count = collections.Counter(units.edge.values())
    done_edges = collections.Counter((edge, outcome) for edge, outcome, _, _ in edges.values())
    ended = collections.Counter(end for _, _, _, end in runs.ended)
    print(
        f"files {len(units.of_file)}, units {sum(units.expected.values())}, "
        f"printed {sum(counts.values())}, duplicates {duplicates}, uploads cut and discarded {discarded}, "
        f"kills {runs.kills} ({runs.kills_in_upload} in an upload), stops {runs.stops}, "
        f"in the error folder {len(in_error)}"
    )
    print(
        f"edges: names outside CP932 or with a line break or comma {edge_count['name']}, "
        f"chunked {edge_count['chunked']}, "
        f"replaced {done_edges['replace', 'mid']} (+{done_edges['replace', 'late']} after their job), "
        f"rewritten {done_edges['rewrite', 'mid']} (+{done_edges['rewrite', 'late']}), "
        f"removed {done_edges['delete', 'mid']} (+{done_edges['delete', 'missed']} gone before); "
        f"jobs ended as replaced {ended[REPLACED]}, as removed {ended[REMOVED]}"
    )
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
