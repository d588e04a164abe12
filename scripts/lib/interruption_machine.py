#!/usr/bin/env python3
"""interruption_machine.py TREE [points|sweep|restarts]: inside one Wine
session, installs the per-machine package once; then, for each interruption
point, puts the installation back, runs meridremover.exe /s, ends it at that
point, runs it again to the end, and audits both runs and the machine's
bystanders. Then two restarts: files held open during a run go at the next
start of Windows, through the NT list and through wininit.ini.

"sweep" runs timed points only, every 50 ms across a whole run; "restarts"
only the restarts.
"""
import collections
import os
import shutil
import subprocess
import sys

from machine import (DRIVE, host_path, install_package, import_reg, open_audit, prefix_lib, prepare_browsers, step,
                     win, windows_path)
import product_facts
import trace_audit as audit

FACTS = product_facts.load()
MAKER = FACTS['maker']
CF = 'C:\\Program Files\\Common Files\\%s\\%s' % (MAKER, FACTS['product'])
PF = 'C:\\Program Files\\%s\\%s' % (MAKER, FACTS['client_folder'])
PRODUCT_KEY = 'HKEY_LOCAL_MACHINE\\' + FACTS['product_key']
CACHE = r'C:\windows\Downloaded Program Files'
PLUGINS = r'C:\Program Files\Mozilla Firefox\Plugins'
SHARED = r'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
UNITS = r'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Code Store Database\Distribution Units'
UNINSTALL = r'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
SESSION_MANAGER = r'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager'
ARMING = r'HKEY_CURRENT_USER\Software\MeridelTests\Interruption'
OTHER = '{0A1B2C3D-0000-4000-8000-00000000BEEF}'


def module(row):
    return '%s\\%s.dll' % (CF, product_facts.component(FACTS, row)['module'])


# How the first run ends: MODE and ARGUMENT go to interruption_run.exe; ARMED
# is the module path whose copy of interrupting_module.dll ends it, or
# "uninstaller" for the old uninstaller; COUNT changes before a registry point;
# EXTRA registry sections put in with the installation for this point only.
Point = collections.namedtuple('Point', 'label mode argument armed count extra', defaults=('', None, 1, ()))


def filler_below(key, groups=40, each=50):
    """Subkeys under KEY that sort after every key of the product: the tree
    deletion reaches them last, so deleting them keeps the remover inside the
    key long enough for the watcher, however loaded the machine, to end it
    there rather than after the whole key went."""
    return [('%s\\zz filler %02d\\%02d' % (key, g, i), {}) for g in range(groups) for i in range(each)]


def at(step, detail=''):
    """A point's label: the name of the removal step it ends (as the remover's
    step table names it), then what in that step."""
    if step not in FACTS['removal_steps']:
        raise SystemExit('interruption_machine: the remover has no step named %r' % step)
    return '%s: %s' % (step, detail) if detail else step


def stage_points(appdata):
    return [
        Point(at('shared-dlls-machine', 'first value deleted'), 'registry', SHARED),
        Point(at('old-uninstallers-machine', 'an uninstaller ends the run'), 'self', armed='uninstaller'),
        Point(at('distribution-units', "the control's record"), 'self', armed=CACHE + r'\MeridelCtl.dll'),
        Point(at('components', 'row 1, the browser control'), 'self', armed=module(1)),
        Point(at('components', 'row 3, the main imager (product key)'), 'self', armed=module(3)),
        Point(at('components', 'row 7, 3D resources, older registration'), 'self', armed=module(7)),
        Point(at('components', 'row 9, JavaScript engine (both routes)'), 'self', armed=module(9)),
        Point(at('components', 'row 15, the movie imager'), 'self', armed=module(15)),
        Point(at('components', 'row 17, the automation driver'), 'self', armed=module(17)),
        Point(at('components', 'row 19, the U3D converter'), 'self', armed=module(19)),
        Point(at('components', 'row 21, the VRML 1.0 converter'), 'self', armed=module(21)),
        Point(at('documentation-folder'), 'self', armed=PF + r'\Docs\GuideViewer.dll'),
        Point(at('render-key'), 'self', armed=CF + r'\GLRenderer.dll'),
        Point(at('product-folders', 'Application Data'), 'folder', '%s\\%s\\%s' % (appdata, MAKER, FACTS['product'])),
        Point(at('product-folders', 'Common Files'), 'self', armed=CF + r'\Codecs\SceneCodec.dll'),
        Point(at('product-folders', 'program folder'), 'self', armed=PF + r'\Tools\SceneTool.dll'),
        Point(at('browser-plugins'), 'self', armed=PLUGINS + '\\' + FACTS['plugin_module']),
        Point(at('file-types', 'per-user classes'), 'registry', r'HKEY_CURRENT_USER\Software\Classes'),
        # The product key's first change is the Render tree; the second, its own deletion.
        Point(at('product-key', 'first subkey deleted'), 'registry', PRODUCT_KEY, count=2,
              extra=filler_below(PRODUCT_KEY)),
        # Timed points; scripts/interruption_sweep runs them across a whole run.
        Point('ended after 700 ms', 'after', '700'),
    ]


