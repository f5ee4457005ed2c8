// The conformance suite on the Win32 window system against the real user32, comctl32 and
// shell32. A modal box or chooser runs its own loop on the test's thread, so a second thread
// finds it, reads what it shows and presses a button.
#include "conformance/window_system_conformance.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "support/system_text.h"
#include "ui/win32/win32_window_system.h"
#include "wine/win32_test_windows.h"

namespace conformance {
namespace {

HWND HwndOf(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle HandleOf(HWND w) { return reinterpret_cast<WindowHandle>(w); }

// What the player reads, in the setup's own CP932 form.
std::string TextOf(HWND w) {
    const std::wstring wide = win32_test::WideTextOf(w);
    return support::FromUtf16(std::u16string(wide.begin(), wide.end()));
}

// The box's buttons and icon, as the flags that ask for them.
std::uint32_t FlagsOf(HWND box) {
    std::uint32_t flags = GetDlgItem(box, IDYES) ? ui::kMbYesNo : ui::kMbOk;
    const std::pair<int, std::uint32_t> icons[] = {{32513, ui::kMbIconError},
                                                   {32514, ui::kMbIconQuestion},
                                                   {32515, ui::kMbIconWarning},
                                                   {32516, ui::kMbIconInformation}};
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        const auto icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
        for (auto [resource, flag] : icons)
            if (icon && icon == LoadIconW(nullptr, MAKEINTRESOURCEW(resource))) flags |= flag;
    }
    return flags;
}

// A second thread that waits for a modal dialog of the given thread and acts on it.
class ModalWatcher {
public:
    ModalWatcher(DWORD thread, std::function<void(HWND)> act)
        : thread_(thread), worker_([this, act] {
              for (int i = 0; i < 400 && !found_; ++i) {
                  EnumThreadWindows(thread_, &ModalWatcher::find, reinterpret_cast<LPARAM>(this));
                  if (!found_) std::this_thread::sleep_for(std::chrono::milliseconds(25));
              }
              if (found_) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let it settle
                  act(found_);
              }
          }) {}
    ~ModalWatcher() { worker_.join(); }

private:
    static BOOL CALLBACK find(HWND w, LPARAM self) {
        if (!IsWindowVisible(w) || win32_test::ClassOf(w) != L"#32770") return TRUE;
        reinterpret_cast<ModalWatcher*>(self)->found_ = w;
        return FALSE;
    }
    DWORD thread_;
    std::atomic<HWND> found_{nullptr};
    std::thread worker_;
};

// The chooser's title line.
constexpr int kChooserTitle = 14146;

class Win32Driver {
public:
    static bool Available() { return win32_test::HaveDesktop(); }
    Win32Driver() { ui::win32::InitializeCommonControls(); }
    ui::WindowSystem& System() { return ws_; }

    // The player's mouse reaches only an enabled, visible button.
    void Click(WindowHandle dialog, int id) {
        HWND control = GetDlgItem(HwndOf(dialog), id);
        if (control && IsWindowEnabled(control) && IsWindowVisible(control)) SendMessageW(control, BM_CLICK, 0, 0);
    }
    void Key(std::uintptr_t virtualKey) { PostMessageW(GetFocus(), WM_KEYDOWN, virtualKey, 0); }
    WindowHandle Focus() { return HandleOf(GetFocus()); }
    bool IsEnabled(WindowHandle dialog, int id) {
        HWND control = GetDlgItem(HwndOf(dialog), id);
        return control && IsWindowEnabled(control);
    }
    Progress ProgressOf(WindowHandle dialog, int id) {
        HWND bar = GetDlgItem(HwndOf(dialog), id);
        return {static_cast<std::uint32_t>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)),
                static_cast<int>(SendMessageW(bar, PBM_GETSTEP, 0, 0)),
                static_cast<std::uint32_t>(SendMessageW(bar, PBM_GETPOS, 0, 0))};
    }

    void AnswerNextBox(int answer) {
        watcher_.reset();
        watcher_ = std::make_unique<ModalWatcher>(GetCurrentThreadId(), [this, answer](HWND box) {
            ShownBox shown{HandleOf(GetWindow(box, GW_OWNER)), TextOf(GetDlgItem(box, 0xFFFF)), TextOf(box),
                           FlagsOf(box)};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(shown);
            }
            PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        });
    }
    std::vector<ShownBox> Boxes() {
        watcher_.reset();
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }

    // OK waits until the tree shows the folder selected: a fresh prefix fills the tree slowly.
    void AnswerNextChooser(bool ok, const std::string& initialPath) {
        std::u16string wanted;
        support::ToUtf16(initialPath, wanted);
        ListedLongAgo(std::wstring(wanted.begin(), wanted.end()));
        wanted.erase(0, wanted.find_last_of(u'\\') + 1);
        watcher_.reset();
        watcher_ = std::make_unique<ModalWatcher>(GetCurrentThreadId(), [this, ok, wanted](HWND chooser) {
            HWND tree = FindWindowExW(chooser, nullptr, L"SysTreeView32", nullptr);
            for (int i = 0; ok && tree && i < 600; ++i) {
                wchar_t text[MAX_PATH] = {};
                TVITEMW item{};
                item.mask = TVIF_TEXT;
                item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                item.pszText = text;
                item.cchTextMax = MAX_PATH;
                if (item.hItem && SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
                    std::u16string(text, text + wcslen(text)) == wanted)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            ShownChooser shown{HandleOf(GetWindow(chooser, GW_OWNER)), TextOf(GetDlgItem(chooser, kChooserTitle))};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                choosers_.push_back(shown);
            }
            PostMessageW(chooser, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
        });
    }
    std::vector<ShownChooser> Choosers() {
        watcher_.reset();
        std::lock_guard<std::mutex> lock(mutex_);
        return choosers_;
    }

private:
    // A folder listed before its last change is listed again on its next read, which moves its
    // access time: so every folder of a player's path that changed since it was last looked at.
    static void ListedLongAgo(const std::wstring& path) {
        FILETIME longAgo{};
        SYSTEMTIME y2000{2000, 1, 0, 1, 0, 0, 0, 0};
        SystemTimeToFileTime(&y2000, &longAgo);
        for (std::size_t end = path.find(L'\\', 3);; end = path.find(L'\\', end + 1)) {
            HANDLE h =
                CreateFileW(path.substr(0, end).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            EXPECT_TRUE(SetFileTime(h, nullptr, &longAgo, nullptr));
            CloseHandle(h);
            if (end == std::wstring::npos) break;
        }
    }

    ui::win32::Win32WindowSystem ws_;
    std::mutex mutex_;
    std::vector<ShownBox> boxes_;
    std::vector<ShownChooser> choosers_;
    std::unique_ptr<ModalWatcher> watcher_;  // last: joined before what it writes goes
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowSystemConformance, testing::Types<Win32Driver>);

}  // namespace
}  // namespace conformance
