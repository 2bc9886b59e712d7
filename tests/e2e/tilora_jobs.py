"""Print jobs of Tilora's end-to-end tests: the log switched on with F5, the
confirmation dialog answered, and the pages of the PDF printer compared with
the sheets tilora-cli pages renders for the same device, poster and pages."""
import os
import re
import subprocess
import time

import tilora_window as tw
from harness import pdf_page_count

IDOK, IDCANCEL = 1, 2
PRINT_MARGINS, CONFIRM_TEXT = 1009, 1018
# Records that carry timings or the machine's memory figures.
TIMING = re.compile(r"^(page time \(s\)|image_resize time \(s\)): \d+$")
MEMORY_LABELS = ("Percent of memory in use", "Bytes of physical memory", "Free physical memory bytes",
                 "Bytes of paging file", "Free bytes of paging file", "User bytes of address space",
                 "Free user bytes")


tilora_cli = tw.tilora_cli


def write_picture(path, size):
    """A horizontal gradient with a square and a disc (size: width, height),
    so that a part of the picture out of place shows."""
    width, height = size
    subprocess.run(["convert", "-size", f"{height}x{width}", "gradient:rgb(230,60,40)-rgb(40,80,220)",
                    "-rotate", "90", "-fill", "rgb(250,220,40)", "-draw", "rectangle 20,30 80,90",
                    "-fill", "rgb(20,140,60)", "-draw", "circle 140,170 170,200", "-depth", "8", f"BMP3:{path}"],
                   check=True, capture_output=True, timeout=60)


def job_records(text):
    """The records of the last print job, from "print begin" to "print end",
    with the memory reports left out and the timings masked."""
    lines = text.splitlines()
    start = max(i for i, line in enumerate(lines) if line == "print begin")
    records = []
    for line in lines[start:]:
        if line.startswith(MEMORY_LABELS):
            continue
        records.append(TIMING.sub(r"\1: T", line))
        if line == "print end":
            break
    # The memory report ends with an empty line of its own.
    return [line for line in records if line]


def record_values(records, label):
    """The numbers of the record "label: a, b, ..."."""
    line = next(line for line in records if line.startswith(label + ": "))
    return [int(v) for v in line.split(": ")[1].split(", ")]


def differing_pixels(a, b, fuzz):
    """How many pixels of two PNGs differ by more than fuzz percent."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", f"{fuzz}%", a, b, "null:"],
                            capture_output=True, text=True, timeout=120)
    return int(float(result.stderr.split()[0]))


def read_job_log(session):
    """The log file once its last job has ended ("print end" after the
    last "print begin"): the job writes its last record after the document
    reaches the printer."""
    def ended():
        with open(tw.documents_log(session), encoding="latin-1") as f:
            text = f.read()
        return "print end" in text[text.rindex("print begin"):] if "print begin" in text else False
    session.wait_until(ended, 30, "the job's last log record")
    with open(tw.documents_log(session), encoding="latin-1") as f:
        return f.read()


def start_log(test):
    s = test.session
    # F5 typed into a panel edit stays there. A clicked button hands the
    # focus back to the main window, and Uncrop changes nothing here.
    s.input.click_center(s.driver.rect(tw.CLASS, tw.UNCROP))
    time.sleep(0.5)
    s.input.key("F5")
    test.assertIsNotNone(s.driver.find_dialog(tw.TITLE, timeout=15), "no message box after F5")
    s.driver.click_dialog(tw.TITLE, IDOK)
    s.wait_until(lambda: s.driver.find_dialog(tw.TITLE, timeout=0) is None, 10, "the box is closed")


def confirm(test, margins):
    """Answers the confirmation dialog with Print, ticking "Print margins"
    by a real click when asked; returns the dialog's text."""
    s = test.session
    dialog = s.driver.find_dialog("Print", timeout=15)
    test.assertIsNotNone(dialog, "no confirmation dialog")
    controls = {c["id"]: c for c in dialog}
    if margins:
        s.input.click_center(controls[PRINT_MARGINS]["rect"])
        time.sleep(0.5)  # input reaches the dialog asynchronously
    s.driver.click_dialog("Print", IDOK)
    return controls[CONFIRM_TEXT]["text"]


def cli_printer(records):
    """tilora-cli's simulated printer for the job's device: its resolution,
    its sheet (portrait, with --landscape for a landscape job) in mm just
    over the device pixels it holds, and no unprintable strips."""
    dpi = record_values(records, "LOGPIXELSX")[0]
    width = record_values(records, "PHYSICALWIDTH")[0]
    height = record_values(records, "PHYSICALHEIGHT")[0]
    portrait = record_values(records, "portrait")[0] == 1
    mm = lambda px: f"{(px + 0.5) * 25.4 / dpi:.3f}"
    paper = f"{mm(width)}x{mm(height)}mm" if portrait else f"{mm(height)}x{mm(width)}mm"
    return ["--dpi", str(dpi), "--paper", paper] + ([] if portrait else ["--landscape"])