def sweep_points():
    return [Point('ended after %d ms' % t, 'after', str(t)) for t in range(50, 2001, 50)]


# The machine's bystanders: another vendor's product and the maker's other one,
# each kept by every run. A registry section's trace is its key, SharedDLLs'
# (a shared key) its values.
def bystander_registry():
    return [
        (r'HKEY_LOCAL_MACHINE\Software\Classes\CLSID\%s\InprocServer32' % OTHER,
         {None: r'C:\Program Files\Other Vendor\other.dll'}),
        (SHARED, {r'C:\Program Files\Other Vendor\other.dll': 1,
                  'C:\\Program Files\\Common Files\\%s\\Atlas\\atlas.dll' % MAKER: 1}),
        ('HKEY_LOCAL_MACHINE\\Software\\%s\\Atlas\\1.0' % MAKER,
         {'InstallDir': 'C:\\Program Files\\%s\\Atlas Viewer' % MAKER}),
        (r'HKEY_LOCAL_MACHINE\Software\MozillaPlugins\@othervendor.com/Atlas', {'Path': PLUGINS + r'\npatlas.dll'}),
        (UNITS + '\\%s\\Contains\\Files' % OTHER, {CACHE + r'\other.ocx': ''}),
        (UNINSTALL + r'\Atlas Viewer', {'UninstallString': 'C:\\Program Files\\%s\\Atlas Viewer\\uninst.exe' % MAKER}),
        (r'HKEY_CURRENT_USER\Software\Classes\.x3d', {None: 'OtherVendor.X3D'}),
        (r'HKEY_CURRENT_USER\Software\Classes\MIME\Database\Content Type\model/x3d+xml', {'CLSID': OTHER}),
    ]


def bystander_files(appdata):
    """(path, module): modules are copies of plain_module.dll, the rest text."""
    return [(r'C:\Program Files\Other Vendor\other.dll', True),
            ('C:\\Program Files\\Common Files\\%s\\Atlas\\atlas.dll' % MAKER, True),
            ('C:\\Program Files\\%s\\Atlas Viewer\\readme.txt' % MAKER, False),
            (PLUGINS + r'\npatlas.dll', True),
            (CACHE + r'\other.ocx', True),
            ('%s\\%s\\Atlas\\settings.ini' % (appdata, MAKER), False)]


def bystander_traces(appdata):
    traces = []
    for key, values in bystander_registry():
        traces += (['reg:%s\\\\%s=%s' % (key, name, audit.reg_data(data)) for name, data in values.items()]
                   if key == SHARED else ['reg:' + key])
    return traces + ['file:' + path for path, _ in bystander_files(appdata)]


def put(path, source=None, text=None):
    """Writes the Windows file PATH, a copy of SOURCE or holding TEXT."""
    host = host_path(path)
    os.makedirs(os.path.dirname(host), exist_ok=True)
    if source:
        shutil.copy(source, host)
    else:
        with open(host, 'w') as f:
            f.write(text)


def read(path):
    """A driver's record, None when there is none."""
    try:
        with open(path, encoding='utf-8', errors='replace') as f:
            return f.read()
    except FileNotFoundError:
        return None


def text_of(path):
    text = read(path)
    return 'no record' if text is None else text.replace('\r', '').rstrip('\n')


def count_lines(path):
    """The lines that hold anything."""
    return sum(1 for line in (read(path) or '').split('\n') if line)


def shown(count):
    return 'none' if count is None else str(count)


# What one point measured: LEFT_FIRST and LEFT_SECOND are the leftovers after
# each run (None when the audit refused), KEPT the bystanders still there;
# ENDING is how the first run ended, or for a restart what it left pending.
Result = collections.namedtuple('Result', 'label mode ending left_first left_second kept failure')


