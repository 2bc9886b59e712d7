"""Scanning in the end-to-end tests: SANE's own test backend behind a
private SANE_CONFIG_DIR, the data source installed into the session's Wine
prefix exactly as scripts/run.sh installs it, and the pictures the backend
makes, read with scanimage as the reference."""
import glob
import os
import shutil
import subprocess

SOURCE_CLASS = "TLRASANESOURCE"
SCAN_BUTTON, CANCEL_BUTTON = 1, 2
RESOLUTION, MODE, LEFT, TOP, WIDTH, HEIGHT, STATUS = 101, 102, 103, 104, 105, 106, 108
DATA_SOURCE = "scan/sane_source/sane.ds.so"


def sane_config(folder, backends=("test",), picture="Color pattern", mode="Color"):
    """A SANE configuration with only the given backends; the test backend
    makes two devices whose default picture and mode are given."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "dll.conf"), "w") as f:
        f.write("".join(b + "\n" for b in backends))
    with open(os.path.join(folder, "test.conf"), "w") as f:
        f.write(f'number_of_devices 2\nmode {mode}\ntest-picture "{picture}"\nresolution 50\n')
    return folder


def install_data_source(session, tree):
    """Copies the data source over the prefix's sane.ds. The prefix's module
    files are hard links into the run's template: the link is replaced, the
    template is not written through."""
    target = os.path.join(session.prefix, "drive_c", "windows", "twain_64", "sane.ds")
    os.makedirs(os.path.dirname(target), exist_ok=True)
    if os.path.exists(target):
        os.unlink(target)
    shutil.copyfile(os.path.join(tree, DATA_SOURCE), target)


def temporary_files(session):
    """The "ts" files left in the Wine user's temporary folder."""
    return glob.glob(os.path.join(session.prefix, "drive_c", "users", "*", "**", "Temp", "ts*.tmp"), recursive=True)


def reference_scan(config, device, resolution, width_mm, height_mm, mode):
    """The picture the device makes with these settings: (width, height,
    channels, bytes), read with scanimage as a PNM file."""
    out = subprocess.run(["scanimage", "-d", device, "--mode", mode, "--resolution", str(resolution),
                          "-l", "0", "-t", "0", "-x", str(width_mm), "-y", str(height_mm), "--format=pnm"],
                         env=dict(os.environ, SANE_CONFIG_DIR=config), capture_output=True, check=True,
                         timeout=60).stdout
    fields, at = [], 0
    while len(fields) < 4:
        line_end = out.index(b"\n", at)
        line = out[at:line_end].split(b"#")[0]
        fields += line.split()
        at = line_end + 1
    kind, width, height = fields[0], int(fields[1]), int(fields[2])
    channels = 3 if kind == b"P6" else 1
    return width, height, channels, out[at:at + width * height * channels]


def nearest_step(source, destination):
    """The preview's nearest-neighbour step in 1/65536 pixels."""
    return 0 if destination < 2 else ((source << 16) - 65536) // (destination - 1)


def reference_colours(reference, x, y, size):
    """The colours around the reference pixel that the preview pixel (x, y)
    of a picture shown at size shows, one pixel either way, so that a
    picture rectangle off by one pixel still matches."""
    width, height, channels, data = reference
    sx = (32768 + x * nearest_step(width, size[0])) >> 16
    sy = (32768 + y * nearest_step(height, size[1])) >> 16
    colours = set()
    for v in range(max(sy - 1, 0), min(sy + 2, height)):
        for u in range(max(sx - 1, 0), min(sx + 2, width)):
            at = (v * width + u) * channels
            colours.add(tuple(data[at:at + 3]) if channels == 3 else (data[at],) * 3)
    return colours
