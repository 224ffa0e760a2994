# board.py: reads the settings file and the saved-game record for the end-to-end tests.
"""Subcommands (values are passed around as hex, so any byte survives the shell):
The board's size and colours come from the LAYOUT_* variables of build/layout.sh (lib.sh
exports them).

  get CONF NAME              the value's bytes in hex, or "-" when the value is missing
  show HEX                   the record as a 7 x 6 picture and the score, for the log
  check HEX                  a well-formed record of a game in progress (exit status)
  plan HEX                   "fc fr tc tr": a ball and an empty cell it can reach
  check-move BEFORE AFTER fc fr tc tr
                             AFTER is what the rules allow after that move from BEFORE
  put-last-move CONF SCORE   stores a game one move from its end as the saved game: no two
                             neighbours alike, only the bottom right cell empty; moving the
                             ball beside it there fills the board whatever the new ball draws
"""

import os
import re
import sys
from collections import deque

COLUMNS, ROWS, COLOURS = (int(os.environ["LAYOUT_" + n]) for n in ("COLUMNS", "ROWS", "BALL_COLOURS"))
CELLS = COLUMNS * ROWS
RECORD = CELLS + 4  # the cells, then the score in four base-224 digits


def read_conf(path):
    values = {}
    try:
        text = open(path, "rb").read()
    except OSError:
        return values
    for line in text.split(b"\n"):
        m = re.match(rb'^\s*([^=\s]+)\s*=\s*"(.*)"\s*$', line)
        if not m:
            continue
        raw, out, i = m.group(2), bytearray(), 0
        while i < len(raw):
            c = raw[i]
            if c == ord("\\") and i + 1 < len(raw):
                n = raw[i + 1]
                if n == ord("x") and i + 3 < len(raw):
                    out.append(int(raw[i + 2 : i + 4], 16))
                    i += 4
                    continue
                out.append(n)
                i += 2
                continue
            out.append(c)
            i += 1
        values[m.group(1).decode().lower()] = bytes(out)
    return values


def decode(record):
    """(cells[column][row], score) of a record."""
    if len(record) != RECORD:
        raise ValueError("record of %d bytes, not %d" % (len(record), RECORD))
    cells = [[record[c + COLUMNS * r] - 32 for r in range(ROWS)] for c in range(COLUMNS)]
    score = 0
    for n in range(3, -1, -1):
        score = score * 224 + (record[CELLS + n] - 32) % 256
    return cells, score


def show(cells, score):
    rows = []
    for r in range(ROWS):
        rows.append(" ".join("." if cells[c][r] == 0 else str(cells[c][r]) for c in range(COLUMNS)))
    return "\n".join(rows) + "\nscore %d" % score


def reachable(cells, fc, fr):
    """Empty cells reachable from (fc, fr) through empty cells, with their distance."""
    seen = {(fc, fr): 0}
    todo = deque([(fc, fr)])
    while todo:
        c, r = todo.popleft()
        for dc, dr in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            n = (c + dc, r + dr)
            if 0 <= n[0] < COLUMNS and 0 <= n[1] < ROWS and n not in seen and cells[n[0]][n[1]] == 0:
                seen[n] = seen[(c, r)] + 1
                todo.append(n)
    del seen[(fc, fr)]
    return seen


def runs(cells):
    """Cells in straight runs of 4 or more of one colour, in any of the four directions."""
    marked = set()
    for c in range(COLUMNS):
        for r in range(ROWS):
            k = cells[c][r]
            if k == 0:
                continue
            for dc, dr in ((1, 0), (0, 1), (1, 1), (1, -1)):
                run = [(c, r)]
                while True:
                    nc, nr = run[-1][0] + dc, run[-1][1] + dr
                    if not (0 <= nc < COLUMNS and 0 <= nr < ROWS) or cells[nc][nr] != k:
                        break
                    run.append((nc, nr))
                if len(run) >= 4:
                    marked.update(run)
    return marked


def count_empty(cells):
    return sum(1 for c in range(COLUMNS) for r in range(ROWS) if cells[c][r] == 0)


def balls_to_add(empty, level=0):
    if empty > 30 - level:
        return 4
    return 3 if empty > 3 else empty


def moved(cells, fc, fr, tc, tr):
    m = [col[:] for col in cells]
    m[tc][tr], m[fc][fr] = m[fc][fr], 0
    return m


def plan(cells):
    """The move that proves most: a far target, and no run made by the move itself."""
    best = None
    for r in range(ROWS):
        for c in range(COLUMNS):
            if cells[c][r] == 0:
                continue
            for (tc, tr), dist in reachable(cells, c, r).items():
                score = (not runs(moved(cells, c, r, tc, tr)), dist)
                if best is None or score > best[0]:
                    best = (score, (c, r, tc, tr))
    return best[1] if best else None


