// The install settings page as the player finds and uses it.
#include "flow/flow_support.h"
#include "pages/page_host.h"
#include "platform/disk_free_space.h"
#include "support/system_text.h"

namespace flow {
namespace {

const std::string kFormatVoiceless(SJ("音声なしｲﾝｽﾄｰﾙ　（約 %sﾊﾞｲﾄ）"));

std::string FreeText(const std::string& root) {
    std::uint64_t bytes = 0;
    platform::DiskFreeSpace query(os::SystemFileSystem(), root, bytes);
    return platform::FreeSpaceText(query.succeeded ? bytes : 0);
}

// Opens the settings page, then runs the steps.
void OnSettingsPage(SetupRun& s, std::vector<HeadlessWindowSystem::PlayerStep> steps) {
    s.Then([&s](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
    for (auto& step : steps) s.Then(std::move(step));
}

TEST(SettingsFlow, TheDefaultsAtStart) {
    SetupRun s;
    s.Start();
    OnSettingsPage(s, {[&](HeadlessWindowSystem&) {
                       EXPECT_EQ(s.Text(Settings::InstallFolder), "C:\\" + kTitle);
                       EXPECT_EQ(s.Text(Settings::FreeSpace), FreeText("C:\\"));
                       EXPECT_TRUE(s.Checked(Settings::FullInstall));
                       EXPECT_FALSE(s.Checked(Settings::VoicelessInstall));
                       EXPECT_TRUE(s.Checked(Settings::StartMenu));
                       EXPECT_TRUE(s.Checked(Settings::DesktopShortcut));
                       EXPECT_EQ(s.Text(Settings::VoicelessInstall), Sj(SJ("音声なしｲﾝｽﾄｰﾙ　（約 2.05Kﾊﾞｲﾄ）")));
                       EXPECT_EQ(s.Text(Settings::FullInstall), Sj(SJ("ﾌﾙｲﾝｽﾄｰﾙ　　　　 （約   1Mﾊﾞｲﾄ）")));
                       EXPECT_TRUE(s.FocusIs(Settings::Install));
                   }});
    s.Run();
}

TEST(SettingsFlow, TheChooserSetsTheRootAndTheTitleFollows) {
    SetupRun s;
    s.Start();
    const std::string games = s.medium.path("Games");
    std::filesystem::create_directories(s.medium.host("Games"));
    OnSettingsPage(
        s, {
               [&](HeadlessWindowSystem& ws) {
                   ws.QueueFolderChoice({});  // cancelled
                   s.Click(Settings::Browse);
               },
               [&](HeadlessWindowSystem& ws) {
                   ASSERT_EQ(ws.Choosers().size(), 1u);
                   EXPECT_EQ(ws.Choosers()[0].title, Sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定")));
                   EXPECT_EQ(ws.Choosers()[0].initialPath, "C:\\");
                   EXPECT_EQ(ws.Choosers()[0].owner, s.Page(202));
                   EXPECT_EQ(s.context->installRoot, "C:\\");
                   EXPECT_EQ(s.Text(Settings::InstallFolder), "C:\\" + kTitle);
                   ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, games});
                   s.Click(Settings::Browse);
               },
               [&](HeadlessWindowSystem& ws) {
                   EXPECT_EQ(s.context->installRoot, games);
                   EXPECT_EQ(s.Text(Settings::InstallFolder), games + "\\" + kTitle);
                   EXPECT_EQ(s.Text(Settings::FreeSpace).substr(0, 1), " ");
                   EXPECT_NE(s.Text(Settings::FreeSpace), platform::FreeSpaceText(0));  // measured at the chosen folder
                   ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path().substr(0, 3)});
                   s.Click(Settings::Browse);
               },
               [&](HeadlessWindowSystem& ws) {
                   EXPECT_EQ(ws.Choosers()[2].initialPath, games);
                   const std::string root = s.medium.path().substr(0, 3);  // a drive root: no doubled backslash
                   EXPECT_EQ(s.Text(Settings::InstallFolder), root + kTitle);
                   ws.QueueFolderChoice({ui::FolderChoice::Outcome::NoPath, {}});
                   s.Click(Settings::Browse);
               },
               [&](HeadlessWindowSystem& ws) {
                   ASSERT_EQ(ws.Boxes().size(), 1u);
                   EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞの指定に失敗しました！")));
                   EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞのｴﾗｰ")));
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
    OnSettingsPage(s,
                   {
                       [&](HeadlessWindowSystem& ws) {
                           for (std::u16string_view name : {u"Caf\u00E9", u"\u00A5Games", u"\uAC8C\uC784", u"\uE000"})
                               ws.QueueFolderChoice(
                                   {ui::FolderChoice::Outcome::Chosen, s.medium.path() + support::FromUtf16(name)});
                           for (int i = 0; i < 4; ++i) s.Click(Settings::Browse);
                       },
                       [&](HeadlessWindowSystem& ws) {
                           ASSERT_EQ(ws.Boxes().size(), 4u);
                           for (const auto& box : ws.Boxes()) {
                               EXPECT_EQ(box.text, Sj(SJ("ｲﾝｽﾄｰﾙ先のﾌｫﾙﾀﾞの指定に失敗しました！")));
                               EXPECT_EQ(box.caption, Sj(SJ("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞのｴﾗｰ")));
                           }
                           EXPECT_EQ(s.context->installRoot, "C:\\");
                           EXPECT_EQ(s.Text(Settings::InstallFolder), "C:\\" + kTitle);
                       },
                   });
    s.Run();
}

TEST(SettingsFlow, LeavingAndComingBackKeepsEveryChoice) {
    SetupRun s;
    s.Start();
    OnSettingsPage(s, {
                          [&](HeadlessWindowSystem& ws) {
                              s.Click(Settings::VoicelessInstall);
                              s.Click(Settings::DesktopShortcut);
                              ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
                              s.Click(Settings::Browse);
                              s.Click(Settings::Cancel);
                          },
                          [&](HeadlessWindowSystem& ws) {
                              EXPECT_TRUE(s.Visible(201));
                              ws.PressKey(ui::kVkReturn);
                          },
                          [&](HeadlessWindowSystem&) {
                              EXPECT_TRUE(s.Visible(202));
                              EXPECT_TRUE(s.Checked(Settings::VoicelessInstall));
                              EXPECT_FALSE(s.Checked(Settings::FullInstall));
                              EXPECT_TRUE(s.Checked(Settings::StartMenu));
                              EXPECT_FALSE(s.Checked(Settings::DesktopShortcut));
                              EXPECT_EQ(s.Text(Settings::InstallFolder), s.medium.path() + kTitle);
                              EXPECT_EQ(s.Text(Settings::VoicelessInstall),
                                        Sj(SJ("音声なしｲﾝｽﾄｰﾙ　（約 2.05Kﾊﾞｲﾄ）")));  // formatted once
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
                              s.Click(Settings::Cancel);
                              s.Click(Settings::Install);  // overwrites the Cancel
                          },
                          [&](HeadlessWindowSystem& ws) {
                              EXPECT_TRUE(s.Visible(202));
                              EXPECT_EQ(ws.Choosers().size(), 1u);  // validation ran once
                              ASSERT_EQ(ws.Boxes().size(), 1u);
                              EXPECT_EQ(ws.Boxes()[0].text, "Q" + Sj(SJ(" ドライブに十分な空き容量がありません。")));
                              EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("インストール先のエラー")));
                          },
                      });
    s.Run();
    // Welcome page: Install then Cancel before the controller runs leaves only Cancel.
    SetupRun t;
    t.Start();
    t.Then([&](HeadlessWindowSystem&) {
        t.Click(Welcome::InstallOrUninstall);
        t.Click(Welcome::Cancel);
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
    EXPECT_EQ(order, (std::vector<int>{ui::Id(Settings::Install), ui::Id(Settings::Cancel), ui::Id(Settings::Browse),
                                       ui::Id(Settings::VoicelessInstall), ui::Id(Settings::FullInstall),
                                       ui::Id(Settings::StartMenu), ui::Id(Settings::DesktopShortcut),
                                       ui::Id(Settings::Install)}));
}

}  // namespace
}  // namespace flow
