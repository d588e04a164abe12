#!/usr/bin/env python3
"""The product's constants as the scripts read them (the build tree's
product_facts.json, through scripts/lib/product_facts.py) against the
reference table: every component row, the product key and the plug-in module.

  product_facts_test.py PRODUCT_MD FACTS_JSON
"""
import os
import re
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(here, '..', '..', 'scripts', 'lib'), os.path.join(here, '..', 'packaging')]
import product_facts  # noqa: E402
from package_reference_test import reference  # noqa: E402


def main(path, facts_path):
    want, other = reference(path)
    facts = product_facts.load(facts_path)
    got = {c['row']: [c[f] or None for f in ('subkey', 'value', 'class_id')] for c in facts['components']}
    problems = ['row %d: read %s, the reference gives %s' % (n, got.get(n), want.get(n))
                for n in sorted(set(want) | set(got)) if got.get(n) != want.get(n)]
    with open(path, encoding='utf-8') as f:
        key = re.search(r'product key `HKEY_LOCAL_MACHINE\\([^`]+)`', f.read()).group(1)
    plugin = other['Plug-in module / class archive / type library'].split(' / ')[0]
    for name, value in (('product_key', key), ('plugin_module', plugin)):
        if facts.get(name) != value:
            problems.append('%s: read %r, the reference gives %r' % (name, facts.get(name), value))
    for p in problems:
        print('FAIL: ' + p)
    print('product_facts: %d rows read, %d problems' % (len(got), len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
