"""unittest support: one session shared by the tests of a class."""
import os
import sys
import unittest

from .session import Session


class SessionTestCase(unittest.TestCase):
    """Starts a Session before the first test of the class and stops it
    after the last, keeping its logs among the artifacts when a test failed.
    Subclasses set `printer` and start their programs in `start_programs`."""

    printer = True
    session = None
    _failed = False

    @classmethod
    def setUpClass(cls):
        script = os.path.splitext(os.path.basename(sys.argv[0]))[0]
        cls.session = Session(printer=cls.printer, name=f"{script}.{cls.__name__}")
        cls.session.start()
        try:
            cls.start_programs()
        except BaseException:
            cls.session.stop(failed=True)
            raise

    @classmethod
    def start_programs(cls):
        pass

    @classmethod
    def tearDownClass(cls):
        cls.session.stop(failed=cls._failed)

    def run(self, result=None):
        result = result or self.defaultTestResult()
        problems = len(result.failures) + len(result.errors)
        outcome = super().run(result)
        if len(result.failures) + len(result.errors) > problems:
            type(self)._failed = True
        return outcome
