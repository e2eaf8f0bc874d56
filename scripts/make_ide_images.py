#!/usr/bin/env python3
"""Draws the IDE's toolbar strips, file-type bitmaps and icons into resources/.

The images are drawn from simple shapes given on a 16-unit grid, so the small
(16 x 19) and large (24 x 23) strips come from the same drawings. Run it again
after changing a drawing; the output files are committed.
"""
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")

# Palette of the 8-bit strips. Index 0 is the button face the toolbar maps to
# the system colour; black, dark grey and white map to their system colours too.
PALETTE = [
    (192, 192, 192),  # 0 face
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (128, 128, 128),  # 3 dark grey
    (200, 0, 0),      # 4 red
    (0, 160, 0),      # 5 green
    (0, 96, 0),       # 6 dark green
    (0, 0, 200),      # 7 blue
    (0, 0, 128),      # 8 dark blue
    (255, 220, 0),    # 9 yellow
    (160, 110, 0),    # 10 brown
    (0, 160, 200),    # 11 cyan
    (255, 140, 0),    # 12 orange
    (128, 0, 160),    # 13 purple
    (224, 224, 224),  # 14 light grey
    (128, 0, 0),      # 15 dark red
]
F, K, W, G, R, GR, DG, B, DB, Y, BR, C, O, P, LG, DR = range(16)


