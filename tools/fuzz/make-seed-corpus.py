#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into tests/fuzz/corpus/<target>/.

Run from anywhere: python3 tools/fuzz/make-seed-corpus.py. The seeds are small, typical and
awkward inputs of each parser; the zip seeds are made with the Info-ZIP `zip` tool and with
Python's zipfile. Existing seed files are rewritten, other files in the folders are left alone.
"""

import io
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import warnings
import zipfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
CORPUS = ROOT / "tests" / "fuzz" / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    (folder / name).write_bytes(data)


def package_answers():
    full = (
        '{"code":0,"data":{"version":"3.2.1","ver":"321","url":"https://cdn.example/p.zip",'
        '"ver_air":"7","url_air":"https://cdn.example/air.zip","user_from":"3",'
        '"business_type":"2","game":{"game_name":"Game","game_id":"1001","server_id":"s1",'
        '"url":"https://cdn.example/bag.zip","desc":"A game","ver":259},'
        '"game_vers":{"ver_code":"17","ver":"1.0.2","game_id":"1002",'
        '"download_url":"https://cdn.example/g.zip","md5":"0123456789abcdef0123456789abcdef",'
        '"g_type":"2"}}}'
    )
    seeds = {
        "full.json": full,
        "code_only.json": '{"code":0}',
        "code_text.json": '{"code":"0","data":{"version":"1"}}',
        "refused.json": '{"code":1,"data":{}}',
        "array.json": "[0]",
        "wrong_types.json": '{"code":0,"data":{"ver":3,"user_from":3,"game":"x",'
                            '"game_vers":{"g_type":2,"md5":5}}}',
        "long_texts.json": '{"code":0,"data":{"version":"' + "9" * 20 + '","game":{"desc":"'
                           + "d" * 600 + '"}}}',
        "big_numbers.json": '{"code":4294967296,"data":{"game":{"ver":-1},'
                            '"game_vers":{"g_type":2147483648,"ver_code":"99999999999"}}}',
        "escapes.json": '{"code":0,"data":{"game":{"game_name":"a\\u0000b \\ud83d\\ude00 \\"q\\""}}}',
        "nul_after.json": '{"code":0,"data":{"version":"1"}}\0{"code":1}',
        "deep.json": "[" * 70 + "]" * 70,
        "comments.json": '{"code":0, /* c */ "data":{"version":"2"} // end\n}',
    }
    for name, text in seeds.items():
        write("package_answer_fuzzer", name, text)


def zips():
    target = "zip_extraction_fuzzer"
    with tempfile.TemporaryDirectory() as scratch:
        tree = pathlib.Path(scratch) / "tree"
        (tree / "bin").mkdir(parents=True)
        (tree / "bin" / "game.exe").write_bytes(b"MZ" + bytes(range(256)) * 4)
        (tree / "bin" / "game.exe").chmod(0o755)
        (tree / "readme.txt").write_text("hello\n" * 20)
        (tree / "empty").mkdir()
        (tree / "link").symlink_to("readme.txt")
        stamp = 1715953530  # fixed times, so that the archives come out the same every run
        for path in [*tree.rglob("*"), tree]:
            os.utime(path, (stamp, stamp), follow_symlinks=False)
        for name, flags in (("infozip_deflated.zip", ["-r"]), ("infozip_stored.zip", ["-r", "-0"]),
                            ("infozip_symlink.zip", ["-r", "--symlinks"])):
            archive = pathlib.Path(scratch) / name
            subprocess.run(["zip", "-q", "-X", *flags, str(archive), "."], cwd=tree, check=True)
            write(target, name, archive.read_bytes())

    def python_zip(name, entries, method=zipfile.ZIP_DEFLATED):
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w", method) as archive:
            for entry_name, data, mode in entries:
                info = zipfile.ZipInfo(entry_name, date_time=(2024, 5, 17, 13, 45, 30))
                info.compress_type = method
                if mode is not None:
                    info.create_system = 3
                    info.external_attr = mode << 16
                archive.writestr(info, data)
        write(target, name, buffer.getvalue())

    python_zip("python_folders.zip", [("a/", b"", 0o40755 | 0x10), ("a/b/c.txt", b"c" * 100, 0o100644),
                                      ("a\\d.txt", b"backslash", None)])
    python_zip("python_stored.zip", [("x.bin", bytes(range(256)), 0o100755)], zipfile.ZIP_STORED)
    python_zip("python_unsafe.zip", [("../escape.txt", b"no", None), ("/abs.txt", b"no", None)])
    python_zip("python_drive.zip", [("C:\\x.txt", b"no", None)])
    warnings.filterwarnings("ignore", "Duplicate name", UserWarning)
    python_zip("python_duplicate.zip", [("same.txt", b"first", None), ("same.txt", b"second", None)])
    python_zip("python_empty.zip", [])
    python_zip("python_file_then_folder.zip", [("a", b"file", None), ("a/b.txt", b"below", None)])
    # A wrong CRC in both headers of a stored entry.
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as archive:
        archive.writestr("crc.txt", b"checked data")
    data = bytearray(buffer.getvalue())
    crc = struct.pack("<I", zipfile.crc32(b"checked data"))
    data = data.replace(crc, b"\0\0\0\0")
    write(target, "python_wrong_crc.zip", bytes(data))


def file_lists():
    target = "file_list_fuzzer"
    seeds = {
        "list.xml": '<?xml version="1.0" encoding="utf-8"?>\n<root><items>\n'
                    '  <item path="bin/game.exe" md5="e0a18e80ab19c0a8e4d1bd8e5b3e4e2b"/>\n'
                    '  <item path="bin\\lib.dll" md5="00000000000000000000000000000000"/>\n'
                    '  <item path="readme.txt" md5="1"/>\n</items></root>\n',
        "duplicates.xml": '<root><items><item path="a.exe" md5="1"/><item path="a.exe" md5="2"/>'
                          '<item md5="3"/><entry path="x" md5="4"/></items></root>',
        "climbing.xml": '<root><items><item path="../../../../etc/hostname.exe" md5="x"/>'
                        '<item path="/etc/passwd.dll" md5="y"/><item path="data.exe" md5="z"/>'
                        '</items></root>',
        "utf16.xml": '<?xml version="1.0" encoding="utf-16"?><root><items>'
                     '<item path="\u00e9.exe" md5="1"/></items></root>'.encode("utf-16"),
        "broken.xml": "<root><items><item path=",
    }
    for name, data in seeds.items():
        write(target, name, data)


def app_lists():
    target = "app_list_fuzzer"
    seeds = {
        "with_game.dat": '<?xml version="1.0" encoding="utf-8"?>\r\n<app_list>\r\n'
                         '  <item game_id="777" game_name="Other" state="1"/>\r\n'
                         '  <item game_id="1001" game_name="Old" md5="old" saved_bytes="5" '
                         'local_path="old.dat" state="2" extra="kept" ver_code="16"/>\r\n'
                         '</app_list>\r\n',
        "without_game.dat": '<app_list><item game_id="777"/><item game_name="no id"/></app_list>',
        "empty_list.dat": "<app_list/>",
        "other_root.dat": '<?xml version="1.0"?>\n<other><app_list/></other>\n',
        "broken.dat": '<app_list><item game_id="1">',
        "empty.dat": "",
        "latin1.dat": '<?xml version="1.0" encoding="ISO-8859-1"?><app_list>'
                      '<item game_id="2" game_name="Caf\xe9"/></app_list>'.encode("latin-1"),
        "escapes.dat": '<app_list><item game_id="3" game_name="a&amp;b&#10;c&#9;d&lt;" />'
                       '<!-- note --><?pi x?>text<![CDATA[<x>]]></app_list>',
    }
    for name, data in seeds.items():
        write(target, name, data)


def registry_files():
    target = "registry_file_fuzzer"
    header = "Windows Registry Editor Version 5.00\n\n"
    seeds = {
        "store.reg": header + '[HKEY_CURRENT_USER\\Software\\qvorvane\\main]\n@="default"\n'
                     '"client_id"="0123"\n"count"=dword:0000002a\n\n'
                     '[HKEY_CURRENT_USER\\Software\\Classes\\qv\\shell\\open\\command]\n'
                     '@="\\"/home/u/QVorvane/app/client\\" \\"%1\\""\n',
        "crlf_bom.reg": "\ufeff" + header.replace("\n", "\r\n")
                        + '[HKEY_CURRENT_USER\\A]\r\n; comment\r\n"x"="line\\nbreak\\r"\r\n',
        "nested_first.reg": header + "[HKEY_CURRENT_USER\\a\\b\\c]\n\"v\"=\"1\"\n[hkey_current_user\\A]\n"
                            '"V"="2"\n"v"="3"\n',
        "root_only.reg": header + "[HKEY_CURRENT_USER]\n@=\"root default\"\n",
        "damaged_type.reg": header + '[HKEY_CURRENT_USER\\a]\n"b"=hex:01,02\n',
        "other_root.reg": header + "[HKEY_LOCAL_MACHINE\\a]\n",
        "value_first.reg": header + '"a"="b"\n',
        "deletion.reg": header + "[-HKEY_CURRENT_USER\\a]\n",
        "empty.reg": "",
    }
    for name, text in seeds.items():
        write(target, name, text)


def profile_input(section, key, value, file_text, buffer_size):
    """The bytes the private-profile target reads back as these parameters."""
    def field(text):
        return text.replace("\\", "\\\\").encode("utf-8") + b"\\ "
    file_bytes = file_text.encode("utf-8") if isinstance(file_text, str) else file_text
    return (field(section) + field(key) + field(value) + file_bytes
            + struct.pack("<H", buffer_size))


def profiles():
    target = "private_profile_fuzzer"
    config = "[General]\ndl_path=/home/u/QVorvane/\nlast_lang_name=en-us\n\n[Other]\nx = 1\n"
    seeds = {
        "replace.bin": profile_input("General", "dl_path", "/data/QVorvane/", config, 260),
        "new_key.bin": profile_input("general", "auto_startup", "0", config, 16),
        "new_section.bin": profile_input("Game", "version", "1.0.2", config, 5),
        "new_file.bin": profile_input("General", "client_id", "abc", "", 33),
        "crlf_bom.bin": profile_input("S", "k", "multi\nline\rvalue", "\ufeff[S]\r\nk=old\r\n", 300),
        "quotes.bin": profile_input("S", "k", " 'quoted' ", "[S]\nk=\"x\"\n; comment\n", 2),
        "hex.bin": profile_input("S", "n", "0x1F", "[ S ]\n  N\t=\t-0x10\n", 10),
        "utf8.bin": profile_input("Sé", "ключ", "值\u00e9", "[sé]\nКЛЮЧ=ü\n", 2),
        "no_line_end.bin": profile_input("S", "b", "2", "[S]\na=1", 0),
        "refused.bin": profile_input("a]b", "=k", "v", "[a]\n", 8),
    }
    for name, data in seeds.items():
        write(target, name, data)


def command_lines():
    target = "command_line_fuzzer"
    seeds = {
        "plain.bin": ' /startgame=1001 /game_id=1001 /flag=1 /user_frome=3',
        "quoted.bin": '"C:\\Program Files\\x.exe" "a b" c',
        "backslashes.bin": 'a\\\\\\"b c\\\\"d e" f\\\\ "g\\"',
        "doubled_quotes.bin": '"a""b" """" "" x""y',
        "tabs.bin": "a\tb\t\t\"c\td\"",
    }
    for name, text in seeds.items():
        write(target, name, text.encode("utf-16-le"))


