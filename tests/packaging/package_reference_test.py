#!/usr/bin/env python3
"""The installation package against the product's reference table: every
component row's class registration and product-key value, and the Mozilla
plug-in entry, are in the package's Registry table exactly as the reference
gives them.

  package_reference_test.py PRODUCT_MD PACKAGE.msi...
"""
import re
import subprocess
import sys

PRODUCT_KEY = r'Software\Halvorix\Meridel\2.1'


def reference(path):
    rows, other = {}, {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            cells = [c.strip() for c in line.strip().strip('|').split('|')]
            if len(cells) == 5 and cells[0].isdigit():
                rows[int(cells[0])] = [None if c.startswith('none') else c.strip('"') for c in cells[2:]]
            elif len(cells) == 2:
                other[cells[0]] = cells[1]
    return rows, other


def registry(msi):
    text = subprocess.run(['msiinfo', 'export', msi, 'Registry'], capture_output=True, text=True,
                          check=True).stdout
    entries = set()
    for line in text.splitlines()[3:]:  # column names, types, table name
        parts = line.split('\t')
        if len(parts) >= 5:
            entries.add((parts[1], parts[2].lower(), parts[3], parts[4]))
    return entries


def check(msi, rows, other):
    entries = registry(msi)
    keys = {(root, key) for root, key, _, _ in entries}
    problems = []

    def need(key, name, what):
        if not any(r == '2' and k == key.lower() and n == name for r, k, n, _ in entries):
            problems.append('%s: no %s (HKLM\\%s, value %r)' % (msi, what, key, name or '(default)'))

    for row, (subkey, value_name, class_id) in sorted(rows.items()):
        if class_id:
            need(r'Software\Classes\CLSID\%s\InprocServer32' % class_id, '', 'class registration of row %d' % row)
        if subkey:
            need(PRODUCT_KEY + '\\' + subkey, value_name or '', 'product-key value of row %d' % row)
    plugin = r'SOFTWARE\MozillaPlugins\%s' % other['Mozilla plug-in identifier (subkey of `HKEY_LOCAL_MACHINE\SOFTWARE\MozillaPlugins`)']
    need(plugin, 'Path', 'Mozilla plug-in entry')
    # No class registration the reference does not name.
    known = {c.lower() for _, _, c in rows.values() if c}
    for _, key in keys:
        m = re.match(r'software\\classes\\clsid\\(\{[^}]+\})', key)
        if m and m.group(1) not in known:
            problems.append('%s: registers a class the reference does not name: %s' % (msi, m.group(1)))
    return problems


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    rows, other = reference(argv[1])
    if len(rows) != 21:
        print('read %d component rows from %s, expected 21' % (len(rows), argv[1]))
        return 1
    problems = [p for msi in argv[2:] for p in check(msi, rows, other)]
    for p in problems:
        print('FAIL: ' + p)
    if not problems:
        print('package_reference: %d packages match the reference' % len(argv[2:]))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
