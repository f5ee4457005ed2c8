#include "tools/help.h"

#include <cstring>

namespace tools {
namespace {

constexpr const char* kExitStatus =
    "Exit status: 0 nothing wrong (warnings may have been printed), 1 problems found (at least one\n"
    "error, or the medium or file could not be read), 2 wrong usage.\n";

struct Command {
    const char* name;
    const char* text;
};

const Command kCommands[] = {
    {"check",
     "usage: setupdata check MEDIUM [--json]\n"
     "\n"
     "Reads MEDIUM/SetupRegist.ini exactly as registration does and reports every problem at once,\n"
     "one line each: FILE:LINE: error|warning: KEY: what is wrong and how to mend it. An error makes\n"
     "registration fail or an install go wrong on a player's machine; a warning is legal but likely\n"
     "not what was meant. The checks:\n"
     "  encoding    UTF-8 (with or without a byte-order mark) and bytes that are no Shift-JIS are\n"
     "              errors: save as Shift-JIS or as Unicode (UTF-16 LE, read as the system reads it);\n"
     "              in a Unicode file, a character Shift-JIS cannot spell is an error (read as missing)\n"
     "  layout      unknown sections and keys (warning, naming the key likely meant), repeated\n"
     "              sections and keys, lines without \"=\" and keys above every section (warnings)\n"
     "  settings    Name, Registry, DXCurrent, exec, save and count missing, empty or \"未登録\"\n"
     "              (errors); a Name that cannot be a folder name (error); folder missing (warning);\n"
     "              save that is not a number (warning: 0 slots); count that is not a number or is\n"
     "              negative (error); Registry or DXCurrent without the trailing \\ (warning)\n"
     "  file keys   regist00 up to count missing, empty or with gaps (errors); regist keys at or above\n"
     "              count, and keys spelt otherwise than the setup looks for (regist1, regist001)\n"
     "              (warnings); no or an unknown install type, a blank after TYPE0 or TYPE1, a folder\n"
     "              ending in a blank, unsafe folder or file names (errors); folders differing only\n"
     "              in letter case (warning: one folder on Windows)\n"
     "  files       a listed file missing, a folder, not readable, or 4 GiB or more (errors); a path\n"
     "              other than data folder + folder + name, so that the install would copy another\n"
     "              file than the one measured (error)\n"
     "  medium      exec not installed by each install type (error); DXCurrent + dxsetup.exe and\n"
     "              Setup.bmp missing from the medium (warnings)\n"
     "  disc        every name the install opens on the medium (the data folder, each folder and\n"
     "              file, DXCurrent, exec) as a disc's Joliet tree holds it, which is what Windows\n"
     "              reads from a CD: more than 64 characters in a name, any of * / : ; ? \\ or a\n"
     "              control character, or a path of more than 120 characters below the disc's root\n"
     "              (errors: the disc shows another name, or none)\n"
     "With --json the same report as a JSON object: file, encoding, errors, warnings and problems\n"
     "(severity, line (0: none), key, message).\n"},
    {"verify",
     "usage: setupdata verify MEDIUM [--json]\n"
     "\n"
     "Reads MEDIUM/Setup.ini alone, as the medium ships, and walks each install type as the install\n"
     "does: every file it will copy must lie at data folder + folder + name with the size Setup.ini\n"
     "records. Prints per install type the number of files, the total bytes and the size text the\n"
     "settings page shows, and makes the checks of exec, DXCurrent + dxsetup.exe and Setup.bmp,\n"
     "and the disc checks of \"setupdata help check\".\n"
     "With --json: file, errors, warnings, types (type, files, bytes, sizeText) and problems.\n"},
    {"register",
     "usage: setupdata register MEDIUM\n"
     "\n"
     "Runs check on MEDIUM/SetupRegist.ini; when it finds no error, builds MEDIUM/Setup.ini exactly\n"
     "as the setup would at start-up. On an error it prints the report and writes nothing.\n"},
    {"image",
     "usage: setupdata image MEDIUM FILE.iso [--label LABEL] [--joliet-only] [--json]\n"
     "\n"
     "Makes the disc image of MEDIUM in FILE.iso with xorriso (package xorriso), once the medium\n"
     "passes: Setup.exe on it, check on SetupRegist.ini when it lies there, verify on Setup.ini;\n"
     "any error and no image is made. The image has a Joliet tree, the names Windows reads, and\n"
     "Rock Ridge names for other systems (--joliet-only leaves them off, so that a Linux mount\n"
     "shows what Windows shows). Its label is the title cut to what a label holds (16 characters,\n"
     "32 bytes of UTF-8, no * / : ; ? \\), or LABEL. The image is then read back from its Joliet\n"
     "tree and walked as verify walks a medium: every file an install type copies under its exact\n"
     "name and at the size Setup.ini records, exec, DXCurrent + dxsetup.exe, Setup.bmp and\n"
     "Setup.exe. The report is the image's; an image with an error must not ship.\n"
     "With --json: the report that stopped it, or the image's, as verify prints it.\n"},
    {"dump",
     "usage: setupdata dump FILE [--json]\n"
     "\n"
     "Prints the description a Setup.ini holds, readable or as JSON.\n"},
    {"help", "usage: setupdata help [COMMAND]\n\nPrints the overview, or the help of one command.\n"},
};

}  // namespace

void Usage(std::FILE* out) {
    std::fputs(
        "usage: setupdata check MEDIUM [--json]\n"
        "       setupdata register MEDIUM\n"
        "       setupdata verify MEDIUM [--json]\n"
        "       setupdata image MEDIUM FILE.iso [--label LABEL] [--joliet-only] [--json]\n"
        "       setupdata dump FILE [--json]\n"
        "       setupdata help [COMMAND]\n",
        out);
}

int Help(std::FILE* out, const std::string& command) {
    if (command.empty()) {
        std::fputs("setupdata prepares a game's medium (MEDIUM: the folder that holds Setup.exe).\n\n", out);
        Usage(out);
        std::fputs(
            "\n"
            "  check     report every problem of SetupRegist.ini, with line numbers and keys\n"
            "  register  check, then build Setup.ini from SetupRegist.ini as the setup does\n"
            "  verify    walk the shipped Setup.ini as the install does: files, sizes, program\n"
            "  image     check, make the disc image with xorriso and walk it as verify does\n"
            "  dump      print a Setup.ini\n"
            "  help      this text, or \"setupdata help COMMAND\" for one command\n\n",
            out);
        std::fputs(kExitStatus, out);
        return 0;
    }
    for (const Command& c : kCommands) {
        if (command != c.name) continue;
        std::fputs(c.text, out);
        std::fputs("\n", out);
        std::fputs(kExitStatus, out);
        return 0;
    }
    std::fprintf(stderr, "setupdata: no command \"%s\"\n", command.c_str());
    Usage(stderr);
    return 2;
}

}  // namespace tools
