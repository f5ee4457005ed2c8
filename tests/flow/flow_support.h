#pragma once
// A medium in a temp folder, a context built from it as at start-up, and a headless window
// system for the player.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "app/startup.h"
#include "setupdata/setup_context.h"
#include "support/cp932_literal.h"
#include "test_support.h"
#include "ui/headless/headless_window_system.h"

namespace flow {

using ui::headless::HeadlessWindowSystem;

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
inline setupdata::SetupData demoDescription(const std::string& registryRoot) {
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

inline std::string uniqueRegistryRoot() {
    static int counter = 0;
    return "Software\\SetupFlow\\" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
           "_" + std::to_string(++counter) + "\\";
}

class SetupRun {
public:
    SetupRun() : box(ws), registryRoot(uniqueRegistryRoot()) {}

    // Writes Setup.ini (unless told otherwise) and builds the context from the medium.
    void Start(bool writeSetupIni = true) {
        if (writeSetupIni) demoDescription(registryRoot).writeSetupFile(os::systemFileSystem(), medium.path("Setup.ini"));
        testing_support::CurrentFolder cd(medium.path());
        context = std::make_unique<setupdata::SetupContext>(os::systemServices(), box);
    }
    int Run() { return app::RunSetup(*context, ws); }
    void Then(HeadlessWindowSystem::PlayerStep step) { ws.AddPlayerStep(std::move(step)); }

    ui::WindowHandle Page(int id) { return ws.Dialog(id); }
    bool Visible(int id) { return ws.IsVisible(ws.Dialog(id)); }
    std::string Text(int page, int id) { return ws.GetText(ws.Dialog(page), id); }
    void Click(int page, int id) { ws.Click(ws.Dialog(page), id); }
    bool FocusIs(int page, int id) { return ws.Focus() == ws.Control(ws.Dialog(page), id); }

    testing_support::TempFolder medium;
    HeadlessWindowSystem ws;
    StartupBox box;
    std::string registryRoot;
    std::unique_ptr<setupdata::SetupContext> context;
};

inline std::string sj(std::string_view text) { return std::string(text); }

}  // namespace flow
