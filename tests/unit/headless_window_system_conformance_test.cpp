// The conformance suite on the headless window system, the stand-in the flow tests drive.
#include "conformance/window_system_conformance.h"

#include "ui/headless/headless_window_system.h"

namespace conformance {
namespace {

using ui::headless::HeadlessWindowSystem;

class HeadlessDriver {
public:
    static bool Available() { return true; }
    ui::WindowSystem& System() { return ws_; }
    void Click(WindowHandle dialog, int id) { ws_.Click(dialog, id); }
    void Key(std::uintptr_t virtualKey) { ws_.PressKey(virtualKey); }
    WindowHandle Focus() { return ws_.Focus(); }
    bool IsEnabled(WindowHandle dialog, int id) { return ws_.IsEnabled(dialog, id); }
    Progress ProgressOf(WindowHandle dialog, int id) {
        const HeadlessWindowSystem::Progress p = ws_.ProgressOf(dialog, id);
        return {p.max, p.step, p.pos};
    }
    void AnswerNextBox(int answer) { ws_.QueueAnswer(answer); }
    // The system records the owner it was given; the box belongs to that window's top level.
    std::vector<ShownBox> Boxes() {
        std::vector<ShownBox> shown;
        for (const auto& b : ws_.Boxes()) shown.push_back({TopLevelOf(ws_, b.owner), b.text, b.caption, b.flags});
        return shown;
    }
    void AnswerNextChooser(bool ok, const std::string&) {
        if (ok)
            ws_.QueueFolderOk();
        else
            ws_.QueueFolderChoice({});
    }
    std::vector<ShownChooser> Choosers() {
        std::vector<ShownChooser> shown;
        for (const auto& c : ws_.Choosers()) shown.push_back({TopLevelOf(ws_, c.owner), c.title});
        return shown;
    }

private:
    HeadlessWindowSystem ws_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Headless, WindowSystemConformance, testing::Types<HeadlessDriver>);

}  // namespace
}  // namespace conformance
