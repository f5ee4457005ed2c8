#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target (fuzz/corpus/<target>/) and its dictionary
(fuzz/<target>.dict): valid files and near misses. The output is the same every time."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MARK = b"\xff\xff"  # splits a harness input into the file and the harness's own parts


def sj(text):
    return text.encode("cp932")


# --- Setup.ini -------------------------------------------------------------------------------

def counted(b):
    return struct.pack("<H", len(b)) + b


def setup_ini(title=sj("星降る丘の物語"), registry=b"Software\\Maker\\", dx=b"DirectX\\", exe=b"Game.exe",
              data=b"", save=20, folders=(), files=(), folder_count=None, file_count=None):
    out = b"[SETUP]2.01" + b"".join(counted(s) for s in (title, registry, dx, exe, data))
    out += struct.pack("<i", save)
    out += struct.pack("<I", len(folders) if folder_count is None else folder_count)
    out += b"".join(counted(f) for f in folders)
    out += struct.pack("<I", len(files) if file_count is None else file_count)
    for mask, name, size, index in files:
        out += struct.pack("<i", mask) + counted(name) + struct.pack("<Qi", size, index)
    return out


def small_setup_ini(title=b"ab", strings=(b"", b"", b"", b""), slots=3, folders=(b"v",), files=((2, b"x", 5, 0),),
                    folder_count=None, file_count=None):
    return setup_ini(title, *strings, save=slots, folders=folders, files=files, folder_count=folder_count,
                     file_count=file_count)


def small_setup_file_seeds():
    example = small_setup_ini()
    return {
        "example": example,
        "demo": small_setup_ini(sj("星降る丘の物語"), (sj("Software\\Hoshifuru\\"), b"DirectX\\", b"Hoshifuru.exe", b""), 20,
                                (b"Data", b"Voice", sj("表示")),
                                ((-1, b"Hoshifuru.exe", 65536, -1), (-1, b"Data01.pak", 1 << 20, 0),
                                 (2, b"intro.wav", 48 << 20, 1), (-1, sj("ソフト.dat"), 0, 2), (2, b"big", (1 << 32) + 7, 1))),
        "empty": small_setup_ini(b"", folders=(), files=()),
        "signature-only": example[:11],
        "cut-in-size": example[:50],
        "trailing-bytes": example + b"tail",
        "nul-in-title": small_setup_ini(b"a\x00b"),
        "lower-case-signature": b"[setup]2.01" + example[11:],
        "four-billion-folders": small_setup_ini(folders=(b"v", b"w"), files=(), folder_count=0xFFFFFFFF)[:-4],
        "four-billion-files": small_setup_ini(folders=(), files=((-1, b"x", 1, -1),), file_count=0xFFFFFFFF),
        "hostile-folder": small_setup_ini(folders=(b"..\\..\\x",)),
        "hostile-name": small_setup_ini(folders=(), files=((-1, b"CON", 1, -1),)),
        "bad-folder-index": small_setup_ini(files=((2, b"x", 5, 7),)),
    }


