#!/usr/bin/env python3
"""Trace audit of a Wine prefix: what an installation added and what of it is
still there after a removal.

  trace_audit.py snapshot NAME     record the registry (HKLM, HKCU) and drive_c of
                                   $WINEPREFIX under $AUDIT_DIR/NAME
  trace_audit.py report BASE INSTALLED AFTER
                                   list every key, value and file that INSTALLED
                                   added to BASE and that AFTER still holds, each
                                   marked expected (with its reason) or leftover;
                                   exit status 1 when there is a leftover, 2
                                   (refused) when INSTALLED holds none of
                                   the product's own traces
  trace_audit.py added BASE INSTALLED
                                   list what INSTALLED added to BASE
  trace_audit.py report-check BEFORE AFTER REPORT
                                   the remover's report (/r) against the file
                                   system: its "removed" lines name exactly the
                                   files and folders BEFORE held and AFTER does
                                   not, its "scheduled" lines files AFTER still
                                   holds (registry lines are not compared); exit
                                   status 1 when they differ

The machines import it: traces(), leftovers(), restore_sections() and the .reg
writer reg_file() serve the interrupted removals.

Snapshots are plain text files, one trace per line, so they diff well by hand.
"""
import os
import re
import subprocess
import sys
import time

import product_facts

AUDIT_DIR = os.environ.get('AUDIT_DIR', '.')

FACTS = product_facts.load()
PRODUCT_KEY = 'HKEY_LOCAL_MACHINE\\' + FACTS['product_key']
MAKER = re.escape(FACTS['maker'])
# The product key's two parents (the maker's and the product's own key).
PARENT_KEYS = [PRODUCT_KEY.rsplit('\\', n)[0] for n in (1, 2)]

# A 32-bit installation on 64-bit Windows lands in the 32-bit registry view
# (HKLM\Software\Wow6432Node, and HKLM\Software\Classes\Wow6432Node for its
# classes). Each rule below names the plain path and holds for either view.
def either_view(pattern):
    view = r'(?:Wow6432Node\\)?'
    for root in (r'HKEY_LOCAL_MACHINE\\Software\\', r'HKEY_LOCAL_MACHINE\\SOFTWARE\\'):
        pattern = pattern.replace(root, root + view)
    return pattern.replace(view + r'Classes\\', view + r'Classes\\' + view)


# Places that change by themselves while Wine runs, or that belong to nobody's
# installation: never reported.
NOISE = [
    r'^reg:HKEY_LOCAL_MACHINE\\Software\\Wine\b',
    r'^reg:HKEY_CURRENT_USER\\Software\\Wine\b',
    r'^reg:HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\b',
    r'^reg:HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment\b',
    r'^reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\b',
    r'^reg:HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\b',
    r'^reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Cryptography\b',
    r'^reg:HKEY_LOCAL_MACHINE\\Hardware\b',
    r'^reg:HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\(Video|Class|DeviceClasses)\b',
    r'^reg:HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\b',
    r'^reg:HKEY_CURRENT_USER\\Volatile Environment\b',
    r'^file:C:\\windows\\Temp\b',
    r'^file:C:\\users\\[^\\]+\\Temp\b',
    r'^file:C:\\users\\[^\\]+\\AppData\\Local\\Temp\b',
    r'^file:C:\\windows\\logs\b',
    r'^file:C:\\windows\\system32\\wbem\b',
]

# Traces that the remover leaves on purpose, with the reason shown.
EXPECTED = [
    ('^reg:(%s)$' % '|'.join(map(re.escape, PARENT_KEYS)), 'the remover keeps the product\'s parent keys'),
    (r'^file:.*\\%s$' % MAKER, 'the remover keeps the maker\'s folders'),
    (r'^reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\b',
     'Windows Installer\'s own record of the package'),
    (r'^reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer\b', 'Windows Installer\'s own record of the package'),
    (r'^reg:HKEY_CURRENT_USER\\Software\\Microsoft\\Installer\b', 'Windows Installer\'s own record of the package'),
    (r'^reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\{',
     'Windows Installer\'s own record of the package'),
    (r'^file:C:\\windows\\Installer\b', 'Windows Installer\'s cached package'),
    (r'^file:C:\\users\\[^\\]+\\AppData\\Roaming\\Microsoft\\Installer\b', 'Windows Installer\'s cached package'),
]


# Shared container keys that an installation may be the first to create and
# that stay, empty, when everything below them is gone.
CONTAINERS = [
    r'^reg:HKEY_CURRENT_USER\\Software\\Classes(\\MIME(\\Database(\\Content Type)?)?)?$',
    r'^reg:HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs$',
    r'^reg:HKEY_LOCAL_MACHINE\\Software\\MozillaPlugins$',
    r'^reg:HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Code Store Database(\\Distribution Units)?$',
]


def decode_export(raw):
    text = raw.decode('utf-16') if raw[:2] in (b'\xff\xfe', b'\xfe\xff') else raw.decode('latin-1')
    lines = []
    pending = ''
    for line in text.replace('\r\n', '\n').split('\n'):
        if pending:
            line = pending + line.strip()
            pending = ''
        if line.endswith('\\') and not line.startswith('['):
            pending = line[:-1]
            continue
        lines.append(line)
    return lines


