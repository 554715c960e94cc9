"""What the generators take from the system, and the Debian package that provides each.

check() runs before anything else is imported, so a fresh machine gets one plain line naming
the missing file and its package instead of a traceback.
"""
import importlib.util
import os
import sys

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONTS = {
    "DejaVuSans.ttf": "fonts-dejavu-core",
    "DejaVuSans-Bold.ttf": "fonts-dejavu-core",
    "DejaVuSerif-Italic.ttf": "fonts-dejavu-extra",
}
MODULES = {"numpy": "python3-numpy", "PIL": "python3-pil"}


def font(name):
    """Full path of one of FONTS."""
    return FONT_DIR + name


def check():
    missing = [(f"Python module {m}", p) for m, p in MODULES.items()
               if importlib.util.find_spec(m) is None]
    missing += [(f"font {font(f)}", p) for f, p in FONTS.items() if not os.path.isfile(font(f))]
    if not missing:
        return
    for what, package in missing:
        print(f"gen_data: {what} is missing; the Debian package {package} provides it",
              file=sys.stderr)
    packages = " ".join(sorted({p for _, p in missing}))
    print(f"gen_data: install it with: apt-get install {packages}  (scripts/install-deps does)",
          file=sys.stderr)
    sys.exit(1)
