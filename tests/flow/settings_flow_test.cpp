// The install settings page as the player finds and uses it.
#include "flow/flow_support.h"
#include "pages/page_host.h"
#include "platform/disk_free_space.h"
#include "support/system_text.h"

namespace flow {
namespace {

const std::string kFormatVoiceless(SJ("音声なしｲﾝｽﾄｰﾙ　（約 %sﾊﾞｲﾄ）"));

std::string freeText(const std::string& root) {
    std::uint64_t bytes = 0;
    platform::DiskFreeSpace query(os::systemFileSystem(), root, bytes);
    return platform::freeSpaceText(query.succeeded ? bytes : 0);
}

// Opens the settings page, then runs the steps.
void OnSettingsPage(SetupRun& s, std::vector<HeadlessWindowSystem::PlayerStep> steps) {
    s.Then([&s](HeadlessWindowSystem&) { s.Click(201, 1001); });
    for (auto& step : steps) s.Then(std::move(step));
}

TEST(SettingsFlow, TheDefaultsAtStart) {
    SetupRun s;
    s.Start();
    OnSettingsPage(s, {[&](HeadlessWindowSystem& ws) {
        ui::WindowHandle page = s.Page(202);
        EXPECT_EQ(s.Text(202, 1007), "C:\\" + kTitle);
        EXPECT_EQ(s.Text(202, 1000), freeText("C:\\"));
        EXPECT_TRUE(ws.GetCheck(page, 1006));
        EXPECT_FALSE(ws.GetCheck(page, 1005));
        EXPECT_TRUE(ws.GetCheck(page, 1009));
        EXPECT_TRUE(ws.GetCheck(page, 1004));
        EXPECT_EQ(s.Text(202, 1005), sj(SJ("音声なしｲﾝｽﾄｰﾙ　（約 2.05Kﾊﾞｲﾄ）")));
        EXPECT_EQ(s.Text(202, 1006), sj(SJ("ﾌﾙｲﾝｽﾄｰﾙ　　　　 （約   1Mﾊﾞｲﾄ）")));
        EXPECT_TRUE(s.FocusIs(202, 1));
    }});
    s.Run();
}

TEST(SettingsFlow, TheChooserSetsTheRootAndTheTitleFollows) {
    SetupRun s;
    s.Start();
    const std::string games = s.medium.path("Games");
    std::filesystem::create_directories(s.medium.host("Games"));
    OnSettingsPage(s, {
        [&](HeadlessWindowSystem& ws) {
            ws.QueueFolderChoice({});  // cancelled
            s.Click(202, 1008);
        },
        [&](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Choosers().size(), 1u);
            EXPECT_EQ(ws.Choosers()[0].title, sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定")));
            EXPECT_EQ(ws.Choosers()[0].initialPath, "C:\\");
            EXPECT_EQ(ws.Choosers()[0].owner, s.Page(202));
            EXPECT_EQ(s.context->installRoot, "C:\\");
            EXPECT_EQ(s.Text(202, 1007), "C:\\" + kTitle);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, games});
            s.Click(202, 1008);
        },
        [&](HeadlessWindowSystem& ws) {
            EXPECT_EQ(s.context->installRoot, games);
            EXPECT_EQ(s.Text(202, 1007), games + "\\" + kTitle);
            EXPECT_EQ(s.Text(202, 1000).substr(0, 1), " ");
            EXPECT_NE(s.Text(202, 1000), platform::freeSpaceText(0));  // measured at the chosen folder
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path().substr(0, 3)});
            s.Click(202, 1008);
        },
        [&](HeadlessWindowSystem& ws) {
            EXPECT_EQ(ws.Choosers()[2].initialPath, games);
            const std::string root = s.medium.path().substr(0, 3);  // a drive root: no doubled backslash
            EXPECT_EQ(s.Text(202, 1007), root + kTitle);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::NoPath, {}});
            s.Click(202, 1008);
        },
        [&](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Boxes().size(), 1u);
            EXPECT_EQ(ws.Boxes()[0].text, sj(SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞの指定に失敗しました！")));
            EXPECT_EQ(ws.Boxes()[0].caption, sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞのｴﾗｰ")));
            EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconWarning);
            EXPECT_EQ(ws.Boxes()[0].owner, s.Page(129));
            EXPECT_EQ(s.context->installRoot, s.medium.path().substr(0, 3));  // unchanged
        },
    });
    s.Run();
}

