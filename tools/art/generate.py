#!/usr/bin/python3
"""Generates the game's sprites from manifest.txt.

    generate.py --data <build>/data            write every picture
    generate.py --data <build>/data --check    verify every picture is there and sound
    generate.py --sheet sheet.png              a contact sheet of everything (not shipped)

Pictures are drawn procedurally (see neon.py) so the same manifest gives the
same bytes on every run.
"""

import argparse
import fnmatch
import io
import multiprocessing
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep the source tree clean

from PIL import Image, ImageDraw  # noqa: E402

PNG_MAGIC = b"\x89PNG\r\n\x1a\n"
SECTIONS = {"sprites": "sprites", "data": ""}


class Entry:
    def __init__(self, folder, name, kind, w, h, args, line):
        self.folder, self.name, self.kind = folder, name, kind
        self.w, self.h, self.args, self.line = w, h, args, line

    def path(self, root):
        return os.path.join(root, self.folder, self.name) if self.folder else os.path.join(root, self.name)


def read_manifest(path):
    """Rows of 'name kind width height key=value...'; ';' starts a comment."""
    entries = []
    errors = []
    folder = None
    seen = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.split(";", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].strip()
                if section not in SECTIONS:
                    errors.append("%s:%d: unknown section [%s]" % (path, number, section))
                    folder = None
                else:
                    folder = SECTIONS[section]
                continue
            parts = line.split()
            if folder is None:
                errors.append("%s:%d: row outside a section" % (path, number))
                continue
            if len(parts) < 4:
                errors.append("%s:%d: need name, kind, width and height" % (path, number))
                continue
            name, kind = parts[0], parts[1]
            try:
                w, h = int(parts[2]), int(parts[3])
            except ValueError:
                errors.append("%s:%d: bad size" % (path, number))
                continue
            if not name.lower().endswith(".png") or "/" in name or w <= 0 or h <= 0 or w > 4096 or h > 4096:
                errors.append("%s:%d: bad name or size: %s" % (path, number, name))
                continue
            args = {}
            for kv in parts[4:]:
                if "=" not in kv:
                    errors.append("%s:%d: expected key=value, got %s" % (path, number, kv))
                    continue
                k, v = kv.split("=", 1)
                args[k] = v
            # The game finds sprites ignoring case, so names must differ by more than case.
            key = (folder, name.lower())
            if key in seen:
                errors.append("%s:%d: %s repeats line %d" % (path, number, name, seen[key]))
                continue
            seen[key] = number
            entries.append(Entry(folder, name, kind, w, h, args, number))
    return entries, errors


def render(entry):
    import kinds
    fn = kinds.KINDS.get(entry.kind)
    if fn is None:
        raise ValueError("line %d: unknown kind %s" % (entry.line, entry.kind))
    img = fn(entry.w, entry.h, dict(entry.args)).image()
    if img.size != (entry.w, entry.h):
        raise ValueError("line %d: %s drew %dx%d" % (entry.line, entry.name, img.size[0], img.size[1]))
    return img


def _png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", compress_level=6)
    return buf.getvalue()


def _work(job):
    entry, root = job
    try:
        data = _png_bytes(render(entry))
    except Exception as e:  # report which row failed, then stop the build
        return entry.name, "%s (manifest line %d): %s: %s" % (entry.name, entry.line, type(e).__name__, e)
    path = entry.path(root)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    return entry.name, None


def generate(entries, root, jobs, record):
    for folder in sorted({e.folder for e in entries}):
        os.makedirs(os.path.join(root, folder) if folder else root, exist_ok=True)
    work = [(e, root) for e in entries]
    # Biggest first so the pool's tail is short.
    work.sort(key=lambda j: -(j[0].w * j[0].h))
    failures = []
    if jobs > 1:
        with multiprocessing.Pool(jobs) as pool:
            results = pool.imap_unordered(_work, work, chunksize=4)
            failures = [err for _, err in results if err]
    else:
        failures = [err for _, err in map(_work, work) if err]
    for f in failures:
        print("generate.py: " + f, file=sys.stderr)
    if failures:
        return False
    _forget_stale(entries, root, record)
    return True


