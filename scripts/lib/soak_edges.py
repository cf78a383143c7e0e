"""Acts out the edges of scripts/soak that happen while a file prints.

   python3 scripts/lib/soak_edges.py WORK SEED SECONDS

WORK/edges-plan.tsv holds one line per file: its sample id, the edge
("replace": another file is renamed over it; "rewrite": that file is written
into it in place, same inode; "delete": it is removed), its path in the hot
folder and the path of the file that takes its place ("-" for delete). The
moment is drawn for each file once serve shows its first unit: after the
D-th unit done (D short of the file's unit count), at once or when the next
unit starts converting. Serve's output is followed in WORK/serve-N.log, run
after run. When WORK/edges-finish appears (or after SECONDS), a replacement
whose moment never came is dropped as a file of its own, and the helper
ends (not before: its pid stays its own until then). What was done goes to WORK/edges.tsv: id, edge, "mid" (the file was
there) or "late" (it had gone) or "missed" (a removal that found nothing),
the run and the size of its output just after (what serve wrote past it,
it wrote after the edge), and the line of serve's output that set it off.
"""
import os
import pathlib
import random
import re
import sys
import time

from soak_check import COUNTERS, JOB_LINE

SERVE_LOG = re.compile(r"serve-(\d+)\.log$")


class Edge:
    def __init__(self, line):
        self.id, self.kind, target, new = line.split("\t")
        self.target = pathlib.Path(target)
        self.new = None if new == "-" else pathlib.Path(new)
        self.after = None  # units done before the moment
        self.on_convert = False  # the moment is the next conversion after that
        self.done = 0
        self.due = None  # the line that set it off, once it has

    def follow(self, mark, text, line, rng):
        """Counts the file's progress; true when its moment has come."""
        if self.after is None:
            m = COUNTERS.search(text)
            if not m or not m.group(2) or not m.group(4):
                return False
            units = int(m.group(2)) * int(m.group(4))
            self.after = rng.randint(1, max(1, units - 1))
            self.on_convert = rng.random() < 0.4
        if mark == "done":
            self.done += 1
        if self.done < self.after:
            return False
        if self.on_convert and not text.startswith("変換中"):
            return False
        self.due = line
        return True

    def act(self):
        """Does the edge; None while the hot folder is away, else the outcome."""
        if not self.target.parent.is_dir():
            return None
        try:
            if self.kind == "delete":
                try:
                    self.target.unlink()
                    return "mid"
                except FileNotFoundError:
                    return "missed"
            there = self.target.exists()
            os.utime(self.new)  # written now, as a copy would be
            if self.kind == "rewrite" and there:
                data = self.new.read_bytes()
                fd = os.open(self.target, os.O_WRONLY | os.O_TRUNC)
                try:
                    os.write(fd, data[: len(data) // 2])
                    time.sleep(0.2)  # a writer in mid-file while the job holds it
                    os.write(fd, data[len(data) // 2 :])
                finally:
                    os.close(fd)
                self.new.unlink()
                return "mid"
            os.rename(self.new, self.target)
            return "mid" if there else "late"
        except FileNotFoundError:
            return None  # the folder went away in between


class Follower:
    """Serve's output lines as they come, across its runs."""

    def __init__(self, work):
        self.work = work
        self.run = 0
        self.offset = 0
        self.pending = b""

    def lines(self):
        newest = max((int(m.group(1)) for p in self.work.glob("serve-*.log") if (m := SERVE_LOG.search(p.name))),
                     default=0)
        out = []
        while self.run <= newest:
            path = self.work / f"serve-{self.run}.log"
            if path.exists():
                with open(path, "rb") as f:
                    f.seek(self.offset)
                    chunk = f.read()
                self.offset += len(chunk)
                self.pending += chunk
                *complete, self.pending = self.pending.split(b"\n")
                out += [c.decode("utf-8", "replace") for c in complete]
            if self.run == newest:
                break
            self.run, self.offset, self.pending = self.run + 1, 0, b""
        return out


def main():
    work, rng, limit = pathlib.Path(sys.argv[1]), random.Random(int(sys.argv[2])), time.monotonic() + float(sys.argv[3])
    plan = (work / "edges-plan.tsv").read_text(encoding="utf-8").splitlines()
    edges = {e.target.name: e for e in map(Edge, plan)}
    due = []
    follower = Follower(work)
    with open(work / "edges.tsv", "a", encoding="utf-8") as record:

        def settle(edge, outcome):
            # Whatever serve writes past this point, it wrote after the edge.
            log = work / f"serve-{follower.run}.log"
            size = log.stat().st_size if log.exists() else 0
            trigger = (edge.due or "").replace("\n", " ")
            record.write(f"{edge.id}\t{edge.kind}\t{outcome}\t{follower.run}\t{size}\t{trigger}\n")
            record.flush()

        while True:
            finish = (work / "edges-finish").exists() or time.monotonic() > limit
            for line in follower.lines():
                m = JOB_LINE.match(line)
                edge = edges.get(m.group(1)) if m else None
                if edge and edge.follow(m.group(3), m.group(4), line, rng):
                    due.append(edge)
                    del edges[edge.target.name]
            for edge in list(due):
                outcome = edge.act()
                if outcome:
                    settle(edge, outcome)
                    due.remove(edge)
            if finish:
                for edge in list(edges.values()):
                    outcome = "missed" if edge.kind == "delete" else edge.act()
                    if outcome:
                        settle(edge, outcome)
                        del edges[edge.target.name]
                if not edges and not due:
                    break
                if time.monotonic() > limit + 10:
                    print(f"soak_edges: left undone: {[e.id for e in edges.values()] + [e.id for e in due]}")
                    return 1
            time.sleep(0.01)
    return 0


if __name__ == "__main__":
    sys.exit(main())
