"""Includes run one way. Between the folders of src/, from higher to lower: the host's records, the
module's identity, the object's state, the handlers, and the catalogue that names them all.
Between the folders of the headless host beside it (qtxhost/): the Windows it plays, its side of
the module's interface, then its script language and its tools, then its main. And between rooms,
in both: a room is a header with its source of the same name, and no room reaches itself through
includes, however long the way.

Usage: include_layers.py SRC_FOLDER
Lists every include that crosses folders of src/ or of qtxhost/, fails on one that climbs, and
fails on every room of src/ or qtxhost/ that lies on an include cycle, naming the cycle.
"""
import collections
import pathlib
import re
import sys

from check_report import check, report

# Lowest first; folders on one rank do not include each other.
LAYERS = ["resources", "host", "module", "state", "fileops launcher selector info", "catalogue"]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders.split()}
HOST_LAYERS = ["system", "runtime", "script tools", "main.cpp"]
HOST_RANK = {folder: rank for rank, folders in enumerate(HOST_LAYERS) for folder in folders.split()}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".h", ".cpp", ".rc")
HOST_FOLDER = "qtxhost"


def includes(path, bases):
    """The files of the trees that path includes: beside it first, then from each base, as the compiler looks."""
    for name in INCLUDE.findall(path.read_text(errors="replace")):
        for base in (path.parent, *bases):
            if (base / name).is_file():
                yield (base / name).resolve()
                break


def room(path, top):
    return path.relative_to(top).with_suffix("").as_posix()


def cycle_through(start, graph):
    """The shortest way of includes from a room back to itself, or None."""
    ways = {start: [start]}
    waiting = collections.deque([start])
    while waiting:
        at = waiting.popleft()
        for following in sorted(graph[at]):
            if following == start:
                return ways[at] + [start]
            if following not in ways:
                ways[following] = ways[at] + [following]
                waiting.append(following)
    return None


def check_ranks(path, target, tree, ranks, layer_count):
    """An include between two folders of one tree must go down: fails on one that climbs."""
    if tree not in target.parents:
        return
    folder, upon = path.relative_to(tree).parts[0], target.relative_to(tree).parts[0]
    if folder == upon:
        return
    print(f"{tree.name}/{path.relative_to(tree)} -> {upon}")
    check(f"{tree.name}/{path.relative_to(tree)} includes {upon}: a folder of a lower rank",
          True, ranks.get(upon, layer_count) < ranks.get(folder, -1))


def main(source):
    source = pathlib.Path(source).resolve()
    top = source.parent
    host = top / HOST_FOLDER
    graph = collections.defaultdict(set)
    for tree, ranks, layer_count in ((source, RANK, len(LAYERS)), (host, HOST_RANK, len(HOST_LAYERS))):
        for path in sorted(p for p in tree.rglob("*") if p.suffix in SOURCES):
            for target in includes(path, (source, host)):
                if room(target, top) != room(path, top):
                    graph[room(path, top)].add(room(target, top))
                check_ranks(path, target, tree, ranks, layer_count)
    for name in sorted(graph):
        cycle = cycle_through(name, graph)
        check(f"{name} on no include cycle", None, cycle and " -> ".join(cycle))
    return report("include_layers")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