def check_move(before, after, fc, fr, tc, tr):
    """Empty list when AFTER follows from BEFORE by the rules; otherwise the faults."""
    (b, sb), (a, sa) = decode(before), decode(after)
    faults = []
    if b[fc][fr] == 0:
        return ["the planned ball is not in the record before the move"]
    m = moved(b, fc, fr, tc, tr)
    removed = runs(m)
    cells = [(c, r) for c in range(COLUMNS) for r in range(ROWS)]
    if removed:
        # A move that scores brings no new balls.
        for c, r in cells:
            want = 0 if (c, r) in removed else m[c][r]
            if a[c][r] != want:
                faults.append("cell (%d,%d) is %d, expected %d" % (c, r, a[c][r], want))
        if sa - sb != len(removed):
            faults.append("score rose by %d, expected %d" % (sa - sb, len(removed)))
        return faults
    new = [(c, r) for c, r in cells if m[c][r] == 0 and a[c][r] != 0]
    want_new = balls_to_add(count_empty(m))
    if any(not 1 <= a[c][r] <= COLOURS for c, r in new):
        faults.append("a new ball has a colour outside 1..%d" % COLOURS)
    if sa == sb:
        for c, r in cells:
            if m[c][r] != 0 and a[c][r] != m[c][r]:
                faults.append("cell (%d,%d) is %d, expected %d" % (c, r, a[c][r], m[c][r]))
        if len(new) != want_new:
            faults.append("%d new balls, expected %d" % (len(new), want_new))
    else:
        # The new balls completed a run that was removed at once: count the balls.
        balls_m = COLUMNS * ROWS - count_empty(m)
        balls_a = COLUMNS * ROWS - count_empty(a)
        if balls_a != balls_m + want_new - (sa - sb):
            faults.append("%d balls after the move, expected %d" % (balls_a, balls_m + want_new - (sa - sb)))
    return faults


def encode_score(value):
    out = bytearray()
    while value:
        out.append(value % 224 + 32)
        value //= 224
    return bytes(out.ljust(4, b" "))


def last_move_record(score):
    """The 46-byte record of the game one move from its end (see put-last-move)."""
    cells = bytes(33 + (k % COLUMNS + 2 * (k // COLUMNS)) % 5 if k < 41 else 32 for k in range(42))
    return cells + encode_score(score)


def put_conf(path, name, value):
    """Stores one value, escaped as the game writes it, keeping the other lines."""
    text = "".join(chr(b) if 0x20 <= b < 0x7F and b not in b'\\"' else
                   ("\\" + chr(b) if b in b'\\"' else "\\x%02X" % b) for b in value)
    try:
        lines = open(path, encoding="ascii").read().splitlines()
    except OSError:
        lines = []
    lines = [l for l in lines if not l.lower().startswith(name.lower() + "=")]
    lines.append('%s="%s"' % (name, text))
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")


def main(argv):
    cmd = argv[1] if len(argv) > 1 else ""
    if cmd == "get" and len(argv) == 4:
        v = read_conf(argv[2]).get(argv[3].lower())
        print("-" if v is None else (v.hex() or "''"))
        return 0
    if cmd == "show" and len(argv) == 3:
        print(show(*decode(bytes.fromhex(argv[2]))))
        return 0
    if cmd == "check" and len(argv) == 3:
        record = bytes.fromhex(argv[2])
        if len(record) != RECORD:
            print("record of %d bytes, not %d" % (len(record), RECORD))
            return 1
        if any(not 0 <= ch - 32 <= COLOURS for ch in record[:CELLS]):
            print("a cell holds a colour outside 0..%d" % COLOURS)
            return 1
        if count_empty(decode(record)[0]) == 0:
            print("a saved game never has a full board")
            return 1
        return 0
    if cmd == "plan" and len(argv) == 3:
        move = plan(decode(bytes.fromhex(argv[2]))[0])
        if move is None:
            print("no ball can move")
            return 1
        print("%d %d %d %d" % move)
        return 0
    if cmd == "check-move" and len(argv) == 8:
        faults = check_move(bytes.fromhex(argv[2]), bytes.fromhex(argv[3]), *map(int, argv[4:8]))
        for f in faults:
            print(f)
        return 1 if faults else 0
    if cmd == "put-last-move" and len(argv) == 4:
        put_conf(argv[2], "Game", last_move_record(int(argv[3])))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