VALUE = re.compile(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$')


def export_registry(root, path):
    """ROOT's registry export as bytes. A Wine program can fail to start on a
    loaded machine (seen once in a round trip beside the session's tests):
    the export is tried again then, and a third failure says what Wine said."""
    said = ''
    for _ in range(3):
        env = dict(os.environ, WINEDEBUG='-all')
        where = subprocess.run(['winepath', '-w', path], capture_output=True, text=True, env=env)
        windows = where.stdout.strip()
        # The session's loader: under a 32-bit `wine` a 64-bit prefix would
        # show only its 32-bit registry view.
        done = subprocess.run([os.environ['WINE'], 'reg', 'export', root, windows, '/y'],
                              capture_output=True, env=env) if windows else None
        if done is not None and done.returncode == 0 and os.path.isfile(path):
            with open(path, 'rb') as f:
                raw = f.read()
            os.remove(path)
            return raw
        said = where.stderr if done is None else 'status %d: %s' % (done.returncode, done.stderr.decode('latin-1'))
        time.sleep(1)
    raise RuntimeError('reg export %s to %s failed three times (%s)' % (root, path, said.strip()))


def registry_traces(root):
    raw = export_registry(root, os.path.join(AUDIT_DIR, 'export.reg'))
    traces = []
    key = None
    for line in decode_export(raw):
        if line.startswith('[') and line.endswith(']'):
            key = line[1:-1]
            traces.append('reg:' + key)
        elif key:
            m = VALUE.match(line)
            if m:
                name = '(default)' if m.group(1) == '@' else m.group(1)[1:-1].replace('\\"', '"').replace('\\\\', '\\')
                traces.append('reg:%s\\\\%s=%s' % (key, name, m.group(2)))
    return traces


def file_traces(prefix):
    drive = os.path.join(prefix, 'drive_c')
    traces = []
    for folder, dirs, files in os.walk(drive):
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(folder, d))]
        rel = os.path.relpath(folder, drive)
        base = 'C:' if rel == '.' else 'C:\\' + rel.replace('/', '\\')
        for d in dirs:
            traces.append('file:%s\\%s' % (base, d))
        for f in files:
            traces.append('file:%s\\%s' % (base, f))
    return traces


def snapshot(name):
    prefix = os.environ['WINEPREFIX']
    traces = registry_traces('HKLM') + registry_traces('HKCU') + file_traces(prefix)
    os.makedirs(AUDIT_DIR, exist_ok=True)
    with open(os.path.join(AUDIT_DIR, name + '.txt'), 'w', encoding='utf-8') as f:
        for t in sorted(set(traces)):
            f.write(t + '\n')


def load(name):
    with open(os.path.join(AUDIT_DIR, name + '.txt'), encoding='utf-8') as f:
        return {line.rstrip('\n').lower(): line.rstrip('\n') for line in f if line.strip()}


NOISE = [either_view(p) for p in NOISE]
EXPECTED = [(either_view(p), why) for p, why in EXPECTED]
CONTAINERS = [either_view(p) for p in CONTAINERS]


def is_noise(trace):
    return any(re.search(p, trace, re.I) for p in NOISE)


def added(base, installed):
    b, i = load(base), load(installed)
    return {k: v for k, v in i.items() if k not in b and not is_noise(v)}


def show(trace):
    kind, _, what = trace.partition(':')
    return ('registry  ' if kind == 'reg' else 'file      ') + what


def reason_for(trace, still):
    reason = next((r for p, r in EXPECTED if re.search(p, trace, re.I)), None)
    if reason:
        return reason
    if any(re.search(p, trace, re.I) for p in CONTAINERS):
        inside = trace.lower() + '\\'
        if not any(t.lower().startswith(inside) and not any(re.search(p, t, re.I) for p in CONTAINERS)
                   for t in still):
            return 'shared container key, left empty'
    return None


# What any installation of the product adds. Without them there was nothing to
# remove, and "no leftovers" would say nothing.
REQUIRED = [
    ('^reg:%s$' % re.escape(PRODUCT_KEY), 'the product key'),
    (r'^reg:HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\\{[^\\]+\}\\InprocServer32$', 'a class registration'),
    (r'^file:.*\\%s\\.+\.dll$' % MAKER, 'a module file below a Halvorix folder'),
]
REQUIRED = [(either_view(p), what) for p, what in REQUIRED]


