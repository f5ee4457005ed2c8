// setupdata: prepares a medium. "check" reports every problem of the authoring file at once,
// "register" builds Setup.ini from it exactly as the setup does at start-up, "verify" walks the
// shipped Setup.ini as the install does, "image" makes the disc image and walks it the same way,
// "dump" prints a Setup.ini.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "os/command_line.h"
#include "os/file_system.h"
#include "setupdata/check.h"
#include "setupdata/registration.h"
#include "setupdata/setup_data.h"
#include "support/cp932.h"
#include "support/system_text.h"
#include "tools/disc_image.h"
#include "tools/help.h"
#include "tools/report_output.h"

namespace {

using support::ToUtf8Lossy;

std::string JsonString(const std::string& cp932) { return tools::JsonUtf8(ToUtf8Lossy(cp932)); }

// The medium made the current folder, as at start-up; "" when it cannot be.
std::string EnterMedium(const std::string& dir) {
    os::FileSystem& fs = os::SystemFileSystem();
    std::string folder = os::SetupPathFromHost(dir);
    if (folder.empty() || !fs.SetCurrentFolder(folder)) {
        std::fprintf(stderr, "setupdata: %s: folder cannot be opened\n", dir.c_str());
        return {};
    }
    return support::WithTrailingBackslash(fs.CurrentFolder());
}

int Report(const setupdata::CheckReport& r, bool json) {
    if (json)
        tools::PrintReportJson(stdout, r);
    else
        tools::PrintReport(stdout, r);
    return r.count(setupdata::Severity::Error) ? 1 : 0;
}

int Check(const std::string& dir, bool json) {
    std::string source = EnterMedium(dir);
    return source.empty() ? 1 : Report(setupdata::CheckAuthoringFile(os::SystemFileSystem(), source), json);
}

int Verify(const std::string& dir, bool json) {
    std::string source = EnterMedium(dir);
    return source.empty() ? 1 : Report(setupdata::VerifySetupFile(os::SystemFileSystem(), source), json);
}

int RegisterMedium(const std::string& dir) {
    os::FileSystem& fs = os::SystemFileSystem();
    std::string source = EnterMedium(dir);
    if (source.empty()) return 1;
    // The same checks first: a medium with an error is never registered.
    setupdata::CheckReport checked = setupdata::CheckAuthoringFile(fs, source);
    if (!checked.findings.empty()) tools::PrintReport(stderr, checked);
    if (checked.count(setupdata::Severity::Error)) {
        std::fprintf(stderr, "setupdata: Setup.ini not written; \"setupdata help check\" explains each check\n");
        return 1;
    }
    setupdata::SetupData data;
    setupdata::RegistrationError error;
    if (!data.registerFromSource(fs, source + "SetupRegist.ini", &error)) {
        std::fprintf(stderr, "setupdata: %s: %s: %s\n", ToUtf8Lossy(error.key).c_str(),
                     setupdata::Describe(error.fault), ToUtf8Lossy(error.path).c_str());
        return 1;
    }
    std::string reason;
    if (!data.writeSetupFile(fs, source + "Setup.ini", &reason)) {
        std::fprintf(stderr, "setupdata: Setup.ini: %s: %s\n", reason.c_str(),
                     ToUtf8Lossy(source + "Setup.ini").c_str());
        return 1;
    }
    std::printf("%s: Setup.ini written, %zu files in %zu folders\n", dir.c_str(), data.files.size(),
                data.folders.size());
    return 0;
}

// Refused before anything is built: prints the report that has an error and answers 1.
int Refuse(const setupdata::CheckReport& r, bool json, const char* what) {
    if (json) {
        tools::PrintReportJson(stdout, r);
    } else {
        tools::PrintReport(stderr, r);
        std::fprintf(stderr, "setupdata: %s\n", what);
    }
    return 1;
}

int Image(const std::string& dir, const std::string& imageFile, const tools::ImageRequest& options, bool json) {
    namespace fsys = std::filesystem;
    os::FileSystem& fs = os::SystemFileSystem();
    // Absolute before the medium becomes the current folder; xorriso is given both. UTF-8 on the
    // way in and out, whatever the system's narrow code page.
    auto host = [](const std::string& utf8) { return fsys::path(std::u8string(utf8.begin(), utf8.end())); };
    auto absolute = [&](const std::string& utf8) {
        std::error_code ec;
        const std::u8string text = fsys::absolute(host(utf8), ec).lexically_normal().u8string();
        return std::string(text.begin(), text.end());
    };
    tools::ImageRequest request = options;
    request.medium = absolute(dir);
    request.image = absolute(imageFile);
    std::string source = EnterMedium(dir);
    if (source.empty()) return 1;
    const char* refused = "no image made; \"setupdata help image\" explains each check";
    setupdata::CheckReport refusal;
    refusal.file = "setupdata image";
    const fsys::path inside = host(request.image).lexically_relative(host(request.medium));
    if (!inside.empty() && *inside.begin() != "..") {
        refusal.add(setupdata::Severity::Error, 0, request.image,
                    "lies inside the medium, so the image would hold itself; write it elsewhere");
        return Refuse(refusal, json, refused);
    }
    if (!options.label.empty())
        if (std::string problem = tools::LabelProblem(options.label); !problem.empty()) {
            refusal.add(setupdata::Severity::Error, 0, "--label", "\"" + options.label + "\" " + problem);
            return Refuse(refusal, json, refused);
        }
    os::FoundFile found;
    if (!fs.FindFile(source + "Setup.exe", found) || (found.attributes & os::kAttributeFolder)) {
        refusal.add(setupdata::Severity::Error, 0, "Setup.exe",
                    "not on the medium: players would have nothing to start");
        return Refuse(refusal, json, refused);
    }
    // The disc gets what ships: a medium whose authoring file or Setup.ini has an error gets none.
    if (os::PathExists(fs, source + "SetupRegist.ini")) {
        setupdata::CheckReport checked = setupdata::CheckAuthoringFile(fs, source);
        if (checked.count(setupdata::Severity::Error)) return Refuse(checked, json, refused);
        if (!checked.findings.empty() && !json) tools::PrintReport(stderr, checked);
    }
    setupdata::CheckReport verified = setupdata::VerifySetupFile(fs, source);
    if (verified.count(setupdata::Severity::Error)) return Refuse(verified, json, refused);
    setupdata::SetupData data;
    data.readSetupFile(fs, source + "Setup.ini");
    return Report(tools::BuildAndVerifyImage(fs, request, data.title, os::RunProgram), json);
}

void PrintJson(const setupdata::SetupData& d) {
    std::printf("{\n  \"title\": %s,\n  \"registryRoot\": %s,\n  \"directXFolder\": %s,\n", JsonString(d.title).c_str(),
                JsonString(d.registryRoot).c_str(), JsonString(d.directXFolder).c_str());
    std::printf("  \"executable\": %s,\n  \"dataFolder\": %s,\n  \"saveSlotCount\": %d,\n  \"folders\": [",
                JsonString(d.executable).c_str(), JsonString(d.dataFolder).c_str(), static_cast<int>(d.saveSlotCount));
    for (std::size_t i = 0; i < d.folders.size(); ++i)
        std::printf("%s%s", i ? ", " : "", JsonString(d.folders[i]).c_str());
    std::printf("],\n  \"files\": [");
    for (std::size_t i = 0; i < d.files.size(); ++i) {
        const auto& e = *d.files[i];
        std::printf("%s\n    {\"typeMask\": %d, \"name\": %s, \"size\": %llu, \"folderIndex\": %d}", i ? "," : "",
                    static_cast<int>(e.typeMask), JsonString(e.name).c_str(), static_cast<unsigned long long>(e.size),
                    static_cast<int>(e.folderIndex));
    }
    std::printf("%s]\n}\n", d.files.empty() ? "" : "\n  ");
}

void PrintText(const setupdata::SetupData& d) {
    std::printf("title          %s\nregistryRoot   %s\ndirectXFolder  %s\nexecutable     %s\ndataFolder     %s\n",
                ToUtf8Lossy(d.title).c_str(), ToUtf8Lossy(d.registryRoot).c_str(), ToUtf8Lossy(d.directXFolder).c_str(),
                ToUtf8Lossy(d.executable).c_str(), ToUtf8Lossy(d.dataFolder).c_str());
    std::printf("saveSlotCount  %d\nfolders        %zu\n", static_cast<int>(d.saveSlotCount), d.folders.size());
    for (std::size_t i = 0; i < d.folders.size(); ++i)
        std::printf("  [%zu] %s\n", i, ToUtf8Lossy(d.folders[i]).c_str());
    std::printf("files          %zu\n", d.files.size());
    for (const auto& e : d.files) {
        std::string where =
            e->folderIndex >= 0 ? ToUtf8Lossy(d.folders[static_cast<std::size_t>(e->folderIndex)]) + "\\" : "";
        std::printf("  mask %-11d %12llu  %s%s\n", static_cast<int>(e->typeMask),
                    static_cast<unsigned long long>(e->size), where.c_str(), ToUtf8Lossy(e->name).c_str());
    }
}

int Dump(const std::string& file, bool json) {
    os::FileSystem& fs = os::SystemFileSystem();
    setupdata::SetupData data;
    std::string reason;
    std::string path = os::SetupPathFromHost(file);
    if (path.empty() || !data.readSetupFile(fs, path, &reason)) {
        std::fprintf(stderr, "setupdata: %s: %s\n", file.c_str(),
                     path.empty() ? "the file cannot be opened" : reason.c_str());
        return 1;
    }
    if (json)
        PrintJson(data);
    else
        PrintText(data);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    os::PrepareConsole();
    std::vector<std::string> args = os::CommandLineArguments(argc, argv);
    std::vector<std::string> words;
    bool json = false, imageOptions = false;
    tools::ImageRequest image;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--joliet-only") {
            image.rockRidge = false;
            imageOptions = true;
        } else if (args[i] == "--label" && i + 1 < args.size()) {
            image.label = args[++i];
            imageOptions = true;
            if (image.label.empty()) image.label = " ";  // refused, not taken for the title's
        } else {
            words.push_back(args[i]);
        }
    }
    const std::string command = words.empty() ? "" : words[0];
    if (words.size() == 1 && (command == "--help" || command == "-h" || command == "help") && !json)
        return tools::Help(stdout, "");
    if (words.size() == 2 && command == "help" && !json) return tools::Help(stdout, words[1]);
    if (words.size() == 3 && command == "image") return Image(words[1], words[2], image, json);
    if (imageOptions) {
        tools::Usage(stderr);
        return 2;
    }
    if (words.size() == 2 && command == "check") return Check(words[1], json);
    if (words.size() == 2 && command == "verify") return Verify(words[1], json);
    if (words.size() == 2 && command == "register" && !json) return RegisterMedium(words[1]);
    if (words.size() == 2 && command == "dump") return Dump(words[1], json);
    tools::Usage(stderr);
    return 2;
}
