#!/usr/bin/env python3
"""Copies what a run left in a home folder that the program folder did not hold already.

Usage: written-files.py PROGRAM_FOLDER HOME OUTDIR

OUTDIR/files/ gets every file of HOME that is new or whose bytes differ from the program
folder's, byte for byte; OUTDIR/written.txt lists them with size and sha256, and
OUTDIR/removed.txt the program folder's files the run deleted.
"""
import hashlib
import os
import shutil
import sys


def sha256(path):
    digest = hashlib.sha256()
    with open(path, 'rb') as f:
        for block in iter(lambda: f.read(1 << 16), b''):
            digest.update(block)
    return digest.hexdigest()


def tree(root):
    found = {}
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in files:
            path = os.path.join(folder, name)
            if os.path.isfile(path) and not os.path.islink(path):
                found[os.path.relpath(path, root)] = path
    return found


def main(program, home, outdir):
    before = tree(program)
    after = tree(home)
    files = os.path.join(outdir, 'files')
    os.makedirs(files, exist_ok=True)
    written = []
    for rel in sorted(after):
        digest = sha256(after[rel])
        if rel in before and sha256(before[rel]) == digest:
            continue
        target = os.path.join(files, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(after[rel], target)
        written.append(f'{digest}  {os.path.getsize(after[rel]):>9}  {rel}\n')
    removed = [rel + '\n' for rel in sorted(before) if rel not in after]
    with open(os.path.join(outdir, 'written.txt'), 'w', encoding='utf-8') as f:
        f.writelines(written)
    with open(os.path.join(outdir, 'removed.txt'), 'w', encoding='utf-8') as f:
        f.writelines(removed)


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