def setup_file_seeds():
    demo_files = [(-1, b"Game.exe", 1234, -1), (-1, b"Script.pak", 70000, 0), (2, b"Voice01.pak", 5 << 20, 1)]
    demo = setup_ini(folders=[b"Data", b"Voice"], files=demo_files)
    return {
        "empty-description": setup_ini(title=b"", registry=b"", dx=b"", exe=b"", save=0),
        "two-folders": demo,
        "many-files": setup_ini(folders=[b"Data"], files=[(-1 if i % 3 else 2, b"f%03d.dat" % i, i * 977, i % 2 - 1)
                                                          for i in range(40)]),
        "over-4gib": setup_ini(files=[(2, b"Movie.pak", (5 << 32) + 17, -1), (-1, b"Big.pak", 2**64 - 1, -1)]),
        "sjis-trail-5c": setup_ini(folders=[sj("ソフト\\表示")], files=[(-1, sj("表.dat"), 1, 0)]),
        "nul-inside-string": setup_ini(title=b"Ti\0tle", files=[(-1, b"a.dat\0junk", 3, -1)]),
        "two-folders-then-garbage": demo + b"left over",
        "short-signature": b"[SETUP]2.0",
        "wrong-signature": b"[SETUP]2.00" + demo[11:],
        "folders-0xffffffff-ends-early": setup_ini(folders=[b"Data"], folder_count=0xFFFFFFFF),
        "files-0xffffffff-ends-early": setup_ini(files=demo_files[:1], file_count=0xFFFFFFFF),
        "folder-index-out-of-range": setup_ini(folders=[b"Data"], files=[(-1, b"a.dat", 1, 1)]),
        "folder-index-minus-two": setup_ini(files=[(-1, b"a.dat", 1, -2)]),
        "unsafe-folder": setup_ini(folders=[b"..\\Windows"]),
        "unsafe-file-name": setup_ini(files=[(-1, b"sub\\a.dat", 1, -1)]),
        "string-longer-than-file": b"[SETUP]2.01" + struct.pack("<H", 0xFFFF) + b"abc",
        "ends-inside-record": demo[:-6],
    }


# --- SetupRegist.ini -------------------------------------------------------------------------

def regist(settings, entries, count=None, crlf=True):
    lines = [sj("[設定]")] + settings + [b"", sj("[登録]"), b"count=" + (b"%d" % len(entries) if count is None else count)]
    lines += [b"regist%02d=%s" % (i, e) for i, e in enumerate(entries)]
    nl = b"\r\n" if crlf else b"\n"
    return nl.join(lines) + nl


SETTINGS = [b"Name=" + sj("星降る丘の物語") + b"   // " + sj("題名"), b"Registry=Software\\Maker\\",
            b"DXCurrent=DirectX\\", b"exec=Game.exe", b"folder=", b"save=20"]
ENTRIES = [b"(TYPE0,,Game.exe)", b"(TYPE0,Data,Data\\Script.pak)", b"(TYPE1,Voice,Voice\\Voice01.pak)   // " + sj("フルのみ")]


