#!/usr/bin/env python3
"""Checks that the code keeps the shape docs/architecture.md draws.

1. The library graph in the document's ```libraries block is exactly the one
   the CMake files declare with gf_library (DEPS and PRIVATE_DEPS, our own
   gf_* libraries only).
2. Every #include of a project header in a library's sources names a header
   of that library or of one it depends on, directly or not: no folder reaches
   up into a layer above it.
3. The portable core's sources name no system's types or mechanics (SDL, Qt,
   Win32 handles and structures, a surface's lock and raw pixel words): those
   stay behind the contract, in the backends.

Usage: tools/check_architecture.py [SOURCE_DIR]. Prints what differs and exits
1, or prints a one-line summary and exits 0.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
problems = []

# --- The graph the CMake files declare ---------------------------------------
declared = {}  # library -> set of gf_* dependencies
folders = {}  # source folder (relative) -> library
call = re.compile(r"gf_library\(\s*(\w+)(.*?)\)", re.S)
for cmake in sorted(root.glob("**/CMakeLists.txt")):
    rel = cmake.parent.relative_to(root)
    if rel.parts and rel.parts[0] in ("tests", "bench", "build") or str(rel).startswith("build"):
        continue
    text = re.sub(r"#[^\n]*", "", cmake.read_text())
    for match in call.finditer(text):
        name, rest = match.group(1), match.group(2)
        deps = set(re.findall(r"\bgf_\w+", rest))
        declared[name] = deps
        dirs = re.search(r"\bDIRS\s+(\S+)", rest)
        folder = rel
        if dirs:
            folder = pathlib.Path(dirs.group(1).replace("${CMAKE_CURRENT_SOURCE_DIR}", str(rel)))
        folders[str(folder)] = name

# --- The graph the document draws --------------------------------------------
doc = (root / "docs" / "architecture.md").read_text()
block = re.search(r"```libraries\n(.*?)```", doc, re.S)
documented = {}
if not block:
    problems.append("docs/architecture.md: no ```libraries block")
else:
    for line in block.group(1).splitlines():
        if not line.strip():
            continue
        name, _, deps = line.partition(":")
        documented[name.strip()] = set(deps.split())

for name in sorted(set(declared) | set(documented)):
    if name not in documented:
        problems.append(f"{name}: built by CMake but missing from docs/architecture.md")
    elif name not in declared:
        problems.append(f"{name}: in docs/architecture.md but no CMake file builds it")
    elif declared[name] != documented[name]:
        problems.append(
            f"{name}: CMake says {' '.join(sorted(declared[name])) or '(nothing)'}, "
            f"the document says {' '.join(sorted(documented[name])) or '(nothing)'}")


# --- Includes against the graph ----------------------------------------------
def reachable(name, seen=None):
    seen = set() if seen is None else seen
    for dep in declared.get(name, ()):
        if dep not in seen:
            seen.add(dep)
            reachable(dep, seen)
    return seen


def owner(header):
    folder = str(pathlib.PurePosixPath(header).parent)
    return folders.get(folder)


include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
checked = 0
for folder, name in sorted(folders.items()):
    allowed = reachable(name) | {name}
    for source in sorted((root / folder).glob("*")):
        if source.suffix not in (".cpp", ".h"):
            continue
        for header in include.findall(source.read_text()):
            target = owner(header)
            checked += 1
            if target is None or target in allowed:
                continue
            problems.append(f"{source.relative_to(root)}: includes {header} of {target}, "
                            f"which {name} does not depend on")


# --- System mechanics kept out of the core -----------------------------------
CORE = {"gf_options", "gf_conversation", "gf_runtime", "gf_sprites", "gf_scene", "gf_saver",
        "gf_sheet", "gf_host"}
mechanics = re.compile(r"\b(SDL_\w+|Q[A-Z][a-z]\w*|HWND|HDC|HRESULT|RGNDATA|DDSURFACEDESC|"
                       r"GetPixel|SetPixel|readFirstPixelWord|lpSurface)\b")
for folder, name in sorted(folders.items()):
    if name not in CORE:
        continue
    for source in sorted((root / folder).glob("*")):
        if source.suffix not in (".cpp", ".h"):
            continue
        for number, line in enumerate(source.read_text().splitlines(), 1):
            found = mechanics.search(line)
            if found:
                problems.append(f"{source.relative_to(root)}:{number}: names {found.group(1)}, "
                                f"which belongs behind the platform contract")

if problems:
    print("\n".join(problems))
    sys.exit(1)
print(f"architecture: {len(declared)} libraries as documented; {checked} includes follow the graph; "
      "the core names no system mechanics")
