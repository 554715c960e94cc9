#!/usr/bin/python3
"""Facts of the game read from its C++ sources, for the tools and tests written in Python.

cell(), cells(): the board's cell size in pixels and its side in cells (src/platform/grid.h).
data_objects_list() -> [(name, kind)] of data1.dat in file order (src/platform/data1.h).
tile_kinds() -> {code: (palette, picture, overlay)}, each a data file object name as dat
lists it ("A41_WALL_BMP"), or None for no picture (src/field/tile_kind.cpp).
"""
import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def _grid(name):
    text = open(os.path.join(ROOT, "src/platform/grid.h"), encoding="utf-8").read()
    return int(re.search(r"constexpr int %s = (\d+);" % name, text).group(1))


def cell():
    return _grid("cell")


def cells():
    return _grid("cells")


def data_objects_list():
    """(name, kind) of each object of data1.dat in file order, from src/platform/data1.h."""
    text = open(os.path.join(ROOT, "src/platform/data1.h"), encoding="utf-8").read()
    return re.findall(r"X\((\w+), (\w+), \"", text)


def data_objects():
    """Object number of each OBJ_ name."""
    return {"OBJ_" + name: i for i, (name, _) in enumerate(data_objects_list())}


def object_name(obj, numbers):
    """dat's name of an OBJ_ bitmap: "A" and its number, its name, "_BMP"."""
    if obj == "no_picture":
        return None
    return "A%02d_%s_BMP" % (numbers[obj], obj[len("OBJ_"):])


def tile_kinds():
    text = open(os.path.join(ROOT, "src/field/tile_kind.cpp"), encoding="utf-8").read()
    rows = re.findall(r"\{'(.)',\s*(\w+),\s*(\w+),\s*(\w+),\s*build<\w+>(?:,[\w|\s]+)?\}", text)
    if not rows:
        raise SystemExit("game_tables.py: no table rows in src/field/tile_kind.cpp")
    numbers = data_objects()
    return {code: tuple(object_name(o, numbers) for o in objs) for code, *objs in rows}
