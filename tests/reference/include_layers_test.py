#!/usr/bin/env python3
"""The source tree's floors hold: no include loop between the product's files
(a header and its .cpp are one file here), no floor includes one above it,
and the Windows-free core includes no Windows header.

usage: include_layers_test.py SOURCE_ROOT
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)

# A folder may include only itself and the folders listed after it.
FLOORS = {
    "remover/front": ["remover/engine", "remover/core", "platform", "custom_actions/core"],
    "remover/engine": ["remover/core", "platform", "custom_actions/core"],
    "remover/core": ["custom_actions/core", "platform"],
    "custom_actions": ["custom_actions/core", "platform"],
    "custom_actions/core": ["platform"],
    "platform": ["custom_actions/core", "remover/core"],
}
# The path room spells paths and judges nothing: it never reaches the guard.
PATH_ROOM = {"remover/engine/path_spelling", "remover/engine/canonical_path",
             "remover/engine/file_link"}
GUARD = {"remover/engine/deletion_guard", "remover/engine/user_links",
         "remover/engine/user_places", "remover/engine/machine_places",
         "remover/engine/folder_guard", "remover/engine/product_places"}
WINDOWS_FREE = ("remover/core", "custom_actions/core")
WINDOWS_HEADERS = re.compile(r"^(windows|win|sh|ole|objbase|msi|commctrl|tlhelp|psapi)", re.I)


def windows_bound(graph, system):
    """The files that include a Windows header, themselves or through another."""
    bound = {n for n, names in system.items() if any(WINDOWS_HEADERS.match(x) for x in names)}
    grew = True
    while grew:
        more = {n for n, targets in graph.items() if n not in bound and targets & bound}
        bound |= more
        grew = bool(more)
    return bound


def folder_of(node):
    return max((f for f in FLOORS if node.startswith(f + "/")), key=len, default=None)


def read_graph(root):
    graph, system = {}, {}
    for path in root.glob("**/*"):
        rel = path.relative_to(root).as_posix()
        if path.suffix not in (".h", ".cpp") or folder_of(rel) is None:
            continue
        node = rel.rsplit(".", 1)[0]
        text = path.read_text(encoding="utf-8", errors="replace")
        for name in INCLUDE.findall(text):
            target = name.rsplit(".", 1)[0]
            if (root / name).is_file():
                if target != node:
                    graph.setdefault(node, set()).add(target)
            else:
                system.setdefault(node, set()).add(name)
        graph.setdefault(node, set())
    return graph, system


def find_loop(graph):
    state, stack = {}, []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                loop = visit(nxt)
                if loop:
                    return loop
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            loop = visit(node)
            if loop:
                return loop
    return None


def problems(graph, system):
    found = []
    loop = find_loop(graph)
    if loop:
        found.append("include loop: " + " -> ".join(loop))
    for node, targets in sorted(graph.items()):
        own = folder_of(node)
        for target in sorted(targets):
            there = folder_of(target)
            if there is not None and there != own and there not in FLOORS[own]:
                found.append(f"{node} includes {target}, a floor above or beside it")
            if node in PATH_ROOM and target in GUARD:
                found.append(f"{node} (path room) includes the guard's {target}")
    bound = windows_bound(graph, system)
    for node in sorted(bound):
        if node.startswith(WINDOWS_FREE):
            found.append(f"{node} is Windows-free but reaches a Windows header")
    return found


def main():
    root = pathlib.Path(sys.argv[1])
    graph, system = read_graph(root)
    if len(graph) < 50:
        print(f"include layers: only {len(graph)} files found below {root}")
        return 1
    found = problems(graph, system)
    for line in found:
        print(line)
    print(f"include layers: {len(graph)} files, {sum(map(len, graph.values()))} edges, "
          f"{len(found)} problems")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
