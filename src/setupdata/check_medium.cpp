#include "setupdata/check.h"

#include "setupdata/names.h"
#include "support/cp932.h"
#include "support/system_text.h"

namespace setupdata {
namespace {

bool InstallsProgram(const SetupData& data, InstallType t) {
    for (std::size_t i = 0; i < data.files.size(); ++i)
        if (support::EqualsNoCase(data.EntryRelativePath(t, i), data.executable)) return true;
    return false;
}

}  // namespace

std::size_t CheckReport::count(Severity s) const {
    std::size_t n = 0;
    for (const Finding& f : findings) n += f.severity == s;
    return n;
}

std::string Readable(const std::string& cp932) { return support::ToUtf8Lossy(cp932); }

const char* InstallTypeName(InstallType t) { return t == 0 ? "voice-less install (TYPE0)" : "full install (TYPE1)"; }

std::string InstallSourceOnMedium(const std::string& dataFolder, const std::string& relativePath) {
    return dataFolder.empty() ? relativePath : support::WithTrailingBackslash(dataFolder) + relativePath;
}

void CheckProgramAndMedium(os::FileSystem& fs, const std::string& sourceFolder, const SetupData& data,
                           const SettingLines& lines, CheckReport& report) {
    CheckDiscSettings(data, lines, report);
    if (!data.registryRoot.empty() && !support::EndsWithBackslash(data.registryRoot))
        report.add(Severity::Warning, lines.registry, "Registry",
                   "does not end in \\: the install records the game under HKEY_CURRENT_USER\\" +
                       Readable(data.registryRoot + data.title) + "; write " + Readable(data.registryRoot) + "\\");
    if (lines.directXRead && !data.directXFolder.empty() && !support::EndsWithBackslash(data.directXFolder))
        report.add(Severity::Warning, lines.directX, "DXCurrent",
                   "does not end in \\: the setup looks for " + Readable(data.directXFolder) + "dxsetup.exe; write " +
                       Readable(data.directXFolder) + "\\");
    os::FoundFile found;
    const std::string dxsetup = data.directXFolder + "dxsetup.exe";
    if (lines.directXRead && (!fs.FindFile(sourceFolder + dxsetup, found) || (found.attributes & os::kAttributeFolder)))
        report.add(Severity::Warning, lines.directX, "DXCurrent",
                   Readable(dxsetup) + " is not on the medium: the DirectX button stays greyed");
    if (!fs.FindFile(sourceFolder + "Setup.bmp", found) || (found.attributes & os::kAttributeFolder))
        report.add(Severity::Warning, 0, "Setup.bmp", "not on the medium: the left half of the window stays empty");

    bool voiceless = InstallsProgram(data, 0), full = InstallsProgram(data, 1);
    if ((voiceless && full) || !lines.execRead) return;
    std::string which = !voiceless && !full ? "no install type" : InstallTypeName(voiceless ? 1 : 0);
    report.add(Severity::Error, lines.exec, "exec",
               which + " installs " + Readable(data.executable) +
                   ": the game button and the shortcuts would start a program that is not there; list it as "
                   "(TYPE0,folder,path) with the folder and name of exec");
}

CheckReport VerifySetupFile(os::FileSystem& fs, const std::string& sourceFolder) {
    CheckReport report;
    report.file = "Setup.ini";
    SetupData data;
    std::string reason;
    if (!data.readSetupFile(fs, sourceFolder + "Setup.ini", &reason)) {
        report.add(Severity::Error, 0, "", "cannot be read: " + reason);
        return report;
    }
    if (!IsSafeFileName(data.title))
        report.add(
            Severity::Error, 0, "title",
            "\"" + Readable(data.title) + "\" cannot be a folder name: the setup refuses the medium at start-up");
    for (InstallType t : {0, 1})
        report.types.push_back({t, static_cast<std::size_t>(data.fileCountOfType(t)), data.totalSizeOfType(t)});
    for (std::size_t i = 0; i < data.files.size(); ++i) {
        const FileEntry& e = *data.files[i];
        std::string relative = data.EntryRelativePath(BelongsToType(e, 0) ? 0 : 1, i);
        if (relative.empty()) {
            report.add(Severity::Warning, 0, Readable(e.name), "belongs to no install type: never copied");
            continue;
        }
        const std::string onMedium = InstallSourceOnMedium(data.dataFolder, relative);
        const std::string key = Readable(onMedium);
        os::FoundFile found;
        os::OpenRequest read;
        read.read = true;
        read.shareRead = true;
        if (!fs.FindFile(sourceFolder + onMedium, found)) {
            report.add(Severity::Error, 0, key, "missing: the install copies it from here");
        } else if (found.attributes & os::kAttributeFolder) {
            report.add(Severity::Error, 0, key, "is a folder, not the file the install copies");
        } else if (!fs.Open(sourceFolder + onMedium, read)) {
            report.add(Severity::Error, 0, key, "cannot be opened for reading");
        } else if (found.size != e.size) {
            report.add(Severity::Error, 0, key,
                       "is " + std::to_string(found.size) + " bytes, Setup.ini records " + std::to_string(e.size) +
                           ": the install fails on it; register the medium again");
        }
        std::string problem = DiscNameProblem(relative);
        if (problem.empty()) problem = DiscPathProblem(onMedium);
        if (!problem.empty()) report.add(Severity::Error, 0, key, problem);
    }
    CheckProgramAndMedium(fs, sourceFolder, data, {}, report);
    return report;
}

}  // namespace setupdata
