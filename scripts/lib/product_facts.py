"""The product's constants for the scripts, read from the one source the
programs and the package are built from (platform/product_constants.h), by the
same rule as cmake/product_constants.cmake: the component rows X(...) and the
`#define MERIDEL_NAME "text"` lines.
"""
import collections
import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'platform', 'product_constants.h')

Component = collections.namedtuple('Component', 'row module subkey value_name class_id')

_QUOTED = r'"((?:[^"\\]|\\.)*)"'
_ROW = re.compile(r'X\(([0-9]+), %s, %s, %s, %s\)' % ((_QUOTED,) * 4))
_NAME = re.compile(r'^#define (MERIDEL_[A-Z_]+) %s$' % _QUOTED, re.M)

# Facts the header does not hold yet; a define of the same name there wins.
_NOT_IN_HEADER_YET = {
    'MERIDEL_PRODUCT_KEY': r'Software\Halvorix\Meridel\2.1',
    'MERIDEL_MAKER_FOLDER': 'Halvorix',
    'MERIDEL_CLIENT_FOLDER': 'Meridel VRML Client',
    'MERIDEL_SHARED_FOLDER': 'Meridel',
}


def _literal(text):
    # The header's literals use no escape but "\\" and "\"".
    return re.sub(r'\\(.)', r'\1', text)


def parse(text):
    """(rows by number, names): the component rows and the MERIDEL_* names of a header's text."""
    rows = {}
    for m in _ROW.finditer(text):
        fields = [_literal(f) for f in m.groups()[1:]]
        rows[int(m.group(1))] = Component(int(m.group(1)), *fields)
    names = dict(_NOT_IN_HEADER_YET)
    names.update((m.group(1), _literal(m.group(2))) for m in _NAME.finditer(text))
    return rows, names


def load(path=HEADER):
    with open(path, encoding='utf-8') as f:
        return parse(f.read())
