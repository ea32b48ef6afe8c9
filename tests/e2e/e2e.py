#!/usr/bin/env python3
"""End-to-end tests of Lanterra.exe under Wine: a player's view of the game.

The game runs in a Wine virtual desktop on an X server that run_e2e.sh has
started. Clicks and menu keys are real X input (xdotool); what the game shows
is judged from screenshots (import) against its own resource pictures; the
helper probe.exe reports window geometry and message boxes and presses their
buttons.

Every step waits for the state it needs (the window in front, a menu open
and drawn, a box shown) instead of sleeping a fixed time: a cold Wine prefix
on a busy machine can take many seconds for what usually takes a fraction.

Usage: e2e.py GROUP  with GROUP one of start, move, menu, flip, boxes,
gameover, close.
Environment: DISPLAY, WINEPREFIX, E2E_EXE, E2E_PROBE, E2E_RESOURCES,
E2E_ARTIFACTS (screenshots are kept there), E2E_TOOL (the native lanterra
tool, for the game-over group).
"""
import os
import subprocess
import sys
import tempfile
import time

EXE = os.environ["E2E_EXE"]
PROBE = os.environ["E2E_PROBE"]
RESOURCES = os.environ["E2E_RESOURCES"]
ARTIFACTS = os.environ["E2E_ARTIFACTS"]

CELL = 56
MARGIN = 8
IDOK, IDYES, IDNO = 1, 6, 7


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, message, timeout=30, interval=0.3):
    """Polls condition() until it returns something other than None."""
    deadline = time.time() + timeout
    while True:
        result = condition()
        if result is not None:
            return result
        if time.time() > deadline:
            raise Failure(message() if callable(message) else message)
        time.sleep(interval)


# ---------------------------------------------------------------- images ----

class Image:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]


