#!/usr/bin/env python3
"""The source tree's floors hold: no include loop between the product's files
(a header and its .cpp are one file here), no floor includes one above it, the
path room never reaches the guard, and the Windows-free cores reach no Windows
header through anything they include.   usage: include_layers_test.py SOURCE_ROOT
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)
WINDOWS_HEADER = re.compile(r'^(windows|win|sh|ole|objbase|msi|commctrl|tlhelp|psapi)', re.I)
# A folder may include itself and the folders listed for it.
FLOORS = {
    'remover/front': {'remover/engine', 'remover/core', 'platform', 'custom_actions/core'},
    'remover/engine': {'remover/core', 'platform', 'custom_actions/core'},
    'remover/core': {'platform', 'custom_actions/core'},
    'custom_actions': {'custom_actions/core', 'platform'},
    'custom_actions/core': {'platform'},
    'platform': {'remover/core', 'custom_actions/core'},
}
ENGINE = 'remover/engine/'
PATH_ROOM = {ENGINE + n for n in ('path_spelling', 'canonical_path', 'file_link')}
GUARD = {ENGINE + n for n in ('deletion_guard', 'user_links', 'user_places', 'machine_places', 'folder_guard',
                              'product_places')}
WINDOWS_FREE = ('remover/core/', 'custom_actions/core/')


def floor(node):
    return max((f for f in FLOORS if node.startswith(f + '/')), key=len, default=None)


def main(root):
    graph, bound = {}, set()
    for path in root.glob('**/*.[ch]*'):
        node = path.relative_to(root).with_suffix('').as_posix()
        if path.suffix not in ('.h', '.cpp') or floor(node) is None:
            continue
        edges = graph.setdefault(node, set())
        for name in INCLUDE.findall(path.read_text(encoding='utf-8', errors='replace')):
            if (root / name).is_file():
                edges.add(name.rsplit('.', 1)[0])
            elif WINDOWS_HEADER.match(name):
                bound.add(node)
        edges.discard(node)
    problems = []
    while True:  # a file that includes one bound to Windows is bound too
        more = {n for n, edges in graph.items() if n not in bound and edges & bound}
        if not more:
            break
        bound |= more
    problems += ['%s is Windows-free but reaches a Windows header' % n for n in sorted(bound) if
                 n.startswith(WINDOWS_FREE)]
    for node, edges in sorted(graph.items()):
        for target in sorted(edges):
            if floor(target) not in (floor(node), None) and floor(target) not in FLOORS[floor(node)]:
                problems.append('%s includes %s, a floor above or beside it' % (node, target))
            if node in PATH_ROOM and target in GUARD:
                problems.append('%s (path room) includes the guard\'s %s' % (node, target))
    state = {}

    def loop_from(node, stack):
        state[node] = 'open'
        for target in sorted(graph.get(node, ())):
            if state.get(target) == 'open':
                return stack[stack.index(target):] + [node, target]
            if target not in state and (found := loop_from(target, stack + [node])):
                return found
        state[node] = 'done'
        return None

    for node in sorted(graph):  # the first loop found is enough to fail
        if node not in state and (loop := loop_from(node, [])):
            problems.append('include loop: ' + ' -> '.join(loop))
            break
    print('\n'.join(problems + ['include layers: %d files, %d edges, %d problems' % (
        len(graph), sum(map(len, graph.values())), len(problems))]))
    return 1 if problems or len(graph) < 50 else 0


if __name__ == '__main__':
    sys.exit(main(pathlib.Path(sys.argv[1])))
