#!/usr/bin/env python3
"""Checks that the library's includes point down its building order.

The folders of qx/ are layers. A file may include headers of its own layer and
of the layers below it (of some of them only, for the layers in ONLY_FROM),
never of one above; and no chain of includes may lead back to the file it
starts from. System interfaces stay in the platform layer:
POSIX headers only in its *_posix.cpp files, the headers of the libraries it
wraps (Cairo, Pango, ICU, minizip, ...) only in its files and never in a
public header. This reads the include lines of every source and header under
qx/ and fails (exit 1) on each include that breaks one of these rules.

All headers share one include root (paths start at "qx/", as installed), so the
compiler cannot tell an upward include from a downward one; this check can.

    check-layers.py [SOURCE_DIR]
"""
import os
import re
import sys

# The building order, lowest first. A folder not listed here is an error, so a
# new subsystem has to be given its place.
LAYERS = [
    "platform/base",
    "platform/os",
    "platform/gfx",
    "platform/wnd",
    "platform/sheet",
    "message",
    "text",
    "tree",
    "locale",
    "install",
    "log",
    "archive",
    "print",
    "trace",
    "ui",
    "image",
    "export",
]

# Layers that may use only some of the layers below them: the spreadsheet
# engine stands on the base and os layers alone, so that it can be used
# (and tested) without drawing or windows.
ONLY_FROM = {
    "platform/sheet": {"platform/base", "platform/os"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"(qx/[^"]+)"', re.MULTILINE)
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.MULTILINE)

# Headers of the operating system: only in the platform layer's *_posix.cpp.
POSIX_HEADERS = re.compile(r"^(unistd|fcntl|dirent|dlfcn|link|pwd|iconv|time|stdio|signal|poll|termios)\.h$|^sys/")
# Headers of the libraries the platform layer wraps: only under qx/platform,
# never in a public (installed) header.
LIBRARY_HEADERS = re.compile(r"^(cairo|pango/|hb[.-]|harfbuzz/|glib|gdk-pixbuf/|fontconfig/|minizip/|mspack\.h|"
                             r"unicode/|zlib\.h|gtk/|gdk/|X11/|jpeglib\.h|jerror\.h|pugixml\.hpp|cups/)")


def layer_of(path):
    """The layer of a path below qx/ (its internal/ folders belong to it)."""
    folder = os.path.dirname(path)
    parts = [p for p in folder.split("/") if p != "internal"]
    folder = "/".join(parts)
    best = None
    for name in LAYERS:
        if folder == name or folder.startswith(name + "/"):
            if best is None or len(name) > len(best):
                best = name
    return best


def read_includes(root):
    graph, system = {}, {}
    for folder, _, files in os.walk(os.path.join(root, "qx")):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(folder, name)
            rel = os.path.relpath(full, root)
            with open(full, encoding="utf-8", errors="replace") as f:
                text = f.read()
            graph[rel] = INCLUDE.findall(text)
            system[rel] = SYSTEM_INCLUDE.findall(text)
    return graph, system


def system_includes(system):
    problems = []
    for path, includes in sorted(system.items()):
        platform = path.startswith("qx/platform/")
        public = path.endswith(".h") and "/internal/" not in path
        for inc in includes:
            if POSIX_HEADERS.search(inc) and not path.endswith("_posix.cpp"):
                problems.append(f"{path}: includes <{inc}>, a system header (only *_posix.cpp files may)")
            elif LIBRARY_HEADERS.search(inc) and (not platform or public):
                problems.append(f"{path}: includes <{inc}> (only the platform layer's sources and internal "
                                "headers may)")
    return problems


def upward_includes(graph):
    problems = []
    for path, includes in sorted(graph.items()):
        own = layer_of(path[len("qx/"):])
        if own is None:
            if path != "qx/qxbase.h":
                problems.append(f"{path}: its folder has no place in the building order")
            continue
        for inc in includes:
            target = layer_of(inc[len("qx/"):])
            if target is None:
                problems.append(f"{path}: includes {inc}, which has no place in the building order")
            elif LAYERS.index(target) > LAYERS.index(own):
                problems.append(f"{path}: includes {inc} ({target} is above {own})")
            elif own in ONLY_FROM and target != own and target not in ONLY_FROM[own]:
                problems.append(f"{path}: includes {inc} ({own} builds on {', '.join(sorted(ONLY_FROM[own]))} only)")
    return problems


def include_cycles(graph):
    """Each strongly connected group of files that include each other."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []
    counter = [0]

    def visit(start):
        # Tarjan's algorithm with an explicit stack of (node, next edge).
        work = [(start, 0)]
        index[start] = low[start] = counter[0]
        counter[0] += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, edge = work[-1]
            edges = [e for e in graph.get(node, []) if e in graph]
            if edge < len(edges):
                work[-1] = (node, edge + 1)
                nxt = edges[edge]
                if nxt not in index:
                    index[nxt] = low[nxt] = counter[0]
                    counter[0] += 1
                    stack.append(nxt)
                    on_stack.add(nxt)
                    work.append((nxt, 0))
                elif nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                group = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    group.append(member)
                    if member == node:
                        break
                if len(group) > 1 or node in graph.get(node, []):
                    groups.append(sorted(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return groups


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    graph, system = read_includes(root)
    problems = upward_includes(graph) + system_includes(system)
    problems += ["include cycle: " + " -> ".join(g) for g in include_cycles(graph)]
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check-layers: {len(problems)} problem(s); the order is in scripts/check-layers.py",
              file=sys.stderr)
        return 1
    print(f"check-layers: {len(graph)} files, includes follow the building order")
    return 0


if __name__ == "__main__":
    sys.exit(main())