def judge(base, installed, after):
    """The report's lines and the number of leftovers (None when refused)."""
    new = added(base, installed)
    missing = [what for p, what in REQUIRED if not any(re.search(p, t, re.I) for t in new.values())]
    if missing:
        return ['Trace audit REFUSED: the installation did not add %s; was the product installed at all?'
                % ', '.join(missing)], None
    a = load(after)
    still = sorted((v for k, v in new.items() if k in a), key=str.lower)
    groups, leftovers = {}, []
    for t in still:
        reason = reason_for(t, still)
        if reason:
            groups.setdefault(reason, []).append(t)
        else:
            leftovers.append(t)
    kept = sum(len(g) for g in groups.values())
    lines = ['Trace audit: %d traces added by the installation, %d removed, %d kept on purpose, %d leftovers'
             % (len(new), len(new) - len(still), kept, len(leftovers))]
    for reason, traces in groups.items():
        # Show the outermost traces of each group; what lies below them is counted.
        tops = [t for t in traces if not any(t.lower().startswith(o.lower() + '\\') for o in traces if o != t)]
        lines.append('  expected  %s: %d traces' % (reason, len(traces)))
        lines += ['              %s' % show(t) for t in tops[:8]]
        if len(tops) > 8:
            lines.append('              ... and %d more' % (len(tops) - 8))
    lines += ['  LEFTOVER  %s' % show(t) for t in leftovers]
    return lines, len(leftovers)


def report(base, installed, after):
    lines, leftovers = judge(base, installed, after)
    print('\n'.join(lines))
    return 2 if leftovers is None else 1 if leftovers else 0


def leftovers(base, installed, after):
    """The number of leftovers in AFTER (None when refused) and the report's
    lines, which are also kept in AFTER.report."""
    lines, count = judge(base, installed, after)
    with open(os.path.join(AUDIT_DIR, after + '.report'), 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    return count, lines


def traces(base, installed):
    """What INSTALLED added to BASE, raw, in the order of their paths."""
    return sorted(added(base, installed).values(), key=str.lower)


class Exported(str):
    """Registry data as reg export writes it ("text", dword:..., hex...), written as it is."""


def reg_data(data):
    if data is None:
        return '-'
    if isinstance(data, Exported):
        return data
    if isinstance(data, int):
        return 'dword:%08x' % data
    return '"%s"' % data.replace('\\', '\\\\').replace('"', '\\"')


def reg_file(sections):
    """A .reg file for regedit /s from (KEY, {NAME: DATA}) pairs, in order. NAME
    None is the key's default value; DATA is text, a number (a DWORD), an
    Exported text or None (the value is deleted); a KEY written "-KEY" is deleted."""
    lines = ['Windows Registry Editor Version 5.00', '']
    for key, values in sections:
        lines.append('[%s]' % key)
        lines += ['%s=%s' % ('@' if name is None else reg_data(name), reg_data(data)) for name, data in values.items()]
        lines.append('')
    return '\r\n'.join(lines) + '\r\n'


def restore_sections(base, installed):
    """Every key and value INSTALLED added, for reg_file(): keys in the order
    of their paths, so that each parent comes first."""
    sections = {}
    for trace in traces(base, installed):
        if not trace.startswith('reg:'):
            continue
        key, sep, value = trace[4:].partition('\\\\')
        section = sections.setdefault(key.lower(), (key, {}))
        # The name ends at the "=" in front of the data as reg export writes it.
        m = re.match(r'^(.*?)=(".*"|dword:.*|hex.*|-)$', value) if sep else None
        if m:
            section[1][None if m.group(1) == '(default)' else m.group(1)] = Exported(m.group(2))
    return list(sections.values())


def report_differences(before, after, report_file):
    """The remover's report against two snapshots: the counts of its removed
    and scheduled lines and of the files and folders gone, and the differences."""
    b, a = load(before), load(after)
    gone = {k[len('file:'):] for k in b if k.startswith('file:') and k not in a and not is_noise(b[k])}
    lines = {'removed': set(), 'scheduled': set()}
    with open(report_file, encoding='utf-8-sig', newline='') as f:
        for line in f.read().split('\r\n'):
            fields = line.split('\t')
            # Registry lines (the product key) are left to the audit's report.
            if fields[0] in lines and not fields[1].startswith('HKEY_'):
                # "%XX" stands for the byte that could break a line or a field.
                lines[fields[0]].add(re.sub(r'%([0-9A-F]{2})', lambda m: chr(int(m.group(1), 16)), fields[1]).lower())
    wrong = ['removed, still there:  %s' % p for p in sorted(lines['removed'] - gone)]
    wrong += ['gone, not reported:    %s' % p for p in sorted(gone - lines['removed'])]
    wrong += ['scheduled, not there:  %s' % p for p in sorted(p for p in lines['scheduled'] if 'file:' + p not in a)]
    return (len(lines['removed']), len(lines['scheduled']), len(gone)), wrong


def report_check(before, after, report_file):
    counts, wrong = report_differences(before, after, report_file)
    print('Report check: %d removed and %d scheduled lines, %d files and folders gone, %d differences'
          % (counts + (len(wrong),)))
    for w in wrong:
        print('  ' + w)
    return 1 if wrong else 0


def main(argv):
    if len(argv) == 5 and argv[1] == 'report-check':
        return report_check(argv[2], argv[3], argv[4])
    if len(argv) == 3 and argv[1] == 'snapshot':
        snapshot(argv[2])
        return 0
    if len(argv) == 5 and argv[1] == 'report':
        return report(argv[2], argv[3], argv[4])
    if len(argv) == 4 and argv[1] == 'added':
        for t in traces(argv[2], argv[3]):
            print(show(t))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
