#!/usr/bin/env python3
"""The rules of dependency between the folders, checked on every #include "..." of the tree:
the module reaches the host only through host/sds.h; the window framework knows nothing of the
host or the module; inside the host the drawing core uses none of the other parts, the C
interface none but the core, and no part of the host knows the module or the program.
Prints each include that breaks a rule and exits 1 when there is one."""
import pathlib
import re
import sys

# (folder, what its files may not include, unless the include is listed as allowed)
RULES = [
    ("module/", ("host/", "app/"), ("host/sds.h",)),
    ("platform/", ("host/", "module/", "app/"), ()),
    ("host/drawing/", ("host/sds/", "host/console/", "host/files/", "host/host.h", "module/",
                       "app/", "platform/"), ()),
    ("host/sds/", ("host/console/", "host/files/", "host/host.h", "module/", "app/"), ()),
    ("host/", ("module/", "app/"), ()),
]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def broken(root):
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        name = path.relative_to(root).as_posix()
        rule = next((r for r in RULES if name.startswith(r[0])), None)
        if rule is None:
            continue
        folder, forbidden, allowed = rule
        for included in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            if included.startswith(forbidden) and included not in allowed:
                yield f"{name}: includes {included} ({folder} may not)"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = list(broken(root))
    for line in found:
        print(line)
    print(f"{len(found)} includes break the rules of dependency" if found
          else "The rules of dependency hold.")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