def verdict(result, total):
    """None when the point passed, otherwise why it failed."""
    if result.mode == 'restart':
        if result.failure:
            return result.failure
        if not result.left_first or result.left_second != 0 or result.kept != total or \
                result.ending == 'nothing pending':
            return '%s leftovers before the restart, %s after, %s' % (
                shown(result.left_first), shown(result.left_second), result.ending)
        return None
    if result.failure:
        return result.failure
    if result.kept != total:
        return 'bystanders lost'
    if result.left_second != 0:
        return '%s leftovers after the second run' % shown(result.left_second)
    if result.ending.startswith(('interrupted', 'ended by a fixture')):
        return None if result.left_first else 'the first run left nothing'
    if result.ending.startswith('completed'):
        return None if result.mode == 'after' else 'the point was never reached'
    return result.ending


class Machine:
    def __init__(self, tree):
        self.tree, self.bin = tree, os.path.join(tree, 'bin')
        self.remover = windows_path(os.path.join(self.bin, 'meridremover.exe'))
        self.audit_dir = os.path.join(tree, 'interruption-audit')
        self.points = self.failures = 0
        self.table = []

    def file(self, name):
        return os.path.join(self.audit_dir, name)

    def prepare(self):
        step("preparing the machine and its bystanders: another vendor's and the maker's other product")
        prepare_browsers(self.tree)
        self.appdata = win('cmd', '/c', 'echo %APPDATA%', show=False)[1].rstrip('\n').split('\n')[-1]
        for path, is_module in bystander_files(self.appdata):
            if is_module:
                put(path, os.path.join(self.bin, 'plain_module.dll'))
            else:
                put(path, text='bystander\n')
        import_reg(bystander_registry())
        with open(self.file('bystanders.txt'), 'w') as f:
            f.write(''.join(t + '\n' for t in bystander_traces(self.appdata)))
        audit.snapshot('base')

    def install(self):
        step('installing meridel-permachine.msi, then what older versions and downloads left')
        install_package(os.path.join(self.tree, 'package', 'meridel-permachine.msi'), self.file('install.log'))
        # An older version's uninstaller, Internet Explorer's download of the
        # control, and modules that no registration names in the documentation,
        # Common Files and program folders.
        put(PF + r'\uninst.exe', os.path.join(self.bin, 'interrupting_uninstaller.exe'))
        for path in (CACHE + r'\MeridelCtl.dll', PF + r'\Docs\GuideViewer.dll', CF + r'\Codecs\SceneCodec.dll',
                     PF + r'\Tools\SceneTool.dll'):
            put(path, os.path.join(self.bin, 'interrupting_module.dll'))
        put(CACHE + r'\MeridelCtl.inf', text='[Setup Hooks]\n')
        control = UNITS + '\\' + product_facts.component(FACTS, 1)['class_id']
        import_reg([(UNINSTALL + r'\Meridel VRML Client', {'UninstallString': '"%s\\uninst.exe"' % PF}),
                    (control, {'InstalledVersion': '2,1,0,0'}),
                    (control + r'\Contains\Files', {CACHE + r'\MeridelCtl.dll': '', CACHE + r'\MeridelCtl.inf': ''})])
        audit.snapshot('installed')
        traces = audit.traces('base', 'installed')
        with open(self.file('traces.txt'), 'w', encoding='utf-8') as f:
            f.write(''.join(t + '\n' for t in traces))
        self.restored = audit.restore_sections('base', 'installed')
        with open(self.file('restore.reg'), 'w', newline='') as f:
            f.write(audit.reg_file(self.restored))
        # The files as installed, parents first, to be put back before every point.
        with open(self.file('files.list'), 'w', encoding='utf-8') as f:
            f.write(''.join(t[len('file:C:\\'):].replace('\\', '/') + '\n' for t in traces if t.startswith('file:C:\\')))
        subprocess.run(['tar', '-C', DRIVE, '--no-recursion', '-cf', self.file('files.tar'), '-T',
                        self.file('files.list')], check=True)
        print('    %d traces of the product, %d bystanders' % (len(traces), count_lines(self.file('bystanders.txt'))))
        # The product's traces stand in for the two whole snapshots (same answer, faster).
        open(self.file('none.txt'), 'w').close()

    def restore(self, armed='', extra=()):
        """The installation as it was, nothing pending, and the fixture named ARMED armed."""
        subprocess.run(['tar', '-C', DRIVE, '-xf', self.file('files.tar')], check=True)
        import_reg(self.restored + [(SESSION_MANAGER, {'PendingFileRenameOperations': None}), ('-' + ARMING, {})]
                   + ([(ARMING, {'Armed': armed})] if armed else []) + list(extra))

    def drive(self, out, *mode, armed=None):
        """interruption_run.exe with MODE: its status. Every complete run
        writes its removal report into OUT."""
        env = {'MERIDEL_RUN_REPORT': windows_path(os.path.join(out, 'report.txt'))}
        if armed is not None:
            env['MERIDEL_EXPECT_ARMED'] = armed
        return win(os.path.join(self.bin, 'interruption_run.exe'), self.remover, windows_path(self.file('traces.txt')),
                   windows_path(self.file('bystanders.txt')), windows_path(out), *mode, env=env, show=False)[0]

    def keep(self, out, half, name):
        """The driver's record HALF.txt (empty when missing) kept as NAME.txt, and
        its count of leftovers and report."""
        if os.path.exists(os.path.join(out, half + '.txt')):
            shutil.copy(os.path.join(out, half + '.txt'), self.file(name + '.txt'))
        else:
            open(self.file(name + '.txt'), 'w').close()
        return audit.leftovers('none', 'traces', name)

    def stage(self, point):
        """One interruption point: the first run ended there, then a complete run."""
        n, out = self.start_point()
        armed = point.armed.rsplit('\\', 1)[-1] if point.armed else ''
        # A registry point is ended from outside on a change notification: on
        # a loaded machine the remover may have finished the whole key before
        # the end reaches it. That run shows nothing of the point, so it is
        # tried again (the table says how often).
        for tries in range(1, 4):
            status = self.first_run(n, out, point, armed)
            first, _ = self.keep(out, 'first', 'point-%d-first' % n)
            if point.mode != 'registry' or first or status:
                break
            sys.stderr.write('    point %d: the remover finished the key before it was ended, trying again\n' % n)
        # A missing record counts as an empty list; the point then fails on
        # the driver's status or its missing second.txt, with its reason.
        second, report = self.keep(out, 'second', 'point-%d-second' % n)
        failure = None
        if status or not os.path.exists(os.path.join(out, 'second.txt')) or os.path.exists(os.path.join(out, 'error.txt')):
            failure = 'interruption_run ended with status %d: %s' % (status, text_of(os.path.join(out, 'error.txt')))
        else:
            failure = self.report_problem(out, 'point-%d-first' % n, 'point-%d-second' % n,
                                          text_of(os.path.join(out, 'second-status.txt')), restart=False)
        ending = text_of(os.path.join(out, 'ending.txt'))
        kept = count_lines(os.path.join(out, 'bystanders.txt'))
        column = ending if tries == 1 else '%s (try %d)' % (ending, tries)
        self.judge(Result(point.label, point.mode, ending, first, second, kept, failure), column[:38], report)

    def first_run(self, n, out, point, armed):
        """The installation put back and the first run ended at POINT: the driver's status."""
        # A restore cut short on a loaded machine is noticed by the driver
        # (status 7) before anything runs, and done again.
        status = 7
        for attempt in range(3):
            if status != 7:
                break
            if attempt:
                sys.stderr.write('    point %d: the installation was not put back, restoring again\n' % n)
            if os.path.exists(os.path.join(out, 'error.txt')):
                os.remove(os.path.join(out, 'error.txt'))
            self.restore(armed, point.extra)
            if armed and armed != 'uninstaller':
                shutil.copy(os.path.join(self.bin, 'interrupting_module.dll'), host_path(point.armed))
            status = self.drive(out, point.mode, point.argument, str(point.count), armed=armed)
        return status

    def restart(self, label, pending, again=False, extra=()):
        """A run with a module held open, then a new Wine session (the
        restart), then the audit; AGAIN runs the remover once more first
        (wininit.ini deletes files only, so a folder that held them waits for it)."""
        n, out = self.start_point()
        self.restore(extra=extra)
        self.drive(out, 'hold', module(2))  # judged below
        first, _ = self.keep(out, 'first', 'point-%d-first' % n)
        # The held module waits for the restart, and the report says so.
        held_status = text_of(os.path.join(out, 'ending.txt')).split(' after ')[0].replace('completed with status ', '')
        failure = self.report_problem(out, 'traces', 'point-%d-first' % n, held_status, restart=True)
        left = pending()
        prefix_lib('restart_session')
        restarted = ''
        if again:
            self.drive(out, 'probe', '')  # judged below
            restarted = '; %s left, then a run' % shown(self.keep(out, 'second', 'point-%d-restarted' % n)[0])
        # With AGAIN the driver runs the remover to its end first, waiting on
        # the process itself, then probes.
        self.drive(out, 'run' if again else 'probe', '')  # judged below
        second, report = self.keep(out, 'second', 'point-%d-second' % n)
        kept = count_lines(os.path.join(out, 'bystanders.txt'))
        self.judge(Result(label, 'restart', left, first, second, kept, failure), left + restarted, report)

    @staticmethod
    def report_problem(out, before, after, status, restart):
        """What is wrong with the report a complete run left in OUT, held
        against the snapshots BEFORE and AFTER it, and with its exit STATUS
        (3010 when RESTART is needed, else 0); None when nothing is."""
        want = '3010' if restart else '0'
        if status != want:
            return 'the run with a report ended with status %s, not %s' % (status, want)
        path = os.path.join(out, 'report.txt')
        try:
            _, wrong = audit.report_differences(before, after, path)
            with open(path, encoding='utf-8-sig', newline='') as f:
                summary = f.read().rstrip('\r\n').rsplit('\r\n', 1)[-1]
        except OSError as e:
            return 'no report: %s' % e.strerror
        if summary.endswith('\tno restart needed') == restart:
            return "the report's summary says %r" % summary.rsplit('\t', 1)[-1]
        return 'report: %s' % wrong[0].strip() if wrong else None

    def start_point(self):
        self.points += 1
        out = self.file('point-%d' % self.points)
        os.makedirs(out, exist_ok=True)
        return self.points, out

    def judge(self, result, column, report):
        total = count_lines(self.file('bystanders.txt'))
        intact = 'yes' if result.kept == total else 'no (%d/%d)' % (result.kept, total)
        self.table.append(ROW % (result.label, column, shown(result.left_first), shown(result.left_second), intact))
        why = verdict(result, total)
        if why is not None:
            sys.stderr.write('    FAILED: %s: %s\n' % (result.label, why))
            sys.stderr.write(''.join([line + '\n' for line in report if 'LEFTOVER' in line][:5]))
            self.failures += 1


