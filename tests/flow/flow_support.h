#pragma once
// A medium in a temp folder, a context built from it as at start-up, and a headless window
// system for the player.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/startup.h"
#include "os/shell.h"
#include "pages/page_host.h"
#include "setupdata/setup_context.h"
#include "support/cp932_literal.h"
#include "test_support.h"
#include "ui/headless/headless_window_system.h"

namespace flow {

using ui::headless::HeadlessWindowSystem;

// The pages' controls, each enum naming its page.
using Welcome = pages::WelcomeControl;
using Settings = pages::InstallSettingsControl;
using Copying = pages::CopyProgressControl;
using UninstallSettings = pages::UninstallSettingsControl;
using Uninstalling = pages::UninstallProgressControl;

inline int DialogOf(Welcome) { return pages::kWelcomeDialog.id; }
inline int DialogOf(Settings) { return pages::kInstallSettingsDialog.id; }
inline int DialogOf(Copying) { return pages::kCopyProgressDialog.id; }
inline int DialogOf(UninstallSettings) { return pages::kUninstallSettingsDialog.id; }
inline int DialogOf(Uninstalling) { return pages::kUninstallProgressDialog.id; }

// The start-up box, which must come before any window.
class StartupBox : public setupdata::StartupErrorBox {
public:
    explicit StartupBox(HeadlessWindowSystem& ws) : ws_(ws) {}
    void Show(const std::string& text) override {
        EXPECT_EQ(ws_.MainWindow(), nullptr);
        shown.push_back(text);
    }
    std::vector<std::string> shown;

private:
    HeadlessWindowSystem& ws_;
};

inline const std::string kTitle(SJ("星降る丘の物語"));

// A description of two folders and files of both types: 100 + 2000 bytes for the voice-less
// install, 1,048,576 more for the full one.
inline setupdata::SetupData DemoDescription(const std::string& registryRoot) {
    setupdata::SetupData d;
    d.title = kTitle;
    d.registryRoot = registryRoot;
    d.directXFolder = "DirectX\\";
    d.executable = "Game.exe";
    d.saveSlotCount = 3;
    d.folders = {"Data", "Voice"};
    d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{-1, "Game.exe", 100, -1}));
    d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{-1, "a.pak", 2000, 0}));
    d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{2, "v.pak", 1048576, 1}));
    return d;
}

inline std::string UniqueRegistryRoot() {
    static int counter = 0;
    return "Software\\SetupFlow\\" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
           std::to_string(++counter) + "\\";
}

class SetupRun {
public:
    // `mediumName` ends the name of the medium's folder.
    explicit SetupRun(std::u8string_view mediumName = {})
        : medium(mediumName), box(ws), registryRoot(UniqueRegistryRoot()), description(DemoDescription(registryRoot)) {}

    // Writes Setup.ini (unless told otherwise) and builds the context from the medium.
    // The medium's files of demoDescription, with bytes of their own.
    void WriteFiles(std::size_t voiceSize = 1048576) {
        auto bytes = [](std::size_t n, int seed) {
            std::string b(n, '\0');
            for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<char>((i * 131 + seed) ^ (i >> 9));
            return b;
        };
        medium.write("Game.exe", bytes(100, 1));
        medium.write("Data\\a.pak", bytes(2000, 2));
        medium.write("Voice\\v.pak", bytes(voiceSize, 3));
    }

    void Start(bool writeSetupIni = true) {
        if (writeSetupIni) description.writeSetupFile(os::SystemFileSystem(), medium.path("Setup.ini"));
        testing_support::CurrentFolder cd(medium.path());
        context = std::make_unique<setupdata::SetupContext>(*services, box);
    }
    int Run() { return app::RunSetup(*context, ws); }
    void Then(HeadlessWindowSystem::PlayerStep step) { ws.AddPlayerStep(std::move(step)); }
    ui::WindowHandle Page(int id) { return ws.Dialog(id); }
    bool Visible(int id) { return ws.IsVisible(ws.Dialog(id)); }
    // A control of a page, by its name.
    template <typename Control>
    std::string Text(Control id) {
        return ws.GetText(ws.Dialog(DialogOf(id)), ui::Id(id));
    }
    template <typename Control>
    void Click(Control id) {
        ws.Click(ws.Dialog(DialogOf(id)), ui::Id(id));
    }
    template <typename Control>
    bool FocusIs(Control id) {
        return ws.Focus() == ws.Control(ws.Dialog(DialogOf(id)), ui::Id(id));
    }
    template <typename Control>
    bool Enabled(Control id) {
        return ws.IsEnabled(ws.Dialog(DialogOf(id)), ui::Id(id));
    }
    template <typename Control>
    bool Checked(Control id) {
        return ws.GetCheck(ws.Dialog(DialogOf(id)), ui::Id(id));
    }
    template <typename Control>
    HeadlessWindowSystem::Progress Progress(Control id) {
        return ws.ProgressOf(ws.Dialog(DialogOf(id)), ui::Id(id));
    }

    testing_support::TempFolder medium;
    os::Services* services = &os::SystemServices();
    HeadlessWindowSystem ws;
    StartupBox box;
    std::string registryRoot;
    setupdata::SetupData description;  // what Start writes as Setup.ini
    std::unique_ptr<setupdata::SetupContext> context;

private:
    // The setup moves the current folder about; it goes back before the medium is removed.
    struct KeepCurrentFolder {
        std::filesystem::path saved = std::filesystem::current_path();
        ~KeepCurrentFolder() { std::filesystem::current_path(saved); }
    } keep_;
};

inline std::string Sj(std::string_view text) { return std::string(text); }

// Welcome → settings → a chosen install root → Install, with the medium pointed at when asked.
inline void ChooseAndInstall(SetupRun& s, const std::string& root, const std::vector<Settings>& clicks = {}) {
    s.Then([&s](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
    s.Then([&s, root, clicks](HeadlessWindowSystem& ws) {
        ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, root});
        s.Click(Settings::Browse);
        for (Settings id : clicks) s.Click(id);
        ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});  // where the medium is
        s.Click(Settings::Install);
    });
}

// A temp folder holding an empty "Games", the install root the tests choose.
struct GamesFolder {
    GamesFolder() { std::filesystem::create_directories(target.host("Games")); }
    testing_support::TempFolder target;
    const std::string root = target.path("Games");
    const std::string folder = root + "\\" + kTitle;  // the install folder
};

// The shortcut files of the title in the user's folders, whether they exist or not.
struct ShortcutPlaces {
    explicit ShortcutPlaces(const std::string& title = kTitle) {
        const std::string ext = os::SystemShell().ShortcutExtension();
        os::SystemShell().ProgramsFolder(programs);
        os::SystemShell().DesktopFolder(desktop);
        startMenuFolder = programs + "\\" + title;
        links = {startMenuFolder + "\\" + Sj(SJ("ゲームスタート")) + ext,
                 startMenuFolder + "\\" + Sj(SJ("ヘルプの実行")) + ext, desktop + "\\" + title + ext};
    }
    // Shortcuts an earlier test left.
    void Clear() {
        for (const std::string& link : links) os::SystemFileSystem().RemoveFile(link);
        os::SystemFileSystem().RemoveFolder(startMenuFolder);
    }
    bool Exists(std::size_t i) {
        std::string bytes;
        return os::ReadWholeFile(os::SystemFileSystem(), links[i], bytes);
    }
    std::string programs, desktop, startMenuFolder;
    std::vector<std::string> links;  // Start menu: game, help; then the desktop
};

}  // namespace flow
