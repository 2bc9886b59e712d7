"""Pictures as plain RGB bytes: screenshots of the X display (read from
xwd's output), pages rendered from PDFs (PPM), colour checks at points and
in rectangles, and a PNG writer so that people can look at them."""
import struct
import zlib


def close_to(color, expected, tolerance=0):
    return all(abs(a - b) <= tolerance for a, b in zip(color, expected))


class Picture:
    def __init__(self, width, height, rgb, path=None):
        if len(rgb) != width * height * 3:
            raise ValueError(f"{width} x {height} picture with {len(rgb)} bytes")
        self.width = width
        self.height = height
        self.rgb = rgb
        self.path = path

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"({x}, {y}) outside {self.width} x {self.height}")
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def count(self, color, rect=None, tolerance=0):
        """Number of pixels of `color` in rect (left, top, right, bottom;
        right and bottom exclusive), the whole picture by default."""
        left, top, right, bottom = rect or (0, 0, self.width, self.height)
        total = 0
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.rgb[(y * self.width) * 3:(y * self.width + self.width) * 3]
            for x in range(max(left, 0), min(right, self.width)):
                if close_to(row[x * 3:x * 3 + 3], color, tolerance):
                    total += 1
        return total

    def bounds(self, color, tolerance=0):
        """Smallest rectangle (right and bottom exclusive) holding every pixel
        of `color`, or None when there is none."""
        found = None
        for y in range(self.height):
            row = self.rgb[(y * self.width) * 3:(y * self.width + self.width) * 3]
            for x in range(self.width):
                if close_to(row[x * 3:x * 3 + 3], color, tolerance):
                    if found is None:
                        found = [x, y, x + 1, y + 1]
                    else:
                        found = [min(found[0], x), found[1], max(found[2], x + 1), y + 1]
        return tuple(found) if found else None

    def crop(self, rect):
        """The part inside rect (left, top, right, bottom) as a new Picture."""
        left, top, right, bottom = rect
        rows = [self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3] for y in range(top, bottom)]
        return Picture(right - left, bottom - top, b"".join(rows))

    def save_png(self, path):
        stride = self.width * 3
        raw = b"".join(b"\x00" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
        self.path = path


def read_ppm(path):
    """Binary PPM (P6, maxval 255) as written by pdftoppm."""
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maxval != 255:
        raise ValueError(f"{path}: not an 8-bit binary PPM")
    at += 1
    return Picture(width, height, data[at:at + width * height * 3], path)


def _mask_shift(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift


def read_xwd(data):
    """A true- or direct-colour ZPixmap dump of 24 or 32 bits per pixel, as
    `xwd -root` writes it for an Xvfb screen (under Wine: 24 bits per pixel,
    packed, in rows padded to 4 bytes per pixel)."""
    header = struct.unpack(">25I", data[:100])
    header_size, version, pixmap_format = header[0], header[1], header[2]
    width, height, byte_order = header[4], header[5], header[7]
    bits_per_pixel, bytes_per_line = header[11], header[12]
    masks = header[14:17]
    ncolors = header[19]
    if version != 7 or pixmap_format != 2 or bits_per_pixel not in (24, 32) or header[3] != 24:
        raise ValueError("unsupported xwd dump")
    start = header_size + ncolors * 12
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    shifts = [_mask_shift(m) for m in masks]
    rgb = bytearray(width * height * 3)
    out = 0
    if masks == (0xFF0000, 0xFF00, 0xFF) and byte_order == 0:
        # The usual case: pixels of B, G, R (and an unused byte at 32 bits);
        # slice the channels out of each row.
        for y in range(height):
            row = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
            rgb[out:out + width * 3:3] = row[2::step]
            rgb[out + 1:out + width * 3:3] = row[1::step]
            rgb[out + 2:out + width * 3:3] = row[0::step]
            out += width * 3
    else:
        for y in range(height):
            for x in range(width):
                at = start + y * bytes_per_line + x * step
                value = int.from_bytes(data[at:at + step], order)
                rgb[out:out + 3] = bytes((value & m) >> s for m, s in zip(masks, shifts))
                out += 3
    return Picture(width, height, bytes(rgb))
