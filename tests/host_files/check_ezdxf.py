"""Reads a DXF file with ezdxf in strict mode, audits it, and prints what the tests compare:
the bar records (XRECORD "ORV_ARMAVO" in each polyline's extension dictionary) and the groups.
Exit status 1 when the file does not load or the audit finds errors or fixes."""
import sys

import ezdxf

path = sys.argv[1]
try:
    doc = ezdxf.readfile(path)
except Exception as error:  # noqa: BLE001 - any failure to load is the finding
    print(f"LOAD FAILED {type(error).__name__}: {error}")
    sys.exit(1)
auditor = doc.audit()
for entry in auditor.errors:
    print(f"AUDIT ERROR {entry.message}")
for entry in auditor.fixes:
    print(f"AUDIT FIX {entry.message}")
for entity in doc.modelspace():
    if entity.dxftype() != "LWPOLYLINE" or not entity.has_extension_dict:
        continue
    xdict = entity.get_extension_dict()
    if "ORV_ARMAVO" not in xdict:
        continue
    record = xdict["ORV_ARMAVO"]
    values = " ".join(f"{code}={value}" for code, value in record.tags)
    print(f"BAR {entity.dxf.handle} {values}")
def fmt(value):
    return f"{value:g}"
for entity in doc.modelspace():
    # The discs of cross-sections: a solid hatch with its boundary path, and a circle.
    kind = entity.dxftype()
    if kind not in ("HATCH", "CIRCLE") or not entity.has_extension_dict:
        continue
    xdict = entity.get_extension_dict()
    if "ORV_ARMAVO" not in xdict:
        continue
    values = " ".join(f"{code}={fmt(value) if isinstance(value, float) else value}"
                      for code, value in xdict["ORV_ARMAVO"].tags)
    if kind == "CIRCLE":
        print(f"CIRCLE {fmt(entity.dxf.radius)} {values}")
        continue
    for path in entity.paths:
        vertices = " ".join(f"({fmt(x)}, {fmt(y)}, {fmt(b)})" for x, y, b in path.vertices)
        closed = "closed" if getattr(path, "is_closed", False) else "open"
        print(f"HATCH {entity.dxf.pattern_name} {closed} {vertices} {values}")
for name, group in doc.groups:
    members = " ".join(e.dxf.handle for e in group)
    print(f"GROUP {name} {group.dxf.description} {members}")
sys.exit(1 if auditor.errors or auditor.fixes else 0)
