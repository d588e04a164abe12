"""What the demo's machine and the interrupted removals' machine share. They run
inside one Wine session (scripts/lib/wine_session.sh: WINEPREFIX, WINEARCH and
the session's loader WINE set).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import trace_audit

LIB = os.path.dirname(os.path.abspath(__file__))
DRIVE = os.path.join(os.environ['WINEPREFIX'], 'drive_c')
# Lines of ours and of the programs started, in the order they happen.
sys.stdout.reconfigure(line_buffering=True)
_started = time.time()


def open_audit(folder):
    """Snapshots and reports from here on go to FOLDER, emptied first."""
    global _started
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    os.environ['AUDIT_DIR'] = trace_audit.AUDIT_DIR = folder
    _started = time.time()


def step(text):
    print('==> [%ds] %s' % (int(time.time()) - int(_started), text))


def fail(text):
    sys.stderr.write('%s: %s\n' % (os.path.basename(sys.argv[0]), text))
    sys.exit(1)


def win(*args, env=None, loader=None, show=True):
    """A Windows program or Wine builtin through the session's loader: its
    status, and its output without carriage returns (printed unless SHOW is false)."""
    done = subprocess.run([loader or os.environ['WINE'], *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          env=dict(os.environ, WINEDEBUG='-all', **(env or {})))
    out = done.stdout.replace(b'\r', b'')
    if show:
        sys.stdout.flush()
        sys.stdout.buffer.write(out)
        sys.stdout.buffer.flush()
    return done.returncode, out.decode('latin-1')


def windows_path(path):
    return subprocess.run(['winepath', '-w', path], capture_output=True, text=True).stdout.rstrip('\n')


def host_path(path):
    return subprocess.run(['winepath', '-u', path], capture_output=True, text=True).stdout.rstrip('\n')


def prefix_lib(function, *args):
    """Runs one function of wine_prefix.sh (the loaders and the session are named there alone)."""
    return subprocess.run(['bash', '-c', '. "$0" && "$@"', os.path.join(LIB, 'wine_prefix.sh'), function, *args],
                          check=True, stdout=subprocess.PIPE, text=True).stdout.rstrip('\n')


def import_reg(sections, loader=None):
    """Imports reg_file(SECTIONS) into the machine's registry."""
    handle, path = tempfile.mkstemp(prefix='import-', suffix='.reg', dir=DRIVE)
    with os.fdopen(handle, 'w', newline='') as f:
        f.write(trace_audit.reg_file(sections))
    win('regedit', '/s', windows_path(path), loader=loader)
    os.remove(path)


def prepare_browsers(tree):
    """Wine's Internet Explorer is there already; a stand-in Firefox 3.6 is added.
    On 64-bit Windows the 32-bit package looks for 32-bit browsers, which live
    in Program Files (x86) and register in the 32-bit registry view: the 32-bit
    loader's regedit writes there, as a 32-bit Firefox setup would."""
    program_files, loader = 'Program Files', None
    with open(os.path.join(tree, 'CMakeCache.txt'), encoding='utf-8', errors='replace') as f:
        if os.environ['WINEARCH'] == 'win64' and 'toolchain-i686-' in f.read():
            program_files, loader = 'Program Files (x86)', prefix_lib('wine_loader_for', 'win32')
    firefox = os.path.join(DRIVE, program_files, 'Mozilla Firefox')
    for folder in ('Plugins', 'Components'):
        os.makedirs(os.path.join(firefox, folder), exist_ok=True)
    shutil.copy(os.path.join(tree, 'demo', 'firefox.exe'), os.path.join(firefox, 'firefox.exe'))
    folder = 'C:\\%s\\Mozilla Firefox' % program_files
    mozilla, clients = r'HKEY_LOCAL_MACHINE\SOFTWARE\Mozilla\Mozilla Firefox', r'HKEY_LOCAL_MACHINE\Software\Clients'
    import_reg([(mozilla, {'CurrentVersion': '3.6 (en-US)'}),
                (mozilla + r'\3.6 (en-US)\Main', {'Install Directory': folder}),
                (clients + r'\StartMenuInternet', {None: 'FIREFOX.EXE'}),
                (clients + r'\StartMenuInternet\FIREFOX.EXE', {None: 'Mozilla Firefox'}),
                (clients + r'\StartMenuInternet\FIREFOX.EXE\shell\open\command', {None: '"%s\\firefox.exe"' % folder})],
               loader=loader)


def install_package(msi, log):
    """msiexec /qn; stops the machine when it fails."""
    if win('msiexec', '/i', windows_path(msi), '/qn', '/l*v', windows_path(log))[0] != 0:
        fail('msiexec could not install %s (see %s)' % (os.path.basename(msi), log))
