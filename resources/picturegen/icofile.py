"""Writing Windows icon files: 32-bit DIB images with their AND masks for
the small sizes, a PNG image for 256 x 256, as the resource compiler and
every Windows version since Vista expect them."""
import io
import struct


def dib_image(image):
    """One RGBA image as an icon DIB: header, bottom-up BGRA rows, AND mask."""
    width, height = image.size
    pixels = image.convert("RGBA").tobytes()
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(height - 1, -1, -1):
        row = pixels[y * width * 4:(y + 1) * width * 4]
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in range(height - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(width):
            if pixels[(y * width + x) * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def png_image(image):
    buffer = io.BytesIO()
    image.convert("RGBA").save(buffer, "PNG", optimize=True)
    return buffer.getvalue()


def write_ico(path, images):
    """Write the given square RGBA images, smallest first, as one icon file."""
    images = sorted(images, key=lambda im: im.size[0])
    blobs = [png_image(im) if im.size[0] >= 256 else dib_image(im) for im in images]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for image, blob in zip(images, blobs):
        width, height = image.size
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(directory)
        for blob in blobs:
            out.write(blob)


def read_ico_sizes(path):
    """The (width, height) of every image listed in an icon file."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError(f"{path}: not an icon file")
    sizes = []
    for index in range(count):
        width, height = struct.unpack_from("<BB", data, 6 + 16 * index)
        sizes.append((width or 256, height or 256))
    return sizes
