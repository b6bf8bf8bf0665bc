"""Reads two DXF files with ezdxf and prints every difference in what a drawing holds: header
variables, table entries, blocks, the entities of model space, of each layout and of each
block (type, handle, layer, attributes, vertices, attributes of inserts, extended data), and
the objects. The second file may add attributes the first left at their defaults. Exit status
1 when anything differs or a file does not load."""
import math
import sys

import ezdxf

WRITERS_OWN = {"$ACADVER", "$DWGCODEPAGE", "$HANDSEED"}


def same(a, b):
    if isinstance(a, float) or isinstance(b, float):
        try:
            return math.isclose(float(a), float(b), rel_tol=1e-9, abs_tol=1e-9)
        except (TypeError, ValueError):
            return False
    if isinstance(a, (tuple, list)) or hasattr(a, "__iter__") and not isinstance(a, str):
        a, b = list(a), list(b)
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    return a == b


def entity_text(e):
    """What must survive of an entity, as comparable pieces."""
    pieces = {"type": e.dxftype(), "layer": e.dxf.get("layer")}
    attribs = e.dxfattribs()
    attribs.pop("owner", None)
    attribs.pop("handle", None)
    pieces["attribs"] = attribs
    if e.dxftype() == "LWPOLYLINE":
        pieces["points"] = [tuple(p) for p in e.get_points()]
    if e.dxftype() == "POLYLINE":
        pieces["vertices"] = [tuple(v.dxf.location) for v in e.vertices]
    if e.dxftype() == "INSERT":
        pieces["attribs_of_insert"] = [(a.dxf.tag, a.dxf.text) for a in e.attribs]
    if e.dxftype() == "SPLINE":
        pieces["control"] = [tuple(p) for p in e.control_points]
    if e.dxftype() == "HATCH":
        pieces["paths"] = len(e.paths)
    if e.dxftype() == "MTEXT":
        pieces["text"] = e.text
    pieces["xdata"] = [(app, [tuple(t) for t in e.xdata.get(app)]) for app in
                       sorted(e.xdata.data)] if e.xdata else []
    pieces["xdict"] = e.has_extension_dict
    return pieces


def compare_entities(where, first, second, out):
    a = {e.dxf.handle: e for e in first}
    b = {e.dxf.handle: e for e in second}
    for handle in a.keys() - b.keys():
        out.append(f"{where}: {a[handle].dxftype()} #{handle} lost")
    for handle in b.keys() - a.keys():
        out.append(f"{where}: {b[handle].dxftype()} #{handle} added")
    for handle in a.keys() & b.keys():
        x, y = entity_text(a[handle]), entity_text(b[handle])
        for key in x:
            if key == "attribs":
                for name, value in x["attribs"].items():
                    if name not in y["attribs"] or not same(value, y["attribs"][name]):
                        out.append(f"{where}: #{handle} {name}: {value!r} -> "
                                   f"{y['attribs'].get(name)!r}")
            elif not same(x[key], y[key]):
                out.append(f"{where}: #{handle} {key}: {x[key]!r} -> {y[key]!r}")


def main():
    docs = []
    for path in sys.argv[1:3]:
        try:
            docs.append(ezdxf.readfile(path))
        except Exception as error:  # noqa: BLE001 - any failure to load is the finding
            print(f"LOAD FAILED {path}: {type(error).__name__}: {error}")
            return 1
    first, second = docs
    out = []
    for name in first.header.varnames():
        if name in WRITERS_OWN:
            continue
        if name not in second.header:
            out.append(f"header {name} lost")
        elif not same(first.header[name], second.header[name]):
            out.append(f"header {name}: {first.header[name]!r} -> {second.header[name]!r}")
    for table in ("layers", "linetypes", "styles", "dimstyles", "appids", "block_records"):
        names = lambda doc: {e.dxf.name for e in getattr(doc, table)}  # noqa: E731
        # The host may add what an entity names and the table lacked (a layer); it loses none.
        if names(first) - names(second):
            out.append(f"table {table} lost: {sorted(names(first) - names(second))}")
    compare_entities("model space", first.modelspace(), second.modelspace(), out)
    for layout in first.layouts:
        if layout.name == "Model":
            continue
        if layout.name not in second.layouts:
            out.append(f"layout {layout.name} lost")
            continue
        compare_entities(f"layout {layout.name}", layout, second.layouts.get(layout.name), out)
    for block in first.blocks:
        if block.name not in second.blocks:
            out.append(f"block {block.name} lost")
            continue
        compare_entities(f"block {block.name}", block, second.blocks.get(block.name), out)
    objects = lambda doc: {(o.dxf.handle, o.dxftype()) for o in doc.objects}  # noqa: E731
    for handle, kind in sorted(objects(first) - objects(second)):
        out.append(f"object {kind} #{handle} lost")
    for line in out:
        print(line)
    print(f"{'DIFFERENT' if out else 'SAME'}")
    return 1 if out else 0


sys.exit(main())