def language_tables():
    target = "language_table_fuzzer"
    for code in ("en", "de", "ar", "th", "zh_TW"):
        write(target, code + ".xml", (ROOT / "resources" / "languages" / (code + ".xml")).read_bytes())
    seeds = {
        "escapes.xml": '<Language><Item key="a" value="x\\ny\\\\z\\q\\"></Item>'
                       '<Item key="a" value="second"/><Item value="no key"/></Language>',
        "invalid_utf8.xml": b'<Language><Item key="k" value="ok \xc3( \xf0\x9f\x98\x80 \xed\xa0\x80"/>'
                            b'<Item key="\xe2\x82" value="cut"/></Language>',
        "utf16.xml": '<?xml version="1.0" encoding="utf-16"?><Language>'
                     '<Item key="Installing..." value="\u5b89\u88c5\u4e2d..."/></Language>'.encode("utf-16"),
        "other_root.xml": '<Other><Item key="a" value="b"/></Other>',
        "broken.xml": '<Language><Item key="a" value="b">',
    }
    for name, data in seeds.items():
        write(target, name, data)


def main():
    if shutil.which("zip") is None:
        sys.exit("make-seed-corpus: the zip tool is missing (tools/install-deps.sh installs it)")
    package_answers()
    zips()
    file_lists()
    app_lists()
    registry_files()
    profiles()
    command_lines()
    language_tables()


if __name__ == "__main__":
    main()
