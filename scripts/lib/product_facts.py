"""The product's constants for the scripts: <tree>/product_facts.json, which
CMake writes from platform/product_constants.h (cmake/product_facts.cmake), the
one source the programs and the package are built from. The facts come as one
dictionary: each name in lower case without MERIDEL_ ("plugin_module"), and
"components", the rows in table order, each with row, module, subkey, value
and class_id.
"""
import json
import os


def facts_file():
    # A session's prefix lies in its build tree (scripts/lib/wine_session.sh).
    given = os.environ.get('MERIDEL_PRODUCT_FACTS')
    if given:
        return given
    prefix = os.environ.get('WINEPREFIX')
    if not prefix:
        raise SystemExit('product_facts: neither MERIDEL_PRODUCT_FACTS nor WINEPREFIX names a build tree')
    return os.path.join(os.path.dirname(prefix.rstrip('/')), 'product_facts.json')


def load(path=None):
    path = path or facts_file()
    try:
        with open(path, encoding='utf-8') as f:
            return json.load(f)
    except OSError as e:
        raise SystemExit('product_facts: cannot read %s (%s); build the tree first' % (path, e.strerror))


def component(facts, row):
    return next(c for c in facts['components'] if c['row'] == row)
