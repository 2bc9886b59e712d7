"""The Wine prefix template of one test run, made before the end-to-end
tests and removed after them (CTest fixture):

    python3 -m harness.template create DIR
    python3 -m harness.template remove DIR
"""
import shutil
import sys

from .wineprefix import create_template


def main(argv):
    if len(argv) != 3 or argv[1] not in ("create", "remove"):
        print(__doc__, file=sys.stderr)
        return 2
    if argv[1] == "create":
        seconds = create_template(argv[2])
        print(f"Wine prefix template booted in {seconds:.1f} s: {argv[2]}")
    else:
        shutil.rmtree(argv[2], ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
