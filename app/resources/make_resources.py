#!/usr/bin/env python3
"""Generates the program's image resources next to this file:
app.ico (smiling face, 32x32 and 16x16, 16 colours) and instructions.bmp
(the Korean instruction sheet shown in the main window).

    python3 app/resources/make_resources.py

The output is the same, byte for byte, on every run, so the files can be
committed and regenerated without noise.
"""
import os
import re
import struct
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    # A python3 from pyenv or a venv does not see Debian's python3-pil.
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("make_resources.py: Pillow is missing; install it with 'apt-get install python3-pil'.")

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/nanum"
REGULAR = os.path.join(FONT_DIR, "NanumGothic.ttf")
BOLD = os.path.join(FONT_DIR, "NanumGothicBold.ttf")


# --- Icon -------------------------------------------------------------------

YELLOW = (255, 214, 0)
# Shades from black to yellow, so the anti-aliased edge between the yellow
# face and its black lines keeps its softness after the reduction to 16
# colours.
ICON_PALETTE = [tuple(round(c * i / 15) for c in YELLOW) for i in range(16)]
SUPERSAMPLE = 16


# At 16 x 16 any scaled-down drawing blurs the smile, so that size is set
# pixel by pixel: K black, Y yellow, . transparent.
FACE_16 = """
.....KKKKKK.....
...KKYYYYYYKK...
..KYYYYYYYYYYK..
.KYYYYYYYYYYYYK.
.KYYYKYYYYKYYYK.
KYYYYKYYYYKYYYYK
KYYYYKYYYYKYYYYK
KYYYYYYYYYYYYYYK
KYYYYYYYYYYYYYYK
KYYKYYYYYYYYKYYK
KYYYKYYYYYYKYYYK
.KYYYKKKKKKYYYK.
.KYYYYYYYYYYYYK.
..KYYYYYYYYYYK..
...KKYYYYYYKK...
.....KKKKKK.....
""".split()


def draw_face(n):
    """Returns an RGBA image of the face at n x n. Sizes other than 16 are
    drawn SUPERSAMPLE times larger and reduced, for a smooth outline;
    coordinates are in target pixels."""
    if n == 16:
        colours = {"K": (0, 0, 0, 255), "Y": YELLOW + (255,), ".": (0, 0, 0, 0)}
        face = Image.new("RGBA", (16, 16))
        face.putdata([colours[c] for row in FACE_16 for c in row])
        return face
    s = SUPERSAMPLE
    big = Image.new("RGBA", (n * s, n * s), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)

    def box(x0, y0, x1, y1):
        return [round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1]

    line = n / 16
    d.ellipse(box(0, 0, n, n), fill=(0, 0, 0, 255))
    d.ellipse(box(line, line, n - line, n - line), fill=YELLOW + (255,))
    for x in (0.31, 0.59):
        d.ellipse(box(x * n, 0.25 * n, (x + 0.1) * n, 0.44 * n), fill=(0, 0, 0, 255))
    m = n * 0.22
    d.arc(box(m, m, n - m, n - m - n * 0.06), 25, 155, fill=(0, 0, 0, 255), width=round(line * s))
    return big.resize((n, n), Image.LANCZOS)


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, ICON_PALETTE[i])))


def icon_image(n):
    """One icon image: BITMAPINFOHEADER, palette, 4-bpp colours, AND mask."""
    face = draw_face(n)
    xor_stride = (n * 4 + 31) // 32 * 4
    and_stride = (n + 31) // 32 * 4
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(n)):  # DIBs store the bottom row first
        idx, bits = [], []
        for x in range(n):
            r, g, b, a = face.getpixel((x, y))
            opaque = a >= 128
            # Transparent pixels must be black in the colour bitmap, or
            # Windows XORs them onto whatever lies behind the icon.
            idx.append(nearest((r, g, b)) if opaque else 0)
            bits.append(0 if opaque else 1)
        row = bytes(idx[i] << 4 | idx[i + 1] for i in range(0, n, 2))
        xor += row.ljust(xor_stride, b"\0")
        row = bytes(sum(bit << (7 - j) for j, bit in enumerate(bits[i:i + 8])) for i in range(0, n, 8))
        mask += row.ljust(and_stride, b"\0")
    # Height is doubled because the colour bitmap and the mask share it.
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in ICON_PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def make_icon(sizes=(32, 16)):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


