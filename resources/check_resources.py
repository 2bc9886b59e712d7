#!/usr/bin/python3
"""Checks the committed resource files against what the program expects of
them, with nothing but the Python standard library:

- the JPEG pictures are baseline, 3-component and of the program's sizes;
- the caption strip is a 150 x 400 RGBA PNG with real transparency, one
  caption per used row, each within what its button's plate shows;
- the icon files hold the sizes the program and the shell ask for;
- the manifest asks for version 6 of the common controls;
- the resource script names every resource with an existing file;
- the help pages the program opens exist, hold no scripts and load nothing
  from elsewhere, and every link between them reaches a page and its anchor.

    python3 resources/check_resources.py      (exit status 0 when all pass)
"""
import html.parser
import os
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

JPEGS = {"startup.jpg": (3705, 2565), "splash.jpg": (514, 384), "logo.jpg": (185, 112),
         "background.jpg": (512, 512)}
MAX_STARTUP_BYTES = 4 * 1024 * 1024
STRIP_SIZE = (150, 400)
ROW_HEIGHT = 29
PLATE_HEIGHT = 26
# Caption row -> width of the plate it is composed onto.  A plate narrower
# than the strip shows the strip's middle columns; a 26-pixel plate shows
# rows 1 to 26 of the 29.
CAPTION_PLATES = {0: 159, 1: 126, 2: 26, 3: 159, 4: 76, 5: 76, 6: 159, 8: 26, 9: 26, 10: 26, 11: 159}
ICON_SIZES = {16, 32, 48, 256}
HELP_PAGES_OPENED = ("introduction.htm", "page_setup_dialog.htm")
RESOURCES = {("126", "JPG"): "startup.jpg", ("127", "JPG"): "splash.jpg", ("135", "JPG"): "captions.png",
             ("136", "JPG"): "logo.jpg", ("137", "JPG"): "background.jpg", ("122", "ICON"): "tilora.ico",
             ("123", "ICON"): "print.ico"}


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def jpeg_frame(data):
    """(marker, width, height, components) of a JPEG's frame header."""
    expect(data[:2] == b"\xff\xd8", "no JPEG start-of-image marker")
    pos = 2
    while pos + 4 <= len(data):
        expect(data[pos] == 0xFF, f"bad JPEG marker at {pos}")
        marker = data[pos + 1]
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            _, height, width, components = struct.unpack_from(">BHHB", data, pos + 4)
            return marker, width, height, components
        pos += 2 + length
    raise Failure("no JPEG frame header")


def check_jpeg(name, size):
    with open(os.path.join(HERE, name), "rb") as f:
        data = f.read()
    marker, width, height, components = jpeg_frame(data)
    expect(marker == 0xC0, f"{name}: not a baseline JPEG (frame marker 0x{marker:02X})")
    expect((width, height) == size, f"{name}: {width} x {height}, expected {size[0]} x {size[1]}")
    expect(components == 3, f"{name}: {components} components, expected 3 (YCbCr)")
    expect(b"JFIF" in data[:64], f"{name}: no JFIF header (colour space would be ambiguous)")
    if name == "startup.jpg":
        expect(len(data) <= MAX_STARTUP_BYTES, f"{name}: {len(data)} bytes, more than {MAX_STARTUP_BYTES}")


