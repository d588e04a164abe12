#!/usr/bin/env python3
"""demo_machine.py TREE VARIANT UNINSTALL_FIRST: the demo's steps inside one
Wine session (started by scripts/demo on a fresh throwaway prefix, and by the
product round-trip tests)."""
import locale
import os
import re
import sys
import time

from machine import fail, install_package, open_audit, prepare_browsers, step, win, windows_path
import trace_audit as audit

PUBLISHED = re.compile(r'Property\(S\): (BrwCount|BrwID[0-9]|Brw[0-9]|HostBrowser[0-9]|BROWSER_[A-Z]+|'
                       r'ALT_BROWSER[A-Z_]*|NSPLUGIN_DIR|NSCOMP_DIR|INSTALL_NSPLUGIN|ALLUSERS) ')
BOOKKEEPING = re.compile(r'Installer\\|\\Uninstall\\\{', re.I)


def show(lines):
    for line in lines:
        print(line)


def added(base, installed):
    return [audit.show(t) for t in audit.traces(base, installed)]


def published(log):
    """The browser properties the actions published, as the installer's log lists them."""
    with open(log, 'rb') as f:
        text = f.read().replace(b'\r', b'').replace(b'\0', b'').decode('latin-1')
    lines = {'    ' + line.rsplit('Property(S): ', 1)[1] for line in text.split('\n') if PUBLISHED.search(line)}
    locale.setlocale(locale.LC_COLLATE, '')
    return sorted(lines, key=locale.strxfrm)


def remove(tree, *options):
    return win(os.path.join(tree, 'bin', 'meridremover.exe'), '/s', *options)[0]


def main(tree, variant, uninstall_first):
    suffix = '-uninstalled' if uninstall_first == '1' else ''
    open_audit(os.environ.get('AUDIT_DIR') or os.path.join(tree, 'demo-audit', variant + suffix))
    step("preparing the machine: Wine's Internet Explorer and a stand-in Firefox 3.6")
    prepare_browsers(tree)
    step('recording the machine before installation')
    audit.snapshot('base')
    msi = os.path.join(tree, 'package', 'meridel-%s.msi' % variant)
    step('installing %s with msiexec /qn' % os.path.basename(msi))
    install_package(msi, os.path.join(audit.AUDIT_DIR, 'install.log'))
    audit.snapshot('installed')
    step("what the installation published (from the installer's log)")
    show(published(os.path.join(audit.AUDIT_DIR, 'install.log')))
    step("what the installation added (registry and files; Windows Installer's own records counted, not listed)")
    traces = added('base', 'installed')
    show('    ' + t for t in traces if not BOOKKEEPING.search(t))
    print("    and %d traces of Windows Installer's own bookkeeping" % sum(1 for t in traces if BOOKKEEPING.search(t)))
    before = 'installed'
    if uninstall_first == '1':
        step('uninstalling with msiexec /x /qn')
        if win('msiexec', '/x', windows_path(msi), '/qn')[0]:
            fail('msiexec could not uninstall %s' % os.path.basename(msi))
        audit.snapshot('uninstalled')
        before = 'uninstalled'
    step('running meridremover.exe /s with its report')
    report = os.path.join(audit.AUDIT_DIR, 'report.txt')
    t0 = time.monotonic_ns()
    status = remove(tree, '/r' + windows_path(report))
    print('    meridremover.exe /s took %d ms, exit status %d' % ((time.monotonic_ns() - t0) // 1000000, status))
    audit.snapshot('after')
    step('trace audit')
    result = 1 if audit.report('base', 'installed', 'after') else 0
    # Nothing of the product stays, so the report's status says so.
    if status:
        print("    the report's exit status is %d, not 0" % status)
        result = 1
    if audit.report_check(before, 'after', report):
        result = 1
    step('running meridremover.exe /s once more on the cleaned machine')
    status = remove(tree)
    if status:
        sys.exit(status)
    audit.snapshot('again')
    changes = added('after', 'again') + added('again', 'after')
    if changes:
        print('    the second run changed %d traces:' % len(changes))
        show('    ' + t for t in changes)
        return 1
    print('    the second run changed nothing')
    return result


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:4]))