def _forget_stale(entries, root, record):
    """Remove what an earlier manifest made and this one no longer names."""
    if not record:
        return
    now = sorted(os.path.relpath(e.path(root), root) for e in entries)
    try:
        with open(record, encoding="utf-8") as f:
            before = [ln.strip() for ln in f if ln.strip()]
    except OSError:
        before = []
    for rel in set(before) - set(now):
        path = os.path.normpath(os.path.join(root, rel))
        if path.startswith(os.path.normpath(root) + os.sep) and os.path.isfile(path):
            os.remove(path)
    with open(record + ".tmp", "w", encoding="utf-8") as f:
        f.write("\n".join(now) + "\n")
    os.replace(record + ".tmp", record)


def check(entries, root):
    """Every named picture exists, is a PNG of its size and is not empty."""
    problems = []
    for e in entries:
        path = e.path(root)
        try:
            with open(path, "rb") as f:
                head = f.read(8)
            if head != PNG_MAGIC:
                problems.append("%s: not a PNG" % path)
                continue
            with Image.open(path) as im:
                im.load()
                if im.size != (e.w, e.h):
                    problems.append("%s: %dx%d, manifest says %dx%d" % (path, im.size[0], im.size[1], e.w, e.h))
                if im.mode != "RGBA":
                    problems.append("%s: mode %s, want RGBA" % (path, im.mode))
                elif im.getchannel("A").getextrema()[1] == 0:
                    problems.append("%s: fully transparent" % path)
        except OSError as err:
            problems.append("%s: %s" % (path, err))
    for p in problems:
        print("check: " + p, file=sys.stderr)
    print("check: %d pictures, %d problems" % (len(entries), len(problems)))
    return not problems


def contact_sheet(entries, out, cell=112, cols=16, bg=(14, 14, 26)):
    """Every sprite scaled into a cell with its name under it."""
    from neon import font
    rows = (len(entries) + cols - 1) // cols
    label = 14
    sheet = Image.new("RGBA", (cols * cell, rows * (cell + label)), bg + (255,))
    draw = ImageDraw.Draw(sheet)
    f = font(9, "DejaVuSans")
    for i, e in enumerate(entries):
        img = render(e)
        k = min((cell - 8) / img.size[0], (cell - 8) / img.size[1], 2.0)
        tw, th = max(1, int(img.size[0] * k)), max(1, int(img.size[1] * k))
        img = img.resize((tw, th), Image.LANCZOS)
        x = (i % cols) * cell + (cell - tw) // 2
        y = (i // cols) * (cell + label) + (cell - th) // 2
        sheet.alpha_composite(img, (x, y))
        name = e.name[:-4] if e.name.lower().endswith(".png") else e.name
        draw.text(((i % cols) * cell + cell // 2, (i // cols) * (cell + label) + cell + 1),
                  name[:20], font=f, fill=(170, 180, 200, 255), anchor="mt")
    sheet.save(out)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--manifest", default=os.path.join(HERE, "manifest.txt"))
    ap.add_argument("--data", help="the data folder to write into (or check)")
    ap.add_argument("--check", action="store_true", help="verify instead of writing")
    ap.add_argument("--jobs", type=int, default=min(4, os.cpu_count() or 1))
    ap.add_argument("--only", help="only names matching these patterns (comma separated)")
    ap.add_argument("--record", help="file listing what was generated, to remove stale pictures")
    ap.add_argument("--sheet", help="write a contact sheet PNG here")
    a = ap.parse_args(argv)

    entries, errors = read_manifest(a.manifest)
    for err in errors:
        print("manifest: " + err, file=sys.stderr)
    if errors:
        return 2
    if a.only:
        pats = [p.strip().lower() for p in a.only.split(",") if p.strip()]
        entries = [e for e in entries if any(fnmatch.fnmatch(e.name.lower(), p) for p in pats)]
    if a.sheet:
        contact_sheet(entries, a.sheet)
        return 0
    if not a.data:
        ap.error("--data is required")
    if a.check:
        return 0 if check(entries, a.data) else 1
    ok = generate(entries, a.data, max(1, a.jobs), None if a.only else a.record)
    if ok:
        print("generate.py: %d pictures in %s" % (len(entries), a.data))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
