"""Test pictures for opening: one plain colour per file, in every format the
program reads. Raster formats are written by ImageMagick; the metafiles,
which it cannot write, are built here record by record."""
import os
import struct
import subprocess

# name -> (ImageMagick output prefix, or None for the metafiles, colour).
# Each file has its own colour, so a screenshot tells which one is shown.
FORMATS = {
    "picture.bmp": ("BMP3", (200, 40, 40)),
    "picture.gif": ("GIF", (40, 160, 40)),
    "picture.jpg": ("JPEG", (40, 80, 200)),
    "picture.png": ("PNG24", (200, 160, 40)),
    "picture.pcx": ("PCX", (160, 40, 160)),
    "picture.tif": ("TIFF", (40, 160, 160)),
    "picture.tga": ("TGA", (120, 60, 20)),
    "picture.psd": ("PSD", (20, 60, 120)),
    "picture.jp2": ("JP2", (220, 100, 150)),
    "picture.pcd": ("PCD", (100, 100, 100)),
    "picture.wmf": (None, (0, 120, 80)),
    "picture.emf": (None, (80, 0, 120)),
}
SIZE = (320, 200)
# Photo CD image packs have one size: the base image is 768 x 512.
PCD_SIZE = (768, 512)


def picture_size(name):
    return PCD_SIZE if name.endswith(".pcd") else SIZE

# Lossy formats come back close to their colour, not exactly.
TOLERANCE = {"picture.jpg": 8, "picture.jp2": 8, "picture.pcd": 16}


def write_raster(path, kind, color, size=SIZE):
    r, g, b = color
    subprocess.run(["convert", "-size", f"{size[0]}x{size[1]}", f"xc:rgb({r},{g},{b})", "-depth", "8",
                    f"{kind}:{path}"], check=True, capture_output=True, timeout=60)


def _colorref(color):
    r, g, b = color
    return r | g << 8 | b << 16


def wmf_bytes(color, size=SIZE):
    """A placeable metafile: a frame of size[0] x size[1] units at 96 per
    inch filled by one rectangle in the colour, without an outline."""
    w, h = size

    def record(function, *words, raw=b""):
        body = struct.pack(f"<{len(words)}h", *words) + raw
        return struct.pack("<IH", 3 + len(body) // 2, function) + body

    records = (record(0x020B, 0, 0)  # SetWindowOrg (y, x)
               + record(0x020C, h, w)  # SetWindowExt (y, x)
               + record(0x02FC, raw=struct.pack("<HIH", 0, _colorref(color), 0))  # CreateBrushIndirect
               + record(0x012D, 0)  # SelectObject
               + record(0x02FA, raw=struct.pack("<HhhI", 5, 0, 0, 0))  # CreatePenIndirect: PS_NULL
               + record(0x012D, 1)
               + record(0x041B, h, w, 0, 0)  # Rectangle (bottom, right, top, left)
               + record(0x0000))  # end of file
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(records)) // 2, 2, 7, 0)
    words = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, w, h, 96, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", words[:20]):
        checksum ^= word
    return words + struct.pack("<H", checksum) + header + records


def emf_bytes(color, size=SIZE):
    """An enhanced metafile of size[0] x size[1] device pixels at 96 per
    inch, filled by one rectangle in the colour."""
    w, h = size

    def record(kind, body):
        return struct.pack("<II", kind, 8 + len(body)) + body

    millimetres = (round(w * 25.4 / 96), round(h * 25.4 / 96))
    body = (record(39, struct.pack("<IIIi", 1, 0, _colorref(color), 0))  # CreateBrushIndirect
            + record(37, struct.pack("<I", 1))  # SelectObject
            + record(37, struct.pack("<I", 0x80000008))  # SelectObject NULL_PEN
            + record(43, struct.pack("<iiii", 0, 0, w, h))  # Rectangle
            + record(14, struct.pack("<III", 0, 16, 20)))  # EOF
    header_size = 88
    total = header_size + len(body)
    header_body = struct.pack("<iiii", 0, 0, w - 1, h - 1)  # bounds
    header_body += struct.pack("<iiii", 0, 0, millimetres[0] * 100, millimetres[1] * 100)  # frame, 1/100 mm
    header_body += struct.pack("<IIIIHHIII", 0x464D4520, 0x10000, total, 6, 2, 0, 0, 0, 0)
    header_body += struct.pack("<iiii", w, h, millimetres[0], millimetres[1])  # device size in pixels and mm
    return record(1, header_body) + body


def write_all(folder):
    """Writes every test picture into folder; returns {name: path}."""
    os.makedirs(folder, exist_ok=True)
    paths = {}
    for name, (kind, color) in FORMATS.items():
        path = os.path.join(folder, name)
        if kind:
            write_raster(path, kind, color)
        else:
            with open(path, "wb") as f:
                f.write(wmf_bytes(color) if name.endswith(".wmf") else emf_bytes(color))
        paths[name] = path
    return paths


def write_damaged(path):
    """A PNG signature followed by nonsense: recognised, then unreadable."""
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4)
    return path
