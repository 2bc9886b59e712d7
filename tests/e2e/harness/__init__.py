"""End-to-end test harness: runs Windows programs under Wine on a private X
display with a private print scheduler, drives them with real input and a
test driver, and reads back windows, registry, screenshots and printouts."""
from .images import Picture, close_to
from .printing import pdf_page_count, pdf_to_png
from .procs import HarnessError, wait_until
from .session import Session, winelib_program
from .unit import SessionTestCase