def png_rgba(data):
    """Decode an 8-bit RGBA, non-interlaced PNG: (width, height, rows)."""
    expect(data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    expect(header is not None, "PNG without IHDR")
    width, height, depth, colour_type, _, _, interlace = header
    expect(depth == 8 and colour_type == 6, f"PNG is not 8-bit RGBA (depth {depth}, colour type {colour_type})")
    expect(interlace == 0, "PNG is interlaced")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(line)
        previous = line
    return width, height, rows


def check_captions():
    with open(os.path.join(HERE, "captions.png"), "rb") as f:
        width, height, rows = png_rgba(f.read())
    expect((width, height) == STRIP_SIZE, f"captions.png: {width} x {height}, expected 150 x 400")

    def alpha(x, y):
        return rows[y][x * 4 + 3]

    used_rows = set(CAPTION_PLATES)
    for row in range(height // ROW_HEIGHT + 1):
        top = row * ROW_HEIGHT
        cells = [(x, y) for y in range(top, min(height, top + ROW_HEIGHT)) for x in range(width)]
        inked = [(x, y - top) for x, y in cells if alpha(x, y) > 0]
        if row not in used_rows:
            expect(not inked, f"captions.png: row {row} should be empty (fully transparent)")
            continue
        expect(inked, f"captions.png: row {row} is empty")
        expect(any(alpha(x, y + top) == 255 for x, y in inked), f"captions.png: row {row} has no opaque ink")
        plate = CAPTION_PLATES[row]
        shown_left = (width - plate) // 2 if plate < width else 0
        shown_right = shown_left + min(plate, width)
        cut = (ROW_HEIGHT - PLATE_HEIGHT) // 2
        # Ink that matters (not the faint halo's last fringe) must lie in what the plate shows.
        strong = [(x, y) for x, y in inked if alpha(x, y + top) >= 64]
        expect(all(shown_left <= x < shown_right for x, _ in strong),
               f"captions.png: row {row} has ink outside the middle {plate} columns its plate shows")
        expect(all(cut <= y < cut + PLATE_HEIGHT for _, y in strong),
               f"captions.png: row {row} has ink outside rows {cut} to {cut + PLATE_HEIGHT - 1}")
        xs = [x for x, _ in strong]
        centre = (min(xs) + max(xs) + 1) / 2
        expect(abs(centre - width / 2) <= 1.5, f"captions.png: row {row} is not centred ({centre})")
    corners = [(0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)]
    expect(all(alpha(x, y) == 0 for x, y in corners), "captions.png: corners are not transparent")


def check_icon(name):
    with open(os.path.join(HERE, name), "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    expect(reserved == 0 and kind == 1 and count > 0, f"{name}: not an icon file")
    sizes = set()
    for index in range(count):
        width, height, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        width, height = width or 256, height or 256
        expect(offset + length <= len(data), f"{name}: image {index} runs past the end of the file")
        image = data[offset:offset + length]
        if image[:8] == b"\x89PNG\r\n\x1a\n":
            expect(width == 256, f"{name}: {width} px image stored as PNG (only 256 px should be)")
        else:
            size, dib_width, dib_height, _, dib_bits = struct.unpack_from("<IiiHH", image, 0)
            expect(size == 40 and dib_width == width and dib_height == 2 * height and dib_bits == 32,
                   f"{name}: {width} px image has a malformed DIB header")
        sizes.add(width)
        expect(width == height and bits == 32, f"{name}: image {index} is not square 32-bit")
    expect(ICON_SIZES <= sizes, f"{name}: sizes {sorted(sizes)}, expected at least {sorted(ICON_SIZES)}")


def check_manifest():
    namespace = "{urn:schemas-microsoft-com:asm.v1}"
    root = ElementTree.parse(os.path.join(HERE, "tilora.manifest")).getroot()
    expect(root.tag == namespace + "assembly", "tilora.manifest: root is not an assembly")
    identity = root.find(namespace + "assemblyIdentity")
    expect(identity is not None and identity.get("name") == "Tilora" and identity.get("version") == "1.24.0.0",
           "tilora.manifest: the program's identity is not Tilora 1.24.0.0")
    wanted = {"type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
              "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"}
    found = [dependent.attrib for dependent in root.iter(namespace + "assemblyIdentity")
             if dependent is not identity]
    expect(any(all(attrib.get(k) == v for k, v in wanted.items()) for attrib in found),
           "tilora.manifest: no dependency on version 6 of the common controls")


def check_resource_script():
    with open(os.path.join(HERE, "tilora.rc"), encoding="ascii") as f:
        text = f.read()
    with open(os.path.join(HERE, "resource_ids.h"), encoding="ascii") as f:
        ids = dict(re.findall(r"^#define\s+(\w+)\s+(\d+)", f.read(), re.MULTILINE))
    entries = {(ids.get(m.group(1), m.group(1)), m.group(2)): m.group(3)
               for m in re.finditer(r'^[ \t]*(\w+)[ \t]+(\w+)[ \t]+"([^"]+)"', text, re.MULTILINE)}
    for key, name in RESOURCES.items():
        expect(entries.get(key) == name, f"tilora.rc: {key[0]} {key[1]} should name \"{name}\"")
    manifests = [name for (_, kind), name in entries.items() if kind in ("RT_MANIFEST", "24")]
    expect(manifests == ["tilora.manifest"], "tilora.rc: the manifest resource is missing")
    for name in entries.values():
        expect(os.path.exists(os.path.join(HERE, name)), f"tilora.rc: {name} does not exist")


class HelpPage(html.parser.HTMLParser):
    """The anchors (ids) of a page, its links, and what it must not hold."""

    def __init__(self):
        super().__init__()
        self.ids, self.links, self.forbidden = set(), [], []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag in ("script", "iframe", "object", "embed", "link", "img") or "src" in attrs or \
                any(name.startswith("on") for name in attrs):
            self.forbidden.append(tag)
        if tag == "a" and "href" in attrs:
            self.links.append(attrs["href"])


def check_help_pages():
    folder = os.path.join(HERE, "help")
    pages = {}
    for name in sorted(os.listdir(folder)):
        page = HelpPage()
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            page.feed(f.read())
        pages[name] = page
    for name in HELP_PAGES_OPENED:
        expect(name in pages, f"help/{name} is missing")
    for name, page in pages.items():
        expect(not page.forbidden, f"help/{name}: scripts or outside content: {page.forbidden}")
        for link in page.links:
            target, _, anchor = link.partition("#")
            target = target or name
            expect(target in pages, f"help/{name}: link {link} reaches no page")
            expect(not anchor or anchor in pages[target].ids, f"help/{name}: link {link} reaches no anchor")


def main():
    checks = [(name, lambda n=name, s=size: check_jpeg(n, s)) for name, size in JPEGS.items()]
    checks += [("captions.png", check_captions), ("tilora.ico", lambda: check_icon("tilora.ico")),
               ("print.ico", lambda: check_icon("print.ico")), ("tilora.manifest", check_manifest),
               ("tilora.rc", check_resource_script), ("help pages", check_help_pages)]
    failures = 0
    for name, check in checks:
        try:
            check()
            print(f"ok    {name}")
        except (Failure, OSError, ValueError, struct.error, zlib.error, ElementTree.ParseError) as error:
            print(f"FAIL  {error}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