# --- Instruction sheet ------------------------------------------------------

WIDTH, HEIGHT = 584, 575
MARGIN = 10
INK = (24, 24, 24)
STEP_BLUE = (20, 50, 130)
RED = (210, 30, 30)
NOTE_FILL = (255, 248, 205)
NOTE_EDGE = (220, 195, 100)
GREY = (110, 110, 110)
LINE_GREY = (200, 200, 200)
NBSP = "\u00a0"  # keeps a button label on one line when wrapping
# Words of their own in the text, drawn like the red marks in the pictures;
# the font's circled digits are too faint at this size.
MARKERS = "①②"


def font(path, size):
    return ImageFont.truetype(path, size)


class Sheet:
    def __init__(self):
        self.img = Image.new("RGB", (WIDTH, HEIGHT), "white")
        self.d = ImageDraw.Draw(self.img)
        self.body = font(REGULAR, 13)
        self.bold = font(BOLD, 13)
        self.small = font(REGULAR, 11)
        self.line_height = 19

    def runs(self, text):
        """Splits text marked up with **bold** into (text, font, colour)."""
        return [(part, self.bold if i % 2 else self.body, INK)
                for i, part in enumerate(text.split("**")) if part]

    def paragraph(self, x, y, width, text, draw=True):
        """Draws word-wrapped rich text and returns the y below it; with
        draw=False only measures. Lines break only at spaces, as Korean
        text is usually set."""
        words, parts = [], []
        for chunk, f, c in self.runs(text):
            for tok in re.findall(r" +|[^ ]+", chunk):
                if tok[0] != " ":
                    parts.append((tok, f, c))
                    continue
                if parts:
                    words.append([parts, 0.0])
                    parts = []
                if words:
                    words[-1][1] += f.getlength(tok)
        if parts:
            words.append([parts, 0.0])
        cx = 0.0
        for parts, space in words:
            w = sum(self.length(t, f) for t, f, _ in parts)
            if cx and cx + w > width:
                cx, y = 0.0, y + self.line_height
            for t, f, c in parts:
                if draw and t in MARKERS:
                    self.marker(x + cx + 8, y + 8, MARKERS.index(t) + 1, small=True)
                elif draw:
                    self.d.text((x + cx, y), t.replace(NBSP, " "), font=f, fill=c)
                cx += self.length(t, f)
            cx += space
        return y + self.line_height

    @staticmethod
    def length(t, f):
        return 16 if t in MARKERS else f.getlength(t)

    def step(self, y, number, text):
        self.d.text((MARGIN + 2, y - 2), f"{number}.", font=font(BOLD, 16), fill=STEP_BLUE)
        return self.paragraph(MARGIN + 24, y, WIDTH - 2 * MARGIN - 26, text)

    def note(self, y, text):
        x0, x1 = MARGIN + 4, WIDTH - MARGIN - 4
        h = self.paragraph(0, 0, x1 - x0 - 20, text, draw=False) + 12
        self.d.rounded_rectangle([x0, y, x1, y + h], radius=4, fill=NOTE_FILL, outline=NOTE_EDGE)
        self.paragraph(x0 + 10, y + 7, x1 - x0 - 20, text)
        return y + h

    # Mock Explorer windows, drawn just well enough to be recognised.

    def folder_icon(self, x, y):
        self.d.rectangle([x, y + 1, x + 6, y + 3], fill=(222, 170, 50))
        self.d.rectangle([x, y + 3, x + 15, y + 12], fill=(248, 206, 90), outline=(210, 160, 50))

    def file_icon(self, x, y, name):
        if name.endswith(".exe"):
            self.d.rectangle([x + 1, y + 1, x + 14, y + 12], fill="white", outline=(70, 110, 170))
            self.d.rectangle([x + 1, y + 1, x + 14, y + 3], fill=(70, 110, 170))
            return
        self.d.polygon([(x + 3, y), (x + 10, y), (x + 13, y + 3), (x + 13, y + 13), (x + 3, y + 13)],
                       fill="white", outline=(140, 140, 140))
        if name.endswith(".dll"):
            self.d.ellipse([x + 5, y + 5, x + 11, y + 11], outline=(120, 120, 140), width=2)
        else:
            for ly in (4, 7, 10):
                self.d.line([x + 5, y + ly, x + 11, y + ly], fill=(150, 150, 150))

    def marker(self, cx, cy, number, small=False):
        r = 7 if small else 9
        self.d.ellipse([cx - r, cy - r, cx + r, cy + r], fill="white", outline=RED, width=2 if r > 7 else 1)
        self.d.text((cx, cy), str(number), font=font(BOLD, 10 if small else 12), fill=RED, anchor="mm")

    def explorer(self, x, y, width, title, address, rows, marked, number):
        """Draws a small Explorer window and returns the y below it."""
        d, row_h = self.d, 18
        height = 22 + 24 + 18 + row_h * len(rows) + 8
        d.rectangle([x + 3, y + 3, x + width + 3, y + height + 3], fill=(225, 225, 225))  # shadow
        d.rectangle([x, y, x + width, y + height], fill="white", outline=(120, 120, 120))
        # Title bar
        self.folder_icon(x + 6, y + 4)
        d.text((x + 28, y + 4), title, font=self.small, fill=INK)
        bx = x + width - 14
        d.line([bx - 4, y + 7, bx + 4, y + 15], fill=INK, width=1)
        d.line([bx - 4, y + 15, bx + 4, y + 7], fill=INK, width=1)
        d.rectangle([bx - 34, y + 7, bx - 26, y + 15], outline=INK)
        d.line([bx - 58, y + 11, bx - 50, y + 11], fill=INK)
        d.line([x + 1, y + 22, x + width - 1, y + 22], fill=LINE_GREY)
        # Address bar, after back, forward and up arrows
        ay = y + 26
        for ax, (dx, dy) in zip((x + 14, x + 28, x + 42), ((-1, 0), (1, 0), (0, -1))):
            cy = ay + 8
            d.line([ax - 4 * dx, cy - 4 * dy, ax + 4 * dx, cy + 4 * dy], fill=GREY, width=1)
            # Arrow head: two strokes back from the tip, one on each side.
            tx, ty = ax + 4 * dx, cy + 4 * dy
            d.line([tx, ty, tx - 3 * dx - 3 * dy, ty - 3 * dy - 3 * dx], fill=GREY)
            d.line([tx, ty, tx - 3 * dx + 3 * dy, ty - 3 * dy + 3 * dx], fill=GREY)
        d.rectangle([x + 54, ay - 1, x + width - 8, ay + 16], outline=(170, 170, 170))
        self.folder_icon(x + 58, ay + 1)
        d.text((x + 78, ay + 2), address, font=self.small, fill=INK)
        # Column headings
        hy = y + 48
        cols = [x + 28, x + 190, x + 320, x + width - 60]
        for cx, head in zip(cols, ["이름", "수정한 날짜", "유형", "크기"]):
            d.text((cx, hy), head, font=self.small, fill=GREY)
        for cx in cols[1:]:
            d.line([cx - 8, hy, cx - 8, hy + 13], fill=LINE_GREY)
        d.line([x + 1, hy + 16, x + width - 1, hy + 16], fill=LINE_GREY)
        # Files
        ry = hy + 20
        for i, (name, date, kind, size) in enumerate(rows):
            top = ry + i * row_h
            if i == marked:
                d.rectangle([x + 4, top - 2, x + width - 4, top + row_h - 3],
                            fill=(204, 232, 255), outline=(153, 209, 255))
            if kind == "파일 폴더":
                self.folder_icon(x + 8, top)
            else:
                self.file_icon(x + 8, top, name)
            d.text((x + 28, top + 1), name, font=self.small, fill=INK)
            d.text((cols[1], top + 1), date, font=self.small, fill=INK)
            d.text((cols[2], top + 1), kind, font=self.small, fill=INK)
            d.text((cols[3] + 40, top + 1), size, font=self.small, fill=INK, anchor="ra")
        mx = x + 28 + self.small.getlength(rows[marked][0]) + 16
        self.marker(mx, ry + marked * row_h + 6, number)
        return y + height + 3


