#!/usr/bin/env python3
"""Seeds a Meridel product folder of N files for the folder-removal benchmark.

Writes straight into the Wine prefix's drive_c (which Wine sees at once):
a three-level tree (10 folders, 10 below each, files in the third level) in
"Program Files\\Halvorix\\Meridel VRML Client", a tenth of the files copies of
a component module. Prints a REGEDIT4 file with each module's SharedDlls
value, for the session loader's "reg import".

usage: seed_folder_tree.py PREFIX MODULE N REGFILE
"""
import os
import shutil
import sys


def main():
    prefix, module, count, regfile = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    unix_root = os.path.join(prefix, "drive_c", "Program Files", "Halvorix", "Meridel VRML Client")
    win_root = "C:\\Program Files\\Halvorix\\Meridel VRML Client"
    if os.path.exists(unix_root):
        shutil.rmtree(unix_root)
    lines = ["REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]"]
    payload = b"x" * 512
    for i in range(count):
        level1, level2 = "Set%02d" % (i % 10), "Part%02d" % ((i // 10) % 10)
        folder = os.path.join(unix_root, level1, level2, "Items")
        os.makedirs(folder, exist_ok=True)
        if i % 10 == 0:
            name = "module%05d.dll" % i
            shutil.copyfile(module, os.path.join(folder, name))
            win_path = "\\".join([win_root, level1, level2, "Items", name])
            lines.append('"%s"=dword:00000001' % win_path.replace("\\", "\\\\"))
        else:
            with open(os.path.join(folder, "scene%05d.wrl" % i), "wb") as f:
                f.write(payload)
    with open(regfile, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
