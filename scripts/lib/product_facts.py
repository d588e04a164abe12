"""The product's constants for the scripts, read from the one source the
programs and the package are built from (platform/product_constants.h), by the
same rule as cmake/product_constants.cmake: the component rows X(...) and the
`#define MERIDEL_NAME "text"` lines. The facts come as one dictionary: each
name in lower case without MERIDEL_ ("plugin_module"), and "components", the
rows in table order, each with row, module, subkey, value and class_id.
"""
import os
import re

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'platform', 'product_constants.h')

_QUOTED = r'"((?:[^"\\]|\\.)*)"'
_ROW = re.compile(r'X\(([0-9]+), %s, %s, %s, %s\)' % ((_QUOTED,) * 4))
_NAME = re.compile(r'^#define MERIDEL_([A-Z_]+) %s$' % _QUOTED, re.M)

# Facts the header does not hold yet; a define of the same name there wins.
_NOT_IN_HEADER_YET = {
    'maker': 'Halvorix',
    'product': 'Meridel',
    'client_folder': 'Meridel VRML Client',
    'product_key': r'Software\Halvorix\Meridel\2.1',
}


def _literal(text):
    # The header's literals use no escape but "\\" and "\"".
    return re.sub(r'\\(.)', r'\1', text)


def parse(text):
    facts = dict(_NOT_IN_HEADER_YET)
    facts.update((m.group(1).lower(), _literal(m.group(2))) for m in _NAME.finditer(text))
    fields = ('module', 'subkey', 'value', 'class_id')
    facts['components'] = [dict(zip(fields, map(_literal, m.groups()[1:])), row=int(m.group(1)))
                           for m in _ROW.finditer(text)]
    return facts


def load(path=HEADER):
    with open(path, encoding='utf-8') as f:
        return parse(f.read())


def component(facts, row):
    return next(c for c in facts['components'] if c['row'] == row)