class Canvas:
    def __init__(self, w, h, scale, ox=0, oy=0, bg=F):
        self.w, self.h, self.s, self.ox, self.oy = w, h, scale, ox, oy
        self.px = [[bg] * w for _ in range(h)]

    def _p(self, v, o):
        return int(round(v * self.s)) + o

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, edge=K):
        """Box on the grid from (x0, y0) to (x1, y1) inclusive of its edge cells."""
        X0, Y0 = self._p(x0, self.ox), self._p(y0, self.oy)
        X1, Y1 = self._p(x1 + 1, self.ox) - 1, self._p(y1 + 1, self.oy) - 1
        for y in range(Y0, Y1 + 1):
            for x in range(X0, X1 + 1):
                border = x in (X0, X1) or y in (Y0, Y1)
                if border and edge is not None:
                    self.put(x, y, edge)
                elif fill is not None:
                    self.put(x, y, fill)

    def line(self, x0, y0, x1, y1, c=K, thick=1):
        X0, Y0 = self._p(x0 + 0.5, self.ox), self._p(y0 + 0.5, self.oy)
        X1, Y1 = self._p(x1 + 0.5, self.ox), self._p(y1 + 0.5, self.oy)
        n = max(abs(X1 - X0), abs(Y1 - Y0), 1)
        t = max(1, int(round(thick * self.s)))
        for i in range(n + 1):
            x = X0 + (X1 - X0) * i / n
            y = Y0 + (Y1 - Y0) * i / n
            for dy in range(t):
                for dx in range(t):
                    self.put(int(round(x)) + dx - t // 2, int(round(y)) + dy - t // 2, c)

    def disc(self, cx, cy, r, fill, edge=K):
        CX, CY = (cx + 0.5) * self.s + self.ox, (cy + 0.5) * self.s + self.oy
        R = r * self.s
        for y in range(self.h):
            for x in range(self.w):
                d = ((x + 0.5 - CX) ** 2 + (y + 0.5 - CY) ** 2) ** 0.5
                if d <= R:
                    self.put(x, y, edge if (edge is not None and d > R - 1.0) else fill)

    def poly(self, pts, fill, edge=K):
        P = [((x + 0.5) * self.s + self.ox, (y + 0.5) * self.s + self.oy) for x, y in pts]
        for y in range(self.h):
            for x in range(self.w):
                if _inside(x + 0.5, y + 0.5, P):
                    self.put(x, y, fill)
        if edge is not None:
            for i in range(len(pts)):
                a, b = pts[i], pts[(i + 1) % len(pts)]
                self.line(a[0], a[1], b[0], b[1], edge)


def _inside(x, y, P):
    inside = False
    j = len(P) - 1
    for i in range(len(P)):
        xi, yi = P[i]
        xj, yj = P[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


# ---- Drawings, on a 16 x 16 grid --------------------------------------------
def page(c, x=3, y=1, w=10, h=14, fill=W):
    c.poly([(x, y), (x + w - 4, y), (x + w, y + 4), (x + w, y + h), (x, y + h)], fill)
    c.line(x + w - 4, y, x + w - 4, y + 4)
    c.line(x + w - 4, y + 4, x + w, y + 4)


def text_lines(c, x0, x1, ys, col=G):
    for y in ys:
        c.line(x0, y, x1, y, col)


def folder(c, x=1, y=4, w=14, h=10, fill=Y):
    c.poly([(x, y), (x + 5, y), (x + 6, y + 1), (x + w, y + 1), (x + w, y + h), (x, y + h)], fill)


def floppy(c, x=2, y=2, s=12, fill=B):
    c.rect(x, y, x + s - 1, y + s - 1, fill)
    c.rect(x + 2, y, x + s - 3, y + 4, W)
    c.rect(x + 3, y + s - 4, x + s - 4, y + s - 1, G)


def magnifier(c, cx=6, cy=6, r=4):
    c.disc(cx, cy, r, C)
    c.line(cx + r - 1, cy + r - 1, cx + r + 3, cy + r + 3, K, thick=2)


def arrow_right(c, x0, y, x1, col=GR):
    c.line(x0, y, x1 - 2, y, col, thick=2)
    c.poly([(x1 - 3, y - 3), (x1, y), (x1 - 3, y + 3)], col, None)


def arrow_down(c, x, y0, y1, col=GR):
    c.line(x, y0, x, y1 - 2, col, thick=2)
    c.poly([(x - 3, y1 - 3), (x, y1), (x + 3, y1 - 3)], col, None)


def chip(c, x=3, y=4, w=10, h=8):
    c.rect(x, y, x + w - 1, y + h - 1, K, K)
    c.rect(x + 1, y + 1, x + w - 2, y + h - 2, G, None)
    for i in range(x + 1, x + w - 1, 2):
        c.line(i, y - 2, i, y - 1, G)
        c.line(i, y + h, i, y + h + 1, G)


def bug(c, col=GR):
    c.disc(8, 9, 4.5, col)
    c.disc(8, 4, 2.5, K, None)
    for y in (6, 9, 12):
        c.line(2, y - 1, 4, y, K)
        c.line(12, y, 14, y - 1, K)


def window(c, pane):
    c.rect(1, 2, 14, 13, W)
    c.rect(1, 2, 14, 4, DB)
    if pane == "left":
        c.rect(1, 4, 6, 13, LG)
    elif pane == "bottom":
        c.rect(1, 9, 14, 13, LG)
    else:
        c.rect(8, 6, 13, 11, Y)
        c.line(8, 11, 10, 8, GR)
        c.line(10, 8, 13, 11, GR)


def curved(c, right):
    # A bent arrow: undo turns left, redo turns right.
    sgn = 1 if right else -1
    cx = 8
    pts = []
    import math
    for i in range(0, 181, 15):
        a = math.radians(i)
        pts.append((cx - sgn * 4 * math.cos(a), 9 - 4 * math.sin(a)))
    for a, b in zip(pts, pts[1:]):
        c.line(a[0], a[1], b[0], b[1], B, thick=2)
    tip = pts[-1]
    c.poly([(tip[0] - 3, tip[1]), (tip[0] + 3, tip[1]), (tip[0], tip[1] + 4)], B, None)


def drawings():
    d = {}
    d["ID_FILE_NEW"] = lambda c: page(c)
    d["ID_FILE_OPEN"] = lambda c: folder(c)
    d["ID_FILE_SAVE"] = lambda c: floppy(c)
    d["ID_FILE_SAVE_ALL"] = lambda c: (floppy(c, 0, 0, 10), floppy(c, 5, 5, 10))
    d["ID_FILE_SAVE_PROJECT"] = lambda c: (floppy(c, 1, 1, 12), c.disc(12, 12, 3, GR))
    d["ID_EDIT_CUT"] = lambda c: (c.line(4, 1, 10, 10), c.line(11, 1, 5, 10),
                                  c.disc(4, 12, 2.5, W), c.disc(11, 12, 2.5, W))
    d["ID_EDIT_COPY"] = lambda c: (page(c, 1, 1, 9, 10), page(c, 6, 5, 9, 10))
    d["ID_EDIT_PASTE"] = lambda c: (c.rect(1, 2, 11, 14, BR), c.rect(4, 1, 8, 3, G),
                                    page(c, 6, 6, 9, 9))
    d["ID_EDIT_UNDO"] = lambda c: curved(c, False)
    d["ID_EDIT_REDO"] = lambda c: curved(c, True)
    d["ID_FILE_PRINT"] = lambda c: (page(c, 4, 1, 8, 6), c.rect(1, 6, 14, 12, LG),
                                    c.rect(4, 10, 11, 14, W))
    d["ID_FILE_PRINT_PREVIEW"] = lambda c: (page(c, 1, 1, 10, 14), magnifier(c, 9, 8, 3))
    d["ID_EDIT_FIND_IN_FILES"] = lambda c: (folder(c, 0, 2, 12, 9), magnifier(c, 9, 9, 3))
    d["ID_EDIT_FIND_NEXT"] = lambda c: (magnifier(c, 5, 5, 4), arrow_right(c, 8, 13, 15, DG))
    d["ID_EDIT_FIND"] = lambda c: magnifier(c, 6, 6, 5)
    d["ID_VIEW_PROJECT_BAR"] = lambda c: window(c, "left")
    d["ID_VIEW_OUTPUT_BAR"] = lambda c: window(c, "bottom")
    d["ID_VIEW_PREVIEW_BAR"] = lambda c: window(c, "picture")
    d["ID_PROJECT_BUILD"] = lambda c: (c.rect(1, 9, 7, 13, O), c.rect(8, 9, 14, 13, O),
                                       c.rect(4, 4, 11, 8, O), arrow_down(c, 8, 0, 4, DG))
    d["ID_PROJECT_REBUILD_ALL"] = lambda c: (c.rect(1, 9, 7, 13, O), c.rect(8, 9, 14, 13, O),
                                             c.rect(4, 4, 11, 8, O), c.disc(13, 3, 2.5, GR))
    d["ID_PROJECT_COMPILE"] = lambda c: (page(c, 1, 1, 9, 13), c.rect(10, 8, 14, 12, O))
    d["ID_PROJECT_CLEAN"] = lambda c: (c.line(12, 1, 6, 9, BR, thick=2),
                                       c.poly([(2, 9), (9, 9), (11, 14), (1, 14)], Y))
    d["ID_PROJECT_STOP_BUILD"] = lambda c: c.poly([(5, 1), (10, 1), (14, 5), (14, 10), (10, 14),
                                                   (5, 14), (1, 10), (1, 5)], R)
    d["ID_PROJECT_WRITE"] = lambda c: (chip(c, 3, 8, 10, 6), arrow_down(c, 8, 0, 7, R))
    d["ID_PROJECT_OPTIONS"] = lambda c: (c.rect(1, 2, 5, 6, W), c.line(2, 4, 3, 5), c.line(3, 5, 5, 2),
                                         c.rect(1, 9, 5, 13, W), text_lines(c, 7, 14, (4, 11), K))
    d["ID_DEBUG_START"] = lambda c: bug(c, GR)
    d["ID_DEBUG_CLOSE"] = lambda c: (bug(c, G), c.line(2, 2, 13, 13, R, thick=2), c.line(13, 2, 2, 13, R, thick=2))
    d["ID_DEBUG_RUN"] = lambda c: c.poly([(4, 2), (13, 8), (4, 14)], GR)
    d["ID_DEBUG_STOP"] = lambda c: (c.rect(3, 2, 6, 13, R), c.rect(9, 2, 12, 13, R))
    d["ID_DEBUG_RESTART"] = lambda c: (c.rect(2, 2, 3, 13, K, K), c.poly([(13, 2), (5, 8), (13, 14)], GR))
    d["ID_DEBUG_STEP_INTO"] = lambda c: (text_lines(c, 6, 14, (3, 7, 11), K), arrow_right(c, 0, 7, 7, B))
    d["ID_DEBUG_STEP_OVER"] = lambda c: (text_lines(c, 6, 14, (3, 7, 11), K), c.line(2, 3, 2, 11, B, 2),
                                         arrow_right(c, 2, 11, 7, B))
    d["ID_DEBUG_STEP_OUT"] = lambda c: (text_lines(c, 1, 9, (3, 7, 11), K), arrow_right(c, 8, 7, 15, B))
    d["ID_DEBUG_RUN_TO_CURSOR"] = lambda c: (text_lines(c, 1, 9, (3, 11), K), c.line(12, 2, 12, 13, K),
                                             arrow_right(c, 1, 7, 11, B))
    d["ID_DEBUG_TOGGLE_BREAKPOINT"] = lambda c: c.disc(8, 8, 5.5, R)
    d["ID_DEBUG_EXECUTE"] = lambda c: (chip(c, 1, 6, 9, 6), c.poly([(10, 3), (15, 7), (10, 11)], GR))
    d["ID_DEBUG_DOWNLOAD"] = lambda c: (chip(c, 3, 9, 10, 5), arrow_down(c, 8, 0, 8, B))
    d["ID_DEBUG_RESET_ICE"] = lambda c: (chip(c, 1, 5, 9, 7), c.disc(12, 8, 3, W, R))
    d["ID_FILE_NEW_PROJECT"] = lambda c: (folder(c, 1, 5, 13, 9),
                                          c.poly([(12, 0), (13, 3), (16, 3), (13, 5), (14, 8), (12, 6),
                                                  (10, 8), (11, 5), (8, 3), (11, 3)], Y))
    d["ID_FILE_CLOSE_PROJECT"] = lambda c: (folder(c, 1, 5, 13, 9), c.line(9, 1, 14, 6, R, 2),
                                            c.line(14, 1, 9, 6, R, 2))
    d["ID_APP_ABOUT"] = lambda c: (c.disc(8, 8, 6.5, B), c.rect(7, 7, 8, 12, W, W), c.rect(7, 3, 8, 4, W, W))
    d["ID_TOOLS_CUSTOMIZE"] = lambda c: (c.line(3, 13, 10, 6, G, thick=3), c.disc(11, 5, 3.5, G),
                                         c.disc(12, 4, 1.5, F, None))
    # The split buttons' arrow parts.
    d["ID_EDIT_UNDO_LIST"] = d["ID_EDIT_REDO_LIST"] = lambda c: c.poly([(5, 7), (11, 7), (8, 10)], K, None)
    return d


# Order of the toolbar resources' ids (resources/ide.rc).
STRIP = """ID_FILE_NEW ID_FILE_OPEN ID_FILE_SAVE ID_FILE_SAVE_ALL ID_FILE_SAVE_PROJECT
ID_EDIT_CUT ID_EDIT_COPY ID_EDIT_PASTE ID_EDIT_UNDO ID_EDIT_REDO
ID_FILE_PRINT ID_FILE_PRINT_PREVIEW ID_EDIT_FIND_IN_FILES ID_EDIT_FIND_NEXT ID_EDIT_FIND
ID_VIEW_PROJECT_BAR ID_VIEW_OUTPUT_BAR ID_VIEW_PREVIEW_BAR
ID_PROJECT_BUILD ID_PROJECT_REBUILD_ALL ID_PROJECT_COMPILE ID_PROJECT_CLEAN
ID_PROJECT_STOP_BUILD ID_PROJECT_WRITE ID_PROJECT_OPTIONS
ID_DEBUG_START ID_DEBUG_CLOSE ID_DEBUG_RUN ID_DEBUG_STOP ID_DEBUG_RESTART
ID_DEBUG_STEP_INTO ID_DEBUG_STEP_OVER ID_DEBUG_STEP_OUT ID_DEBUG_RUN_TO_CURSOR
ID_DEBUG_TOGGLE_BREAKPOINT ID_DEBUG_EXECUTE ID_DEBUG_DOWNLOAD ID_DEBUG_RESET_ICE
ID_FILE_NEW_PROJECT ID_FILE_CLOSE_PROJECT ID_APP_ABOUT ID_TOOLS_CUSTOMIZE
ID_EDIT_UNDO_LIST ID_EDIT_REDO_LIST""".split()


def render(draw, size, cw, ch, bg=F):
    scale = size / 16.0
    c = Canvas(cw, ch, scale, (cw - size) // 2, (ch - size) // 2, bg)
    draw(c)
    return c.px


def bmp8(path, rows, palette=PALETTE):
    h, w = len(rows), len(rows[0])
    stride = (w + 3) & ~3
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pal += b"\0" * (4 * 256 - len(pal))
    bits = b"".join(bytes(rows[y]) + b"\0" * (stride - w) for y in range(h - 1, -1, -1))
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    off = 14 + 40 + len(pal)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", off + len(bits), 0, 0, off) + hdr + pal + bits)


def strip(path, size, cw, ch):
    d = drawings()
    rows = [[] for _ in range(ch)]
    for name in STRIP:
        px = render(d[name], size, cw, ch)
        for y in range(ch):
            rows[y] += px[y]
    bmp8(path, rows)


def ico(path, draw_fn, sizes=(32, 16)):
    """An icon of 32-bit images (alpha from the background) with their masks."""
    images = []
    for s in sizes:
        px = render(draw_fn, s, s, s, bg=-1)
        xor = b""
        for y in range(s - 1, -1, -1):
            for x in range(s):
                v = px[y][x]
                if v < 0:
                    xor += b"\0\0\0\0"
                else:
                    r, g, b = PALETTE[v]
                    xor += bytes((b, g, r, 255))
        mstride = ((s + 31) // 32) * 4
        mask = b""
        for y in range(s - 1, -1, -1):
            row = 0
            bits = bytearray(mstride)
            for x in range(s):
                if px[y][x] < 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        hdr = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((s, hdr + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    off = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), off)
        off += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def file_kind(label_col, mark):
    def draw(c):
        page(c, 2, 0, 12, 16)
        c.rect(3, 9, 12, 14, label_col, None)
        mark(c)
    return draw


FILE_KINDS = {
    "asm": file_kind(B, lambda c: text_lines(c, 4, 10, (3, 5, 7), K)),
    "inc": file_kind(GR, lambda c: text_lines(c, 4, 8, (3, 5, 7), K)),
    "wav": file_kind(P, lambda c: (c.line(4, 5, 6, 2, K), c.line(6, 2, 8, 7, K), c.line(8, 7, 10, 3, K))),
    "bmp": file_kind(O, lambda c: (c.rect(4, 2, 10, 7, Y), c.line(4, 7, 7, 4, GR))),
    "txt": file_kind(G, lambda c: text_lines(c, 4, 11, (3, 5, 7), G)),
}


def project_tree_strip(path):
    """Bitmap 142: ten 23-pixel images of the project trees on white, 238 x 24."""
    def question(c):
        page(c)
        c.rect(7, 4, 9, 5, fill=DR, edge=DR)
        c.rect(9, 5, 10, 8, fill=DR, edge=DR)
        c.rect(7, 8, 8, 10, fill=DR, edge=DR)
        c.rect(7, 12, 8, 13, fill=DR, edge=DR)
    kinds = [
        lambda c: chip(c),                                     # 0 project
        lambda c: folder(c),                                   # 1 folder, closed
        lambda c: (folder(c), c.poly([(3, 8), (16, 8), (14, 14), (1, 14)], LG)),  # 2 folder, open
        lambda c: (page(c), text_lines(c, 5, 11, (5, 8, 11))),  # 3 file under the project
        lambda c: (page(c), text_lines(c, 5, 11, (5, 8))),
        lambda c: (page(c, fill=LG), text_lines(c, 5, 11, (5, 8, 11))),
        lambda c: (page(c), text_lines(c, 5, 11, (5, 8, 11), col=B)),
        lambda c: (page(c), text_lines(c, 5, 11, (5, 8, 11), col=GR)),
        lambda c: (page(c), text_lines(c, 5, 11, (5, 8, 11), col=R)),
        question,                                              # 9 file whose icon is missing
    ]
    rows = [[] for _ in range(24)]
    for draw in kinds:
        px = render(draw, 16, 23, 24, bg=W)
        for y in range(24):
            rows[y] += px[y]
    for y in range(24):
        rows[y] += [W] * (238 - len(rows[y]))
    bmp8(path, rows)


def main():
    os.makedirs(OUT, exist_ok=True)
    project_tree_strip(os.path.join(OUT, "ide_project_tree.bmp"))
    strip(os.path.join(OUT, "ide_toolbar16.bmp"), 16, 16, 19)
    strip(os.path.join(OUT, "ide_toolbar24.bmp"), 22, 24, 23)
    main_icon = lambda c: (chip(c, 2, 4, 12, 9), c.poly([(6, 6), (11, 8.5), (6, 11)], GR))
    ico(os.path.join(OUT, "ide_main.ico"), main_icon)
    ico(os.path.join(OUT, "ide_status.ico"), lambda c: c.disc(8, 8, 6.5, GR), sizes=(16,))
    for kind, draw in FILE_KINDS.items():
        ico(os.path.join(OUT, "ide_file_%s.ico" % kind), draw)
        # The bitmap form is what the project trees load: white is their transparent colour.
        bmp8(os.path.join(OUT, "ide_file_%s.bmp" % kind), render(draw, 16, 16, 16, bg=W))
    return 0


if __name__ == "__main__":
    sys.exit(main())