def record_text(records, label):
    """The text of the record "label: text"."""
    return next(line for line in records if line.startswith(label + ":"))[len(label) + 1:].strip()


def cli_craft(records):
    """tilora-cli's craft options for the job's: glue band, seamless sheets,
    labels, trim marks, assembly sheet, the paper's name and the unit."""
    args = ["--overlap", f"{record_values(records, 'overlap (smm)')[0] / 100:g}"]
    flags = {"seamless": None, "labels": "--labels", "trim_marks": "--trim-marks",
             "assembly_sheet": "--assembly-sheet"}
    for label, flag in flags.items():
        on = record_values(records, label)[0] == 1
        if label == "seamless" and not on:
            args.append("--no-seamless")
        elif flag and on:
            args.append(flag)
    if record_text(records, "paper_name"):
        args += ["--paper-name", record_text(records, "paper_name")]
    if record_values(records, "g_metric")[0] == 0:
        args.append("--inches")
    return args


def compare_job_with_cli(test, pdf, picture, cli_args, log_text):
    """Renders the job of the log with tilora-cli pages (its printer, poster,
    margins, craft and skipped pages taken from the log) and compares the
    PDF's pages with the sheets, the assembly sheet first when there is one,
    pixel for pixel within a small tolerance, and the log record for record.
    Returns the printed pages' positions in order."""
    s = test.session
    test.maxDiff = None
    log_text = log_text[log_text.rindex("print begin"):]
    program_log = job_records(log_text)
    caps = {label: record_values(program_log, label)[0]
            for label in ("PHYSICALWIDTH", "PHYSICALHEIGHT", "PHYSICALOFFSETX", "PHYSICALOFFSETY", "LOGPIXELSX",
                          "HORZRES", "VERTRES")}
    # The PDF printer reaches every pixel of its sheet.
    test.assertEqual((caps["PHYSICALOFFSETX"], caps["PHYSICALOFFSETY"]), (0, 0))
    test.assertEqual((caps["HORZRES"], caps["VERTRES"]), (caps["PHYSICALWIDTH"], caps["PHYSICALHEIGHT"]))
    width, height = record_values(program_log, "g_poster")
    margins = record_values(program_log, "g_paper_margin")
    npages = record_values(program_log, "npages")
    order = [tuple(int(v) for v in m) for m in re.findall(r"page_x: (\d+), page_y: (\d+)", log_text)]
    skipped = [f"{c},{r}" for c in range(npages[0]) for r in range(npages[1]) if (c, r) not in order]
    out = os.path.join(s.artifacts, "cli-pages")
    cli = subprocess.run([tilora_cli(), "pages", picture, "--width", f"{width / 100:.2f}mm", "--height",
                          f"{height / 100:.2f}mm", "--margins", ",".join(f"{m / 100:g}" for m in margins),
                          *cli_printer(program_log), *cli_craft(program_log),
                          *[a for p in skipped for a in ("--skip", p)], *cli_args,
                          "--log", "--out", out],
                         capture_output=True, text=True, timeout=300)
    test.assertEqual(cli.returncode, 0, cli.stderr)
    # The same job, record for record: device, model, tile, order of pages,
    # every rectangle; only the timings differ.
    test.assertEqual(program_log, job_records(cli.stderr))

    printed = s.pdf_pages(pdf, caps["LOGPIXELSX"])
    sheets = [os.path.join(out, f"page-{column}-{row}.png") for column, row in order]
    if record_values(program_log, "assembly_sheet")[0] == 1:
        sheets.insert(0, os.path.join(out, "assembly.png"))
    test.assertEqual(len(printed), len(sheets))
    device = (caps["PHYSICALWIDTH"], caps["PHYSICALHEIGHT"])
    for page, rendered in zip(printed, sheets):
        # pdftoppm rounds the page up by up to a pixel; the sheet is the
        # device's from its top-left corner.
        test.assertIn(page.width - device[0], (0, 1))
        test.assertIn(page.height - device[1], (0, 1))
        sheet = page.path[:-4] + "-sheet.png"
        subprocess.run(["convert", page.path, "-crop", f"{device[0]}x{device[1]}+0+0", "+repage", sheet],
                       check=True, timeout=120)
        # The PDF's image edges gain a pixel in pdftoppm and its colours move
        # a little in the PDF round trip; anything out of place would differ
        # over whole rows or columns of the part.
        differing = differing_pixels(sheet, rendered, 6)
        # The assembly sheet is sharp lines and text throughout, whose edges
        # pdftoppm blends where it draws a row a little wider; anything out
        # of place there differs over whole cells.
        limit = device[0] * device[1] // 50 if rendered.endswith("assembly.png") else 12000
        test.assertLess(differing, limit, f"{page.path} differs from {rendered} in {differing} pixels")
    return order, printed[len(printed) - len(order):]