HOSHIFURU = sj("""[設定]
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


def hoshifuru_seeds():
    r = HOSHIFURU
    return {
        "demo": r,
        "demo-some-missing": r + MARK + b"\x05",
        "hex-counts": r.replace(b"save=20", b"save=0x14").replace(b"count=3", b"count=3h"),
        "negative-count": r.replace(b"count=3", b"count=-1"),
        "lower-type": r.replace(b"TYPE1", b"type1"),
        "blank-after-type": r.replace(b"TYPE1,", b"TYPE1 ,"),
        "unregistered-name": r.replace(sj("Name=星降る丘の物語"), sj("Name=未登録")),
        "no-comma": r.replace(b"(TYPE0,,Hoshifuru.exe)", b"(TYPE0)"),
        "hostile-folder": r.replace(b"TYPE0,Data,", b"TYPE0,..\\..,"),
        "trail-byte-names": r.replace(b"Data\\Data01.pak", sj("表示\\ソフト.dat")),
    }


def registration_seeds():
    demo_path = os.path.join(HERE, "..", "demo", "medium", "SetupRegist.ini")
    with open(demo_path, "rb") as f:
        demo_medium = f.read()
    valid = regist(SETTINGS, ENTRIES)
    without = lambda key: [s for s in SETTINGS if not s.startswith(key + b"=")]
    return {
        "demo-medium": demo_medium,
        "valid": valid,
        "valid-lf-lowercase": regist([s.lower() for s in SETTINGS], [e.lower() for e in ENTRIES], crlf=False),
        "valid-nothing-opens": valid + MARK + b"\x01",
        "valid-some-open-large": valid + MARK + b"\x86",
        "missing-name": regist(without(b"Name"), ENTRIES),
        "name-unregistered": regist([b"Name=" + sj("未登録")] + SETTINGS[1:], ENTRIES),
        "empty-after-comment": regist([b"Name=   // " + sj("未定")] + SETTINGS[1:], ENTRIES),
        "unknown-type": regist(SETTINGS, [b"(TYPE2,,Game.exe)"]),
        "no-type-token": regist(SETTINGS, [b"(Game.exe)"]),
        "unsafe-folder": regist(SETTINGS, [b"(TYPE0,..,..\\boot.ini)"]),
        "unsafe-file": regist(SETTINGS, [b"(TYPE0,,C:\\Windows\\)"]),
        "count-hex-huge": regist(SETTINGS, ENTRIES, count=b"FFFFFFFFh"),
        "count-0x-save-negative": regist(SETTINGS[:-1] + [b"save=-5"], ENTRIES, count=b"0x2"),
        "quoted-and-tabs": regist([b"\tName = \"" + sj("星") + b"\"", b"Registry='Software\\M\\'"] + SETTINGS[2:],
                                  [b" ( TYPE0 , Voice , Voice\\a.pak ) "]),
        "sjis-folders-repeat": regist(SETTINGS, [b"(TYPE0," + sj("ソフト") + b"," + sj("ソフト\\表.dat") + b")",
                                                 b"(TYPE1," + sj("ソフト") + b",b.dat)", b"(TYPE0,Data,c.dat)"]),
        # Saved as "Unicode", and as UTF-8 as an editor's default would.
        "valid-utf16": b"\xff\xfe" + valid.decode("cp932").encode("utf-16-le"),
        "valid-utf8": valid.decode("cp932").encode("utf-8"),
    }


# --- profile files ---------------------------------------------------------------------------

UTF16_MARK = b"\xff\xfe"

def profile(text_lines, write=None, read=None, nl=b"\r\n", final=True):
    out = nl.join(text_lines) + (nl if final else b"")
    if write:
        out += b"".join(MARK + part for part in write)
    if read is not None:
        out += MARK + read
    return out


def small_profile_seeds():
    game = b"[PATH]\r\nSetupType=128\r\nCurrent=C:\\Games\\x\\\r\nCDDrive=D:\\\r\n"
    return {
        "game-profile": game + MARK + b"PATH" + MARK + b"SetupType" + MARK + b"0",
        "authoring": HOSHIFURU + MARK + MARK + b"Name" + MARK + sj("新しい題名"),
        "empty-file": MARK + b"PATH" + MARK + b"Current" + MARK + b"C:\\x\\",
        "quoted": b"[a]\r\nk=\"quoted\"\r\n" + MARK + b"a" + MARK + b"k" + MARK + b"'v'",
        "comments-and-blanks": b"; note\r\n[ A ]\r\n  k  =  v // c \r\n[b]\r\nk=1\r\n" + MARK + b"B" + MARK + b"K",
        "duplicate-sections": b"[a]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n" + MARK + b"a" + MARK + b"j" + MARK + b"4",
        "no-newline-at-end": b"[a]\nk=1" + MARK + b"a" + MARK + b"m" + MARK + b"2",
        "long-value": b"[a]\r\nk=" + b"x" * 700 + b"\r\n" + MARK + b"a" + MARK + b"k",
    }


def profile_seeds():
    game = [sj("[設定]"), b"Name=" + sj("星降る丘の物語"), b"InstallPath=C:\\Games\\", b"save=20", b"",
            b"[Graphics]", b"Width=640"]
    return {
        "game-profile-sjis": profile(game, [sj("設定"), b"InstallPath", b"D:\\Games\\"]),
        "new-section": profile(game, [b"Sound", b"Volume", b"80"]),
        "new-key-in-section": profile(game, [b"graphics", b"Height", b"480"]),
        "keys-above-headers": profile([b"top=1", b"  indented = 2  ", b"[a]", b"k=v"], [b"a", b"TOP", b"3"], b"top"),
        "duplicate-sections-keys": profile([b"[s]", b"k=1", b"k=2", b"[S]", b"k=3", b"j=4"], [b"s", b"j", b"5"], b"j"),
        "quotes": profile([b"[q]", b"a=\"quoted\"", b"b='single'", b"c=\"half", b"d=\""], [b"q", b"e", b"'x'"]),
        "no-final-newline": profile(game, [b"Graphics", b"Depth", b"16"], final=False),
        "lf-only": profile(game, [sj("設定"), b"save", b"30"], nl=b"\n"),
        "bracket-without-close": profile([b"[open", b"k=v", b"[ok]", b"x=y"], [b"ok", b"x", b"z"], b"[open"),
        "semicolon-lines": profile([b"; comment", b"[s]", b";k=hidden", b"k=shown"], [b"s", b";k", b"w"]),
        "trail-5d-in-header": profile([b"[" + sj("‐") + b"]", b"k=1", b"[" + sj("ソ") + b"]", b"k=2"],
                                      [sj("ソ"), b"k", sj("表")]),
        "nothing-then-write": profile([], [b"s", b"k", b"v"], final=False),
        "long-double-byte-value": profile([b"[s]", b"long=" + sj("表") * 300 + b"a"], [b"s", b"short", b"v"], b"long"),
        "blank-lines-between": profile([b"[a]", b"x=1", b"", b"", b"[b]", b"", b"y=2", b""], [b"a", b"z", b"3"]),
        # Saved as "Unicode": read and written back in UTF-16; "é" and the emoji have no CP932 form.
        "utf16-with-beyond-cp932": UTF16_MARK + "[PATH]\r\nSetupType=0\r\nnote=Café 😀\r\n[設定]\r\nName=星\r\n"
                                   .encode("utf-16-le") + MARK + b"PATH" + MARK + b"Current" + MARK + b"C:\\x\\",
    }


# --- dictionaries ----------------------------------------------------------------------------

def dict_line(token):
    return '"' + "".join(chr(c) if 0x20 <= c < 0x7F and c not in (0x22, 0x5C) else "\\x%02X" % c for c in token) + '"'


DICTS = {
    "fuzz_setup_file": [b"[SETUP]2.01", b"\xff\xff\xff\xff", b"\xfe\xff\xff\xff", b"\x00\x00\x00\x00", b"\xff\xff",
                        b"\\", b"..", sj("ソ")],
    "fuzz_registration": [sj("[設定]"), sj("[登録]"), b"Name=", b"Registry=", b"DXCurrent=", b"exec=", b"folder=",
                          b"save=", b"count=", b"regist00=", b"regist01=", b"(TYPE0,", b"(TYPE1,", b"TYPE0", b"TYPE1",
                          b"//", b"\r\n", b",,", b"..", b"\\", b"0x", b"h", sj("未登録"), sj("ソ"), MARK],
    "fuzz_profile": [b"[", b"]", b"=", b"\r\n", b"\r", b";", b"\"", b"'", sj("設定"), sj("登録"), b"Name", sj("ソ"),
                     sj("‐"), MARK, b"\xff\xfe", b"=\x00", b"\r\x00\n\x00"],
}


def main():
    for target, seeds in (("fuzz_setup_file", {**small_setup_file_seeds(), **setup_file_seeds()}),
                          ("fuzz_registration", {**hoshifuru_seeds(), **registration_seeds()}),
                          ("fuzz_profile", {**small_profile_seeds(), **profile_seeds()})):
        folder = os.path.join(HERE, "corpus", target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        with open(os.path.join(HERE, target + ".dict"), "w") as f:
            f.write("# written by make_corpus.py\n")
            f.writelines(dict_line(t) + "\n" for t in DICTS[target])


if __name__ == "__main__":
    main()