def load_image(path):
    size = subprocess.run(["identify", "-format", "%w %h", path + "[0]"], check=True,
                          capture_output=True, text=True).stdout.split()
    rgb = subprocess.run(["convert", path + "[0]", "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    return Image(int(size[0]), int(size[1]), rgb)


def screenshot(name=None):
    path = os.path.join(ARTIFACTS, (name or "last") + ".png")
    subprocess.run(["import", "-window", "root", path], check=True, capture_output=True)
    return load_image(path)


def wait_screen(condition, message, name=None, timeout=30):
    """Takes screenshots until one satisfies condition, and returns it."""
    def attempt():
        shot = screenshot(name)
        return shot if condition(shot) else None
    return wait_until(attempt, message, timeout)


PICTURES = {}


def picture(name):
    if name not in PICTURES:
        PICTURES[name] = load_image(os.path.join(RESOURCES, "bitmaps", name + ".bmp"))
    return PICTURES[name]


# ------------------------------------------------------------ the game ----

class Game:
    """One run of Lanterra.exe."""

    def __init__(self):
        self.process = subprocess.Popen(["wine", EXE], cwd=os.path.dirname(EXE),
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        line = ""
        for _ in range(3):  # the first start after wineboot can be slow
            result = probe("window", "20")
            if result.returncode == 0:
                line = result.stdout.strip()
                break
        check(line, "the main window did not appear in front")
        fields = line.split(" ", 6)
        self.x, self.y = int(fields[2]), int(fields[3])
        self.client = (int(fields[4]), int(fields[5]))
        self.title = fields[6] if len(fields) > 6 else ""
        wait_screen(lambda shot: shows(self, shot, 12, 7, "red-king"), "the board was not drawn")

    def cell_origin(self, rank, file):
        """Screen position of the displayed cell at rank 3..12, file 3..11."""
        return self.x + MARGIN + CELL * (file - 3), self.y + MARGIN + CELL * (rank - 3)

    def click(self, rank, file):
        x, y = self.cell_origin(rank, file)
        subprocess.run(["xdotool", "mousemove", str(x + CELL // 2), str(y + CELL // 2), "click", "1"],
                       check=True)
        time.sleep(0.3)

    def keys(self, *keys):
        for key in keys:
            subprocess.run(["xdotool", "key", key], check=True)
            time.sleep(0.2)

    def menu(self, *keys, stay_open=False):
        """Walks the menu by its access keys, each once the menu it needs is
        open: the first opens a menu, each further one a submenu, and the
        last runs a command unless the menus are to stay open."""
        for i, key in enumerate(keys):
            self.keys(key)
            last = i == len(keys) - 1
            wait_menus(0 if last and not stay_open else i + 1, "menu keys " + " ".join(keys[:i + 1]))

    def close_menus(self):
        self.keys("Escape", "Escape", "Escape")
        wait_menus(0, "closing the menus")

    def finish(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("the process did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def probe(*args):
    # Output goes to a file, not a pipe: the first Wine program of a session
    # starts Wine's own services, which inherit its handles and would keep a
    # pipe open long after the probe has answered.
    with tempfile.TemporaryFile() as out:
        try:
            code = subprocess.run(["wine", PROBE, *args], stdout=out, stderr=subprocess.DEVNULL,
                                  stdin=subprocess.DEVNULL, timeout=90).returncode
        except subprocess.TimeoutExpired:
            raise Failure(f"probe {' '.join(args)} did not answer")
        out.seek(0)
        return subprocess.CompletedProcess(args, code, out.read().decode("utf-8", "replace"), "")


def dialogs():
    boxes = []
    for line in probe("dialogs").stdout.splitlines():
        parts = line.rstrip("\r").split("\t")
        if len(parts) == 3:
            boxes.append((parts[0], parts[1], parts[2].replace("\\n", "\n")))
    return boxes


def wait_dialog(caption, timeout=30):
    def find():
        return next((box for box in dialogs() if box[1] == caption), None)
    return wait_until(find, lambda: f"no message box captioned {caption!r}; open: {dialogs()!r}", timeout)


def box_screenshot(box, name):
    """A screenshot once the box is drawn: text shows inside it and two
    screenshots in a row agree there."""
    left, top, right, bottom = (int(v) for v in probe("rect", box[0]).stdout.split())
    previous = []

    def drawn(shot):
        inside = [shot.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]
        dark = sum(1 for p in inside if sum(p) < 200)
        steady = inside == previous
        previous[:] = inside
        return dark > 50 and steady
    return wait_screen(drawn, f"the box {box[1]!r} was not drawn", name)


def press(box, button):
    probe("press", box[0], str(button))
    wait_until(lambda: None if any(b[0] == box[0] for b in dialogs()) else True,
               f"the box {box[1]!r} did not close")


# ------------------------------------------------------- board judgement ----

def cell_difference(game, shot, rank, file, reference, rx, ry, inset=0, skip_key=False):
    """Mean absolute colour difference of a cell against a reference picture."""
    x0, y0 = game.cell_origin(rank, file)
    total = count = 0
    for dy in range(inset, CELL - inset):
        for dx in range(inset, CELL - inset):
            ref = reference.pixel(rx + dx, ry + dy)
            if skip_key and ref == (0, 255, 0):
                continue
            got = shot.pixel(x0 + dx, y0 + dy)
            total += sum(abs(a - b) for a, b in zip(got, ref))
            count += 3
    return total / max(count, 1)


def is_bare(game, shot, rank, file):
    """The centre of the cell is plain board (a frame may sit in the corners)."""
    bx, by = MARGIN + CELL * (file - 3), MARGIN + CELL * (rank - 3)
    return cell_difference(game, shot, rank, file, picture("board"), bx, by, inset=12) < 4


def shows(game, shot, rank, file, piece):
    """The cell shows that piece picture wherever the picture is opaque."""
    return cell_difference(game, shot, rank, file, picture(piece), 0, 0, inset=10, skip_key=True) < 4


def board_shows_through(game, shot, rank, file, piece):
    """Where the piece picture has the key colour, the cell shows the board."""
    x0, y0 = game.cell_origin(rank, file)
    bx, by = MARGIN + CELL * (file - 3), MARGIN + CELL * (rank - 3)
    sprite, board = picture(piece), picture("board")
    total = count = 0
    for dy in range(CELL):
        for dx in range(CELL):
            if sprite.pixel(dx, dy) == (0, 255, 0):
                got, want = shot.pixel(x0 + dx, y0 + dy), board.pixel(bx + dx, by + dy)
                total += sum(abs(a - b) for a, b in zip(got, want))
                count += 3
    return count > 0 and total / count < 4


def is_framed(game, shot, rank, file):
    x0, y0 = game.cell_origin(rank, file)
    blue = 0
    for dy in range(CELL):
        for dx in range(CELL):
            r, g, b = shot.pixel(x0 + dx, y0 + dy)
            blue += b > 200 and r < 60 and g < 60
    return blue > 40


def framed_cells(game, shot):
    return {(r, f) for r in range(3, 13) for f in range(3, 12) if is_framed(game, shot, r, f)}


def differing_cells(game, shot, reference):
    return [(rank, file) for rank in range(3, 13) for file in range(3, 12)
            if cell_difference(game, shot, rank, file, reference, *game.cell_origin(rank, file)) >= 1]


# ---------------------------------------------------- following a game ----

class Tool:
    """The native lanterra tool: the legal moves of a position, and the
    engine's shallow view of it."""

    def __init__(self):
        self.path = os.environ.get("E2E_TOOL", "")
        check(os.access(self.path, os.X_OK), f"no lanterra tool at {self.path!r} (E2E_TOOL)")
        self.ucci = subprocess.Popen([self.path, "ucci"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        for line in ("ucci", "setoption usebook false", "setoption seed 1"):
            self.send(line)

    def send(self, line):
        self.ucci.stdin.write(line + "\n")
        self.ucci.stdin.flush()

    def legal(self, moves):
        out = subprocess.run([self.path, "moves", "moves", *moves], check=True, capture_output=True,
                             text=True).stdout
        return [line for line in out.split("\n") if len(line) == 4]

    def search(self, moves):
        """The side to move's score and best move after a one-ply search."""
        self.send("position startpos moves " + " ".join(moves))
        self.send("go depth 1")
        score = -10000
        while True:
            words = self.ucci.stdout.readline().split()
            check(words, "the lanterra tool stopped answering")
            if words[0] == "info" and "score" in words:
                score = int(words[words.index("score") + 1])
            elif words[0] in ("bestmove", "nobestmove"):
                return score, words[1] if len(words) > 1 else None

    def worst_move(self, moves):
        """The move after which the opponent's best answer scores highest:
        played again and again, it lets the opponent mate soon."""
        return max(self.legal(moves), key=lambda move: self.search(moves + [move])[0])

    def close(self):
        self.ucci.kill()
        self.ucci.wait()


class Match:
    """A game followed move by move from the normal start: the human's moves
    are clicked, the computer's are read off the screen."""

    def __init__(self, game, tool, moves=None, flipped=False):
        self.game, self.tool, self.flipped = game, tool, flipped
        self.moves = list(moves or [])

    def cell(self, square):
        """Displayed (rank, file) of an ICCS square such as e3."""
        file, rank = ord(square[0]) - ord("a"), int(square[1])
        return (rank + 3, 11 - file) if self.flipped else (12 - rank, file + 3)

    def square(self, cell):
        rank, file = cell
        if self.flipped:
            return chr(ord("a") + 11 - file) + str(rank - 3)
        return chr(ord("a") + file - 3) + str(12 - rank)

    def play(self, move):
        self.game.click(*self.cell(move[:2]))
        self.game.click(*self.cell(move[2:]))
        self.moves.append(move)
        return self.reply()

    def reply(self, timeout=60):
        """Waits for the computer's move: the two framed cells, from the one
        left bare to the other, make a legal move of the side to move. Any
        earlier pair of frames fails that test, as its source is empty now."""
        legal = set(self.tool.legal(self.moves))

        def shown(shot):
            frames = framed_cells(self.game, shot)
            if len(frames) != 2:
                return None
            source, target = sorted(frames, key=lambda c: not is_bare(self.game, shot, *c))
            move = self.square(source) + self.square(target)
            return move if move in legal else None
        move = wait_until(lambda: shown(screenshot()),
                          lambda: f"no reply after {' '.join(self.moves)}; open boxes {dialogs()!r}", timeout)
        self.moves.append(move)
        return move


# ------------------------------------------------------ menu judgement ----

def open_menus():
    """Rectangles of the open popup menus, left to right."""
    rects = []
    for line in probe("menus").stdout.splitlines():
        parts = line.split()
        if len(parts) == 4:
            rects.append(tuple(int(p) for p in parts))
    return sorted(rects)


def wait_menus(count, what, timeout=30):
    def opened():
        menus = open_menus()
        return menus if len(menus) == count else None
    return wait_until(opened, lambda: f"{what}: {len(open_menus())} menus open, not {count}", timeout)


def background(shot, left, right, top, bottom):
    counts = {}
    for y in range(top, bottom):
        for x in range(left, right):
            p = shot.pixel(x, y)
            counts[p] = counts.get(p, 0) + 1
    return max(counts, key=counts.get)


def ink(shot, left, right, top, bottom, bg):
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if sum(abs(a - b) for a, b in zip(shot.pixel(x, y), bg)) > 150)


def text_bands(shot, rect):
    """Vertical extents of the menu's item rows that carry text. Each pixel
    row is judged against its own background, so a highlighted item counts
    by its text alone and a separator line, all one colour, not at all."""
    left, top, right, bottom = rect
    rows = []
    for y in range(top + 2, bottom - 2):
        bg = background(shot, left + 3, right - 3, y, y + 1)
        rows.append(ink(shot, left + 24, right - 24, y, y + 1, bg) > 0)
    bands, start = [], None
    for i, on in enumerate(rows + [False]):
        if on and start is None:
            start = i
        elif not on and start is not None:
            if i - start >= 6:
                bands.append((top + 2 + start, top + 2 + i))
            start = None
    return bands


def check_marks(shot, rect, bands):
    """Whether each band shows a mark in the check column."""
    left = rect[0]
    marks = []
    for top, bottom in bands:
        bg = background(shot, left + 3, left + 60, top, bottom)
        marks.append(ink(shot, left + 3, left + 20, top, bottom, bg) > 5)
    return marks


def darkest(shot, rect, band):
    left, _, right, _ = rect
    return min(sum(shot.pixel(x, y)) / 3 for y in range(*band) for x in range(left + 24, right - 24))


def is_gray(shot, rect, bands, index):
    """Gray text is clearly lighter at its darkest than most of the menu's
    items (the highlighted one aside), however the glyph edges are smoothed."""
    levels = sorted(darkest(shot, rect, band) for band in bands)
    return darkest(shot, rect, bands[index]) > levels[len(levels) // 2] + 40


def open_menu(game, keys, rows, name):
    """Opens a menu by keys and waits until its last menu shows `rows` item
    rows; returns the screenshot, the menu's rectangle and its rows."""
    game.menu(*keys, stay_open=True)
    rect = open_menus()[-1]
    shot = wait_screen(lambda shot: len(text_bands(shot, rect)) == rows,
                       lambda: f"the menu of {' '.join(keys)} does not show {rows} item rows", name)
    return shot, rect, text_bands(shot, rect)


GAME_MENU_ITEMS = ["new red", "new black", "level", "handicap", "undo", "sound", "exit"]
HELP_MENU_ROWS = 7


def game_menu(game, name):
    return open_menu(game, ["alt+g"], len(GAME_MENU_ITEMS), name)


def undo_is_gray(game, name):
    shot, rect, bands = game_menu(game, name)
    gray = is_gray(shot, rect, bands, GAME_MENU_ITEMS.index("undo"))
    game.close_menus()
    return gray


def level_marks(game, name):
    shot, rect, bands = open_menu(game, ["alt+g", "l"], 7, name)
    marks = check_marks(shot, rect, bands)
    game.close_menus()
    return marks


# ---------------------------------------------------------------- groups ----

START_ROW = ["rook", "knight", "bishop", "advisor", "king", "advisor", "bishop", "knight", "rook"]


def test_start():
    game = Game()
    try:
        check(game.title == "Lanterra", f"title {game.title!r}")
        check(game.client == (520, 576), f"client area {game.client}")
        shot = screenshot("start")
        for i, kind in enumerate(START_ROW):
            check(shows(game, shot, 12, 3 + i, "red-" + kind), f"red {kind} missing at file {3 + i}")
            check(shows(game, shot, 3, 3 + i, "black-" + kind), f"black {kind} missing at file {3 + i}")
            check(board_shows_through(game, shot, 12, 3 + i, "red-" + kind),
                  f"the key colour of the red {kind} is not transparent")
        for rank in (4, 7, 8, 11):
            for file in range(3, 12):
                check(is_bare(game, shot, rank, file), f"cell rank {rank} file {file} is not bare")
        check(not framed_cells(game, shot), "frames on a new board")
    finally:
        game.kill()


def test_move():
    game, tool = Game(), Tool()
    try:
        game.click(9, 7)
        wait_screen(lambda shot: framed_cells(game, shot) == {(9, 7)}, "the clicked pawn is not framed",
                    "selected")
        game.click(8, 7)
        wait_screen(lambda shot: shows(game, shot, 8, 7, "red-pawn") and is_bare(game, shot, 9, 7),
                    "the pawn did not move", "human-moved")
        match = Match(game, tool, ["e3e4"])
        match.reply()
        # A few more moves, each answered, for a picture of a game under way.
        for _ in range(2):
            match.play(tool.search(match.moves)[1])
        screenshot("after-moves")
    finally:
        game.kill()
        tool.close()


def test_menu():
    game, tool = Game(), Tool()
    try:
        start = screenshot()
        check(undo_is_gray(game, "menu-new-game"), "Undo is not gray after a new game")
        marks = level_marks(game, "menu-levels")
        check(marks == [True] + [False] * 6, f"level marks at start {marks}")

        game.menu("alt+g", "l", "d")
        marks = level_marks(game, "menu-level-3")
        check(marks == [False] * 3 + [True] + [False] * 3, f"level marks after 入门 {marks}")

        game.menu("alt+g", "l", "g")
        box = wait_dialog("Lanterra")
        check(box[2].startswith("“大师”难度"), f"level-6 warning text {box[2]!r}")
        box_screenshot(box, "box-level-6")
        press(box, IDOK)
        marks = level_marks(game, "menu-level-6")
        check(marks == [False] * 6 + [True], f"level marks after 大师 {marks}")
        game.menu("alt+g", "l", "a")  # back to the quick level for the moves below

        shot, rect, bands = game_menu(game, "menu-sound-on")
        check(check_marks(shot, rect, bands)[GAME_MENU_ITEMS.index("sound")], "sound is not checked at start")
        game.keys("s")
        wait_menus(0, "the sound command")
        shot, rect, bands = game_menu(game, "menu-sound-off")
        check(not check_marks(shot, rect, bands)[GAME_MENU_ITEMS.index("sound")], "sound still checked")
        game.close_menus()

        Match(game, tool).play("e3e4")
        check(not undo_is_gray(game, "menu-after-move"), "Undo is gray after a move")
        game.menu("alt+g", "t")
        wait_screen(lambda shot: not differing_cells(game, shot, start),
                    lambda: f"after Undo cells {differing_cells(game, screenshot(), start)} differ from the start",
                    "after-undo")
        check(undo_is_gray(game, "menu-after-undo"), "Undo is not gray after Undo")
    finally:
        game.kill()
        tool.close()


def test_flip():
    game, tool = Game(), Tool()
    try:
        game.menu("alt+g", "b")
        match = Match(game, tool, [], flipped=True)
        match.reply()
        shot = screenshot("computer-opens")
        for i, kind in enumerate(START_ROW):
            check(shows(game, shot, 12, 3 + i, "black-" + kind), f"black {kind} not at the bottom, file {3 + i}")
        check(shows(game, shot, 3, 7, "red-king"), "the red king is not at the top")
        # The human's black pawn in front of the flipped board's centre moves
        # up, clicked on the flipped cells (9, 7) and (8, 7). The computer's
        # reply, a legal move only once the pawn has moved, shows that it did;
        # the pawn itself may be taken before any screenshot sees it.
        check(match.cell("e6") == (9, 7) and match.cell("e5") == (8, 7), "flipped cells of e6 and e5")
        match.play("e6e5")
        screenshot("flipped-after-moves")
    finally:
        game.kill()
        tool.close()


def test_boxes():
    game = Game()
    try:
        open_menu(game, ["alt+h"], HELP_MENU_ROWS, "menu-help")
        game.keys("q")
        box = wait_dialog("名言")
        check("\n\n\u3000" in box[2] and "——《" in box[2], f"quote text {box[2]!r}")
        box_screenshot(box, "box-quote")
        press(box, IDOK)

        game.menu("alt+h", "a")
        box = wait_dialog("关于 Lanterra")
        check(box[2].startswith("Lanterra (1.31版)\n\n"), f"About text {box[2]!r}")
        box_screenshot(box, "box-about")
        press(box, IDOK)

        game.menu("alt+h", "f", "o")
        box = wait_dialog("推荐给好友")
        check(box[2].startswith("推荐链接已复制到剪贴板"), f"clipboard text {box[2]!r}")
        press(box, IDOK)
        check(not dialogs(), "a box stayed open")
    finally:
        game.kill()


# ------------------------------------------------------------ game over ----

def test_gameover():
    # Red helps black to a quick mate; the game must see it, say so, and on
    # Yes start the next game with the sides swapped.
    game, tool = Game(), Tool()
    try:
        match = Match(game, tool)
        while tool.legal(match.moves):
            check(len(match.moves) < 120, f"no mate after {' '.join(match.moves)}")
            match.play(tool.worst_move(match.moves))
        box = wait_dialog("游戏结束")
        check(box[2] == "请再接再厉！\n\n再来一盘吗？", f"game-over text {box[2]!r} after {' '.join(match.moves)}")
        box_screenshot(box, "box-game-over")
        press(box, IDYES)
        match = Match(game, tool, [], flipped=True)
        match.reply()
        shot = screenshot("after-game-over")
        for i, kind in enumerate(START_ROW):
            check(shows(game, shot, 12, 3 + i, "black-" + kind), f"black {kind} not at the bottom, file {3 + i}")
    finally:
        game.kill()
        tool.close()


def test_close():
    # Closing the window ends the process with exit code 0.
    game = Game()
    try:
        game.keys("alt+F4")
        code = game.finish()
        check(code == 0, f"exit code {code} after closing the window")
        check(probe("gone", "5").returncode == 0, "the window is still there")
    finally:
        game.kill()
    # So does 退出(&X).
    game = Game()
    try:
        game.menu("alt+g", "x")
        code = game.finish()
        check(code == 0, f"exit code {code} after the Exit command")
    finally:
        game.kill()


GROUPS = {
    "start": test_start,
    "move": test_move,
    "menu": test_menu,
    "flip": test_flip,
    "boxes": test_boxes,
    "gameover": test_gameover,
    "close": test_close,
}


def main():
    names = sys.argv[1:] or list(GROUPS)
    failed = 0
    for name in names:
        began = time.time()
        try:
            GROUPS[name]()
            print(f"PASS {name} ({time.time() - began:.1f}s)")
        except (Failure, subprocess.SubprocessError, OSError) as failure:
            failed += 1
            print(f"FAIL {name}: {failure}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