def make_sheet():
    s = Sheet()
    y = MARGIN
    s.d.text((MARGIN, y), "프로그램 보안체크 및 문제 해결 방법", font=font(BOLD, 18), fill=INK)
    y += 26
    s.d.line([MARGIN, y, WIDTH - MARGIN, y], fill=STEP_BLUE, width=2)
    y += 9

    y = s.step(y, 1, f"**[1.{NBSP}보안체크]** 버튼을 눌러 설치 폴더에 보안 문제가 있는지 확인합니다. "
                     "**\"보안설정이 잘되어 있습니다.\"**라는 메시지가 나오면 보안설정은 된 것입니다.") + 6
    y = s.step(y, 2, f"**[2.{NBSP}보안설정]** 버튼을 눌러 문제를 해결합니다. "
                     "**\"보안설정이 잘되었습니다.\"**라는 메시지가 나오면 해결된 것입니다. "
                     "**\"관리자 권한이 필요합니다.\"**라는 메시지가 나오면 프로그램을 닫고, 프로그램 파일을 "
                     f"마우스 오른쪽 버튼으로 클릭하여 **[관리자{NBSP}권한으로{NBSP}실행]**을 선택한 뒤 "
                     "다시 진행하세요.") + 6
    y = s.note(y, "※ 1번이나 2번 뒤에 가상 폴더에 파일이 있으면 보안설정이 설치 폴더로 옮길지 묻습니다. "
                  "사라진 **회원 명부**를 되찾으려면 **[예]**를 누르세요. 바뀌는 파일은 먼저 백업하고, "
                  "설치 폴더 쪽이 더 새 파일은 그대로 둡니다.") + 8

    x, w = MARGIN + 24, 500
    y = s.step(y, 3, f"**[3.{NBSP}가상{NBSP}Pelorant{NBSP}폴더{NBSP}열기]** 버튼은 Windows가 설치 폴더 "
                     "대신 저장해 둔 가상 폴더를 엽니다. ① **dat** 폴더에 옮길 자료가 있는지 살펴볼 때 쓰세요.") + 2
    y = s.explorer(x, y, w, "Quindle",
                   "사용자 > AppData > Local > VirtualStore > Program Files (x86) > Quindle",
                   [("dat", "2024-03-18 오후 2:41", "파일 폴더", "")], 0, 1) + 8

    y = s.step(y, 4, f"**[4.{NBSP}Pelorant{NBSP}폴더{NBSP}열기]** 버튼은 설치 폴더를 엽니다. 손으로 "
                     "옮길 때는 ② **dat** 폴더를 덮어쓰지 말고, 설치 폴더 쪽이 더 새 파일이 아닌 것만 골라 복사하세요.") + 2
    y = s.explorer(x, y, w, "Quindle", "C:\\Program Files (x86)\\Quindle",
                   [("dat", "2024-03-18 오후 2:41", "파일 폴더", ""),
                    ("Quindle.dll", "2023-11-02 오전 9:15", "응용 프로그램 확장", "412KB"),
                    ("Quindle.exe", "2023-11-02 오전 9:15", "응용 프로그램", "1,836KB"),
                    ("readme.txt", "2023-11-02 오전 9:10", "텍스트 문서", "3KB")], 0, 2)
    if y > HEIGHT - 3:
        sys.exit(f"make_resources.py: the sheet needs {y} px but has {HEIGHT}; shorten the text.")
    return s.img


def main():
    for path in (REGULAR, BOLD):
        if not os.path.exists(path):
            sys.exit(f"make_resources.py: font {path} is missing; install it with 'apt-get install fonts-nanum'.")
    with open(os.path.join(HERE, "app.ico"), "wb") as f:
        f.write(make_icon())
    make_sheet().save(os.path.join(HERE, "instructions.bmp"), format="BMP")


if __name__ == "__main__":
    main()
