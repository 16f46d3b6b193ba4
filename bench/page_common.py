"""What the performance page's scripts share: where they are, the gauges
and states measured, and how the page words a path and a verdict."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

GAUGES = ["radalt", "test", "fi", "below", "inop", "XML-Sound"]
STATES = ["cruise", "approach", "terrain", "selftest"]


def rel(path):
    return os.path.relpath(path, ROOT)


def verdict(ok):
    return "met" if ok else "**not met**"
