#!/usr/bin/env python3
"""Writes the seed corpora beside the fuzz targets: valid files and near misses."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MARK = b"\xff\xff"  # separates the data file from the harness's steering parts


def sj(text):
    return text.encode("cp932")


def counted(b):
    return struct.pack("<H", len(b)) + b


def setup_ini(title=b"ab", strings=(b"", b"", b"", b""), slots=3, folders=(b"v",), files=((2, b"x", 5, 0),),
              folder_count=None, file_count=None):
    out = b"[SETUP]2.01" + counted(title) + b"".join(counted(s) for s in strings) + struct.pack("<i", slots)
    out += struct.pack("<I", len(folders) if folder_count is None else folder_count)
    out += b"".join(counted(f) for f in folders)
    out += struct.pack("<I", len(files) if file_count is None else file_count)
    for mask, name, size, folder in files:
        out += struct.pack("<i", mask) + counted(name) + struct.pack("<Q", size) + struct.pack("<i", folder)
    return out


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


example = setup_ini()
demo = setup_ini(sj("星降る丘の物語"), (sj("Software\\Hoshifuru\\"), b"DirectX\\", b"Hoshifuru.exe", b""), 20,
                 (b"Data", b"Voice", sj("表示")),
                 ((-1, b"Hoshifuru.exe", 65536, -1), (-1, b"Data01.pak", 1 << 20, 0), (2, b"intro.wav", 48 << 20, 1),
                  (-1, sj("ソフト.dat"), 0, 2), (2, b"big", (1 << 32) + 7, 1)))
seeds = {
    "example": example,
    "demo": demo,
    "empty": setup_ini(b"", folders=(), files=()),
    "signature-only": example[:11],
    "cut-in-size": example[:50],
    "trailing-bytes": example + b"tail",
    "nul-in-title": setup_ini(b"a\x00b"),
    "lower-case-signature": b"[setup]2.01" + example[11:],
    "four-billion-folders": setup_ini(folders=(b"v", b"w"), files=(), folder_count=0xFFFFFFFF)[:-4],
    "four-billion-files": setup_ini(folders=(), files=((-1, b"x", 1, -1),), file_count=0xFFFFFFFF),
    "hostile-folder": setup_ini(folders=(b"..\\..\\x",)),
    "hostile-name": setup_ini(folders=(), files=((-1, b"CON", 1, -1),)),
    "bad-folder-index": setup_ini(files=((2, b"x", 5, 7),)),
}
for name, data in seeds.items():
    write("fuzz_setup_file", name, data)

regist = sj("""[設定]
Name=星降る丘の物語
Registry=Software\\Hoshifuru\\
DXCurrent=DirectX\\
exec=Hoshifuru.exe
folder=
save=20
[登録]
count=3
regist00=(TYPE0,,Hoshifuru.exe)
regist01=(TYPE0,Data,Data\\Data01.pak) // the game's data
regist02=(TYPE1, Voice, Voice\\intro.wav)
""").replace(b"\n", b"\r\n")
write("fuzz_registration", "demo", regist)
write("fuzz_registration", "demo-some-missing", regist + MARK + b"\x05")
write("fuzz_registration", "hex-counts", regist.replace(b"save=20", b"save=0x14").replace(b"count=3", b"count=3h"))
write("fuzz_registration", "negative-count", regist.replace(b"count=3", b"count=-1"))
write("fuzz_registration", "lower-type", regist.replace(b"TYPE1", b"type1"))
write("fuzz_registration", "blank-after-type", regist.replace(b"TYPE1,", b"TYPE1 ,"))
write("fuzz_registration", "unregistered-name", regist.replace(sj("Name=星降る丘の物語"), sj("Name=未登録")))
write("fuzz_registration", "no-comma", regist.replace(b"(TYPE0,,Hoshifuru.exe)", b"(TYPE0)"))
write("fuzz_registration", "hostile-folder", regist.replace(b"TYPE0,Data,", b"TYPE0,..\\..,"))
write("fuzz_registration", "trail-byte-names", regist.replace(b"Data\\Data01.pak", sj("表示\\ソフト.dat")))

profile = b"[PATH]\r\nSetupType=128\r\nCurrent=C:\\Games\\x\\\r\nCDDrive=D:\\\r\n"
write("fuzz_profile", "game-profile", profile + MARK + b"PATH" + MARK + b"SetupType" + MARK + b"0")
write("fuzz_profile", "authoring", regist + MARK + MARK + b"Name" + MARK + sj("新しい題名"))
write("fuzz_profile", "empty-file", MARK + b"PATH" + MARK + b"Current" + MARK + b"C:\\x\\")
write("fuzz_profile", "quoted", b"[a]\r\nk=\"quoted\"\r\n" + MARK + b"a" + MARK + b"k" + MARK + b"'v'")
write("fuzz_profile", "comments-and-blanks", b"; note\r\n[ A ]\r\n  k  =  v // c \r\n[b]\r\nk=1\r\n" + MARK + b"B" + MARK + b"K")
write("fuzz_profile", "duplicate-sections", b"[a]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n" + MARK + b"a" + MARK + b"j" + MARK + b"4")
write("fuzz_profile", "no-newline-at-end", b"[a]\nk=1" + MARK + b"a" + MARK + b"m" + MARK + b"2")
write("fuzz_profile", "long-value", b"[a]\r\nk=" + b"x" * 700 + b"\r\n" + MARK + b"a" + MARK + b"k")