ROW = '| %-56s | %-38s | %12s | %10s | %10s |'
HEADER = [ROW % ('interruption point', 'how the first run ended', 'left after 1', 'left after 2', 'bystanders'),
          '|%s|%s|%s|%s|%s|' % ('-' * 58, '-' * 40, '-' * 14, '-' * 12, '-' * 12)]


def nt_pending():
    listed = win('reg', 'query', SESSION_MANAGER.replace('HKEY_LOCAL_MACHINE', 'HKLM'), '/v',
                 'PendingFileRenameOperations', show=False)[1]
    return 'held file in the NT list' if product_facts.component(FACTS, 2)['module'].lower() in listed.lower() else 'nothing pending'


def wininit_pending():
    try:
        with open(os.path.join(DRIVE, 'windows', 'wininit.ini'), encoding='latin-1') as f:
            held = any(line.lower().startswith('nul=') for line in f)
    except FileNotFoundError:
        held = False
    return 'held file in wininit.ini' if held else 'nothing pending'


def main(tree, what='points'):
    tree = os.path.abspath(tree)
    os.chdir(tree)
    machine = Machine(tree)
    open_audit(machine.audit_dir)
    machine.prepare()
    machine.install()
    points = []
    if what == 'sweep':
        step('timed points across a whole run')
        points = sweep_points()
    elif what != 'restarts':
        step('interruption points, stage by stage')
        points = stage_points(machine.appdata)
    for point in points:
        machine.stage(point)
    if what != 'sweep':
        step('restarts: a module held open during the run goes at the next start')
        machine.restart('restart after a held module (NT list)', nt_pending)
        for name in ('wininit.ini', 'wininit.bak'):
            if os.path.exists(os.path.join(DRIVE, 'windows', name)):
                os.remove(os.path.join(DRIVE, 'windows', name))
        machine.restart('restart after a held module (wininit.ini)', wininit_pending, again=True,
                        extra=[(r'HKEY_CURRENT_USER\Software\Wine\AppDefaults\meridremover.exe', {'Version': 'win98'})])
    step('results')
    table = HEADER + machine.table
    with open(machine.file('table.txt'), 'w') as f:
        f.write(''.join(line + '\n' for line in table))
    print('\n'.join(table))
    print('    %d points, %d failed (details per point in %s)' % (machine.points, machine.failures, machine.audit_dir))
    return 1 if machine.failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:3]))
