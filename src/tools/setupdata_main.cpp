// setupdata: prepares a medium. "register DIR" builds DIR/Setup.ini from DIR/SetupRegist.ini
// exactly as the setup does at start-up, and says precisely what is wrong when it cannot;
// "dump FILE [--json]" prints a Setup.ini.
#include <cstdio>
#include <string>

#include "os/command_line.h"
#include "os/file_system.h"
#include "setupdata/registration.h"
#include "setupdata/setup_data.h"
#include "support/cp932.h"
#include "support/system_text.h"

namespace {

using support::toUtf8Lossy;

int usage() {
    std::fputs("usage: setupdata register DIR\n       setupdata dump FILE [--json]\n", stderr);
    return 2;
}

std::string jsonString(const std::string& cp932) {
    std::string out = "\"";
    for (char c : toUtf8Lossy(cp932)) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

int registerMedium(const std::string& dir) {
    os::FileSystem& fs = os::systemFileSystem();
    std::string folder = os::setupPathFromHost(dir);
    if (folder.empty() || !fs.SetCurrentFolder(folder)) {
        std::fprintf(stderr, "setupdata: %s: folder cannot be opened\n", dir.c_str());
        return 1;
    }
    std::string source = support::withTrailingBackslash(fs.CurrentFolder());
    setupdata::SetupData data;
    setupdata::RegistrationError error;
    if (!data.registerFromSource(fs, source + "SetupRegist.ini", &error)) {
        std::fprintf(stderr, "setupdata: %s: %s: %s\n", toUtf8Lossy(error.key).c_str(),
                     setupdata::describe(error.fault), toUtf8Lossy(error.path).c_str());
        return 1;
    }
    std::string reason;
    if (!data.writeSetupFile(fs, source + "Setup.ini", &reason)) {
        std::fprintf(stderr, "setupdata: Setup.ini: %s: %s\n", reason.c_str(), toUtf8Lossy(source + "Setup.ini").c_str());
        return 1;
    }
    std::printf("%s: Setup.ini written, %zu files in %zu folders\n", dir.c_str(), data.files.size(), data.folders.size());
    return 0;
}

void printJson(const setupdata::SetupData& d) {
    std::printf("{\n  \"title\": %s,\n  \"registryRoot\": %s,\n  \"directXFolder\": %s,\n", jsonString(d.title).c_str(),
                jsonString(d.registryRoot).c_str(), jsonString(d.directXFolder).c_str());
    std::printf("  \"executable\": %s,\n  \"dataFolder\": %s,\n  \"saveSlotCount\": %d,\n  \"folders\": [",
                jsonString(d.executable).c_str(), jsonString(d.dataFolder).c_str(), static_cast<int>(d.saveSlotCount));
    for (std::size_t i = 0; i < d.folders.size(); ++i)
        std::printf("%s%s", i ? ", " : "", jsonString(d.folders[i]).c_str());
    std::printf("],\n  \"files\": [");
    for (std::size_t i = 0; i < d.files.size(); ++i) {
        const auto& e = *d.files[i];
        std::printf("%s\n    {\"typeMask\": %d, \"name\": %s, \"size\": %llu, \"folderIndex\": %d}", i ? "," : "",
                    static_cast<int>(e.typeMask), jsonString(e.name).c_str(), static_cast<unsigned long long>(e.size),
                    static_cast<int>(e.folderIndex));
    }
    std::printf("%s]\n}\n", d.files.empty() ? "" : "\n  ");
}

void printText(const setupdata::SetupData& d) {
    std::printf("title          %s\nregistryRoot   %s\ndirectXFolder  %s\nexecutable     %s\ndataFolder     %s\n",
                toUtf8Lossy(d.title).c_str(), toUtf8Lossy(d.registryRoot).c_str(), toUtf8Lossy(d.directXFolder).c_str(),
                toUtf8Lossy(d.executable).c_str(), toUtf8Lossy(d.dataFolder).c_str());
    std::printf("saveSlotCount  %d\nfolders        %zu\n", static_cast<int>(d.saveSlotCount), d.folders.size());
    for (std::size_t i = 0; i < d.folders.size(); ++i) std::printf("  [%zu] %s\n", i, toUtf8Lossy(d.folders[i]).c_str());
    std::printf("files          %zu\n", d.files.size());
    for (const auto& e : d.files) {
        std::string where = e->folderIndex >= 0 ? toUtf8Lossy(d.folders[static_cast<std::size_t>(e->folderIndex)]) + "\\" : "";
        std::printf("  mask %-11d %12llu  %s%s\n", static_cast<int>(e->typeMask), static_cast<unsigned long long>(e->size),
                    where.c_str(), toUtf8Lossy(e->name).c_str());
    }
}

int dump(const std::string& file, bool json) {
    os::FileSystem& fs = os::systemFileSystem();
    setupdata::SetupData data;
    std::string reason;
    std::string path = os::setupPathFromHost(file);
    if (path.empty() || !data.readSetupFile(fs, path, &reason)) {
        std::fprintf(stderr, "setupdata: %s: %s\n", file.c_str(), path.empty() ? "the file cannot be opened" : reason.c_str());
        return 1;
    }
    if (json) printJson(data);
    else printText(data);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    os::prepareConsole();
    std::vector<std::string> args = os::commandLineArguments(argc, argv);
    if (args.size() == 3 && args[1] == "register") return registerMedium(args[2]);
    if (args.size() == 3 && args[1] == "dump") return dump(args[2], false);
    if (args.size() == 4 && args[1] == "dump" && args[3] == "--json") return dump(args[2], true);
    return usage();
}