// The game reads its folder as CP932 from its profile: a root it could not spell is refused,
// whatever the chooser's answer looks like without its accent.
TEST(SettingsFlow, AnInstallRootCp932CannotSpellIsRefused) {
    SetupRun s;
    s.Start();
    OnSettingsPage(s, {
        [&](HeadlessWindowSystem& ws) {
            for (std::u16string_view name : {u"Caf\u00E9", u"\u00A5Games", u"\uAC8C\uC784", u"\uE000"})
                ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path() + support::fromUtf16(name)});
            for (int i = 0; i < 4; ++i) s.Click(202, 1008);
        },
        [&](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Boxes().size(), 4u);
            for (const auto& box : ws.Boxes()) {
                EXPECT_EQ(box.text, sj(SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞの指定に失敗しました！")));
                EXPECT_EQ(box.caption, sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞのｴﾗｰ")));
            }
            EXPECT_EQ(s.context->installRoot, "C:\\");
            EXPECT_EQ(s.Text(202, 1007), "C:\\" + kTitle);
        },
    });
    s.Run();
}

TEST(SettingsFlow, LeavingAndComingBackKeepsEveryChoice) {
    SetupRun s;
    s.Start();
    OnSettingsPage(s, {
        [&](HeadlessWindowSystem& ws) {
            s.Click(202, 1005);
            s.Click(202, 1004);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
            s.Click(202, 1008);
            s.Click(202, 2);
        },
        [&](HeadlessWindowSystem& ws) {
            EXPECT_TRUE(s.Visible(201));
            ws.PressKey(ui::kVkReturn);
        },
        [&](HeadlessWindowSystem& ws) {
            ui::WindowHandle page = s.Page(202);
            EXPECT_TRUE(s.Visible(202));
            EXPECT_TRUE(ws.GetCheck(page, 1005));
            EXPECT_FALSE(ws.GetCheck(page, 1006));
            EXPECT_TRUE(ws.GetCheck(page, 1009));
            EXPECT_FALSE(ws.GetCheck(page, 1004));
            EXPECT_EQ(s.Text(202, 1007), s.medium.path() + kTitle);
            EXPECT_EQ(s.Text(202, 1005), sj(SJ("音声なしｲﾝｽﾄｰﾙ　（約 2.05Kﾊﾞｲﾄ）")));  // formatted once
        },
    });
    s.Run();
}

TEST(SettingsFlow, TwoPressesBeforeAStepCountOnce) {
    SetupRun s;
    s.Start();
    s.context->installRoot = "Q:\\";  // no such drive: validation stops at the free space
    OnSettingsPage(s, {
        [&](HeadlessWindowSystem&) {
            s.Click(202, 2);
            s.Click(202, 1);  // overwrites the Cancel
        },
        [&](HeadlessWindowSystem& ws) {
            EXPECT_TRUE(s.Visible(202));
            EXPECT_EQ(ws.Choosers().size(), 1u);  // validation ran once
            ASSERT_EQ(ws.Boxes().size(), 1u);
            EXPECT_EQ(ws.Boxes()[0].text, "Q" + sj(SJ(" ドライブに十分な空き容量がありません。")));
            EXPECT_EQ(ws.Boxes()[0].caption, sj(SJ("インストール先のエラー")));
        },
    });
    s.Run();
    // Welcome page: Install then Cancel before the controller runs leaves only Cancel.
    SetupRun t;
    t.Start();
    t.Then([&](HeadlessWindowSystem&) {
        t.Click(201, 1001);
        t.Click(201, 2);
    });
    EXPECT_EQ(t.Run(), 1);
}

TEST(SettingsFlow, TabWalksTheTabStopsInTemplateOrder) {
    SetupRun s;
    s.Start();
    std::vector<int> order;
    std::vector<HeadlessWindowSystem::PlayerStep> steps;
    for (int i = 0; i < 8; ++i)
        steps.push_back([&](HeadlessWindowSystem& ws) {
            order.push_back(ws.ControlId(ws.Focus()));
            ws.PressKey(ui::kVkTab);
        });
    OnSettingsPage(s, std::move(steps));
    s.Run();
    // The checked radio button is a tab stop too, as the page checked it, not a click.
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1008, 1005, 1006, 1009, 1004, 1}));
}

}  // namespace
}  // namespace flow
