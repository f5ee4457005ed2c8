#include "ui/win32/win32_window_system.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/system_library.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"
#include "ui/win32/dialog_memory_template.h"
#include "ui/win32/font_catalog.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/texts.h"

#include <commctrl.h>
#include <shlobj.h>

namespace ui::win32 {
namespace {

HWND HwndOf(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle HandleOf(HWND w) { return reinterpret_cast<WindowHandle>(w); }

Rect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

MSG MsgOf(const Message& m) {
    MSG msg{};
    msg.hwnd = HwndOf(m.window);
    msg.message = m.code;
    msg.wParam = m.wParam;
    msg.lParam = m.lParam;
    msg.time = m.time;
    msg.pt.x = m.x;
    msg.pt.y = m.y;
    return msg;
}

Message MessageOf(const MSG& msg) {
    Message m;
    m.window = HandleOf(msg.hwnd);
    m.code = msg.message;
    m.wParam = msg.wParam;
    m.lParam = msg.lParam;
    m.time = msg.time;
    m.x = msg.pt.x;
    m.y = msg.pt.y;
    return m;
}

std::wstring ShownText(HWND window) {
    if (!window) return {};
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::string WindowText(HWND window) { return TextFromDisplay(ShownText(window)); }

// Nothing thrown may cross a frame of Windows: the i686 unwinder cannot pass one and ends the
// process, in the middle of whatever it was doing (a rollback, say). So every procedure Windows
// calls catches all at its boundary and answers as for a failed or unhandled message.
LRESULT MainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* handler = reinterpret_cast<MainWindowHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!handler) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE: return handler->OnCreate(HandleOf(window)) ? 0 : -1;
        case WM_DESTROY: handler->OnDestroy(HandleOf(window)); return 0;
        case WM_NCDESTROY: SetWindowLongPtrW(window, GWLP_USERDATA, 0); break;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) handler->OnSize(HandleOf(window), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SETFOCUS: {
            // The focus belongs to the page host, which hands it on to its visible page.
            HWND client = GetWindow(window, GW_CHILD);
            if (client && IsWindowVisible(client)) ::SetFocus(client);
            return 0;
        }
        case WM_ERASEBKGND:
            if (GetWindow(window, GW_CHILD)) return 1;  // the page host covers the whole client area
            break;
        default: break;
    }
    // WM_CLOSE included: the default handling destroys the window.
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return MainWindowMessage(window, message, wParam, lParam);
    } catch (...) {
        // The main window's end is the setup's end, even when its handler failed.
        if (message == WM_DESTROY) PostQuitMessage(1);
        return message == WM_CREATE ? -1 : 0;
    }
}

struct DialogStart {
    DialogHandler* handler;
    int templateId;
};

INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* start = reinterpret_cast<DialogStart*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(start->handler));
        // A child dialog's id is its template number, so the host finds a page with GetDlgItem
        // just as a page finds its controls.
        SetWindowLongPtrW(dialog, GWLP_ID, start->templateId);
        return start->handler->OnInitDialog(HandleOf(dialog)) ? TRUE : FALSE;
    }
    auto* handler = reinterpret_cast<DialogHandler*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_COMMAND && handler && handler->OnCommand(HandleOf(dialog), LOWORD(wParam))) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return DialogMessage(dialog, message, wParam, lParam);
    } catch (...) {
        // A page that could not be set up is no page: its creation then answers null.
        if (message == WM_INITDIALOG) DestroyWindow(dialog);
        return FALSE;
    }
}

// Enter and Esc on a page. IsDialogMessage sends the commands of these keys not to a DS_CONTROL
// child dialog but to the outermost dialog, the page host, and takes the default button from the
// host's state; so the page answers them itself, as a dialog of its own would: Esc is Cancel,
// Enter presses the focused push button, else the page's default button, else OK.
bool RoutePageKey(HWND page, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
    if (!(GetWindowLongPtrW(page, GWL_STYLE) & DS_CONTROL)) return false;
    if (msg.hwnd != page && !IsChild(page, msg.hwnd)) return false;
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    int id = IDCANCEL;
    HWND control = nullptr;
    if (msg.wParam == VK_RETURN) {
        if (msg.hwnd != page && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            control = msg.hwnd;
            id = GetDlgCtrlID(control);
        } else {
            const LRESULT byDefault = SendMessageW(page, DM_GETDEFID, 0, 0);
            id = HIWORD(byDefault) == DC_HASDEFID ? LOWORD(byDefault) : IDOK;
            control = GetDlgItem(page, id);
            if (control && !IsWindowEnabled(control)) return true;
        }
    } else {
        control = GetDlgItem(page, IDCANCEL);
    }
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    return true;
}

struct ChooserStart {
    const wchar_t* initialPath;
    HFONT textFont;  // null: the chooser's own
};

int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM, LPARAM startData) {
    const auto* start = reinterpret_cast<const ChooserStart*>(startData);
    if (message != BFFM_INITIALIZED) return 0;
    try {
        // Wine matches the path it parses against the tree's items, access times included, and
        // its parse moves the access time of a folder changed since it was last listed: the
        // first try can miss; the second finds the times settled.
        const auto select = [&] {
            return SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->initialPath));
        };
        if (!select()) select();
        if (start->textFont) SetChooserTextFont(chooser, start->textFont);
    } catch (...) {
        // The chooser keeps its own start and font.
    }
    return 0;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kMainWindowClass, &existing)) return true;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = 0;
    cls.lpfnWndProc = MainWindowProc;
    cls.hInstance = instance;
    // The system's icon sizes grow with its DPI: a fixed 32 and 16 would be stretched, blurred.
    auto icon = [instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                             GetSystemMetrics(width), GetSystemMetrics(height), LR_DEFAULTCOLOR));
    };
    cls.hIcon = icon(SM_CXICON, SM_CYICON);
    cls.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    cls.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&cls) != 0;
}

LRESULT SendToControl(WindowHandle dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(HwndOf(dialog), id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

}  // namespace

void InitializeCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    // Loaded from the system's folder: comctl32 is no known DLL, so an import would be searched
    // for beside Setup.exe before the setup's first line.
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = os::win32::SystemFunction<Init>(L"comctl32.dll", "InitCommonControlsEx")) init(&controls);
}

void ShowStartupError(const std::string& text) {
    MessageBoxW(nullptr, DisplayText(text).c_str(), nullptr, MB_OK | MB_ICONERROR);
}

Win32WindowSystem::Win32WindowSystem()
    : instance_(GetModuleHandleW(nullptr)),
      accelerators_(LoadAcceleratorsW(static_cast<HINSTANCE>(instance_), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

Win32WindowSystem::~Win32WindowSystem() = default;

WindowHandle Win32WindowSystem::CreateMainWindow(MainWindowHandler& handler, const std::string& caption) {
    auto instance = static_cast<HINSTANCE>(instance_);
    if (!RegisterMainWindowClass(instance)) return nullptr;
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    HWND window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kMainWindowClass, DisplayText(caption).c_str(),
                                  WS_CAPTION | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, menu, instance, &handler);
    // A window that failed in WM_CREATE took its menu along; one never made did not.
    if (!window && menu && IsMenu(menu)) DestroyMenu(menu);
    return HandleOf(window);
}

WindowHandle Win32WindowSystem::CreateDialogWindow(const DialogTemplate& dialog, WindowHandle parent,
                                                   DialogHandler& handler) {
    std::vector<std::uint16_t> words =
        dialogFace_.empty() ? BuildDialogTemplate(dialog) : BuildDialogTemplate(dialog, dialogFace_);
    DialogStart start{&handler, dialog.id};
    HWND created = CreateDialogIndirectParamW(static_cast<HINSTANCE>(instance_),
                                              reinterpret_cast<const DLGTEMPLATE*>(words.data()), HwndOf(parent),
                                              DialogProc, reinterpret_cast<LPARAM>(&start));
    // Gone already when its set-up failed (DialogProc destroyed it).
    return HandleOf(created && IsWindow(created) ? created : nullptr);
}

void Win32WindowSystem::DestroyWindow(WindowHandle window) {
    progressBars_.clear();
    if (window) ::DestroyWindow(HwndOf(window));
}

void Win32WindowSystem::ShowWindow(WindowHandle window, bool show) {
    HWND w = HwndOf(window);
    int command = show ? SW_SHOW : SW_HIDE;
    // The first top-level window shown takes the show state the process was started with.
    if (show && !(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD) && !mainWindowShown_) {
        command = SW_SHOWDEFAULT;
        mainWindowShown_ = true;
    }
    ::ShowWindow(w, command);
}

bool Win32WindowSystem::IsVisible(WindowHandle window) { return IsWindowVisible(HwndOf(window)) != FALSE; }

WindowHandle Win32WindowSystem::ParentOf(WindowHandle window) { return HandleOf(GetParent(HwndOf(window))); }

void Win32WindowSystem::RemoveMenu(WindowHandle window) {
    HMENU menu = GetMenu(HwndOf(window));
    SetMenu(HwndOf(window), nullptr);
    if (menu) DestroyMenu(menu);  // a menu no longer attached is not destroyed with the window
}

void Win32WindowSystem::SetCaption(WindowHandle window, const std::string& text) {
    SetWindowTextW(HwndOf(window), DisplayText(text).c_str());
}

std::string Win32WindowSystem::GetCaption(WindowHandle window) { return WindowText(HwndOf(window)); }

Rect Win32WindowSystem::WindowRect(WindowHandle window) {
    RECT r{};
    GetWindowRect(HwndOf(window), &r);
    return RectOf(r);
}

Rect Win32WindowSystem::ClientRect(WindowHandle window) {
    RECT r{};
    GetClientRect(HwndOf(window), &r);
    return RectOf(r);
}

void Win32WindowSystem::SetWindowPos(WindowHandle window, long x, long y, long cx, long cy, bool move, bool size) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!move) flags |= SWP_NOMOVE;
    if (!size) flags |= SWP_NOSIZE;
    ::SetWindowPos(HwndOf(window), nullptr, x, y, cx, cy, flags);
}

void Win32WindowSystem::MoveWindow(WindowHandle window, const Rect& rect) {
    ::MoveWindow(HwndOf(window), rect.left, rect.top, rect.width(), rect.height(), TRUE);
}

Rect Win32WindowSystem::WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return RectOf(r);
}

WindowHandle Win32WindowSystem::Control(WindowHandle dialog, int id) {
    return HandleOf(GetDlgItem(HwndOf(dialog), id));
}

void Win32WindowSystem::SetText(WindowHandle dialog, int id, const std::string& text) {
    if (HWND control = GetDlgItem(HwndOf(dialog), id)) SetWindowTextW(control, DisplayText(text).c_str());
}

std::string Win32WindowSystem::GetText(WindowHandle dialog, int id) {
    return WindowText(GetDlgItem(HwndOf(dialog), id));
}

void Win32WindowSystem::Enable(WindowHandle dialog, int id, bool enable) {
    if (HWND control = GetDlgItem(HwndOf(dialog), id)) EnableWindow(control, enable ? TRUE : FALSE);
}

bool Win32WindowSystem::GetCheck(WindowHandle dialog, int id) {
    return SendToControl(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowSystem::SetCheck(WindowHandle dialog, int id, bool checked) {
    SendToControl(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32WindowSystem::SetFocus(WindowHandle window) { ::SetFocus(HwndOf(window)); }

void Win32WindowSystem::SetBannerImage(WindowHandle dialog, int id, void* bitmap) {
    HWND banner = GetDlgItem(HwndOf(dialog), id);
    if (!banner) return;
    RECT before{};
    GetWindowRect(banner, &before);
    MapWindowPoints(HWND_DESKTOP, HwndOf(dialog), reinterpret_cast<POINT*>(&before), 2);
    SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    // The banner keeps its template size whatever the bitmap's; the page area is measured from it.
    RECT after{};
    GetWindowRect(banner, &after);
    if (after.right - after.left != before.right - before.left ||
        after.bottom - after.top != before.bottom - before.top)
        ::SetWindowPos(banner, nullptr, before.left, before.top, before.right - before.left, before.bottom - before.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32WindowSystem::DisplayDpi() {
    const os::win32::ScopedScreenDc screen(GetDC(nullptr));
    return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

Size Win32WindowSystem::SizeAt96Dpi(WindowHandle dialog, short cx, short cy) {
    // The dialog's face at its size for 96 dots per inch, measured as the dialog manager takes
    // its base units: the mean width of the Latin letters, and the font's height.
    LOGFONTW face{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(HwndOf(dialog), WM_GETFONT, 0, 0));
    if (!font || !GetObjectW(font, sizeof face, &face)) return {};
    face.lfHeight = -MulDiv(kDialogFontPoints, 96, 72);
    face.lfWidth = 0;
    const os::win32::ScopedGdiObject<HFONT> at96(CreateFontIndirectW(&face));
    const os::win32::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!at96 || !dc) return {};
    HGDIOBJ before = SelectObject(dc.Get(), at96.Get());
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE letters{};
    TEXTMETRICW metrics{};
    const bool measured =
        GetTextExtentPoint32W(dc.Get(), kLetters, 52, &letters) && GetTextMetricsW(dc.Get(), &metrics);
    SelectObject(dc.Get(), before);
    if (!measured) return {};
    const int baseX = (letters.cx / 26 + 1) / 2, baseY = metrics.tmHeight;
    return {MulDiv(cx, baseX, 4), MulDiv(cy, baseY, 8)};
}

WindowHandle Win32WindowSystem::ControlAt(WindowHandle dialog, std::size_t index) {
    // The dialog manager makes the controls in template order, each below the last.
    HWND control = GetWindow(HwndOf(dialog), GW_CHILD);
    for (; control && index > 0; --index) control = GetWindow(control, GW_HWNDNEXT);
    return HandleOf(control);
}

Rect Win32WindowSystem::PlaceOf(WindowHandle control) {
    RECT r{};
    GetWindowRect(HwndOf(control), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(HwndOf(control)), reinterpret_cast<POINT*>(&r), 2);
    return RectOf(r);
}

Size Win32WindowSystem::TextExtent(WindowHandle control, long width) {
    HWND w = HwndOf(control);
    const std::wstring text = ShownText(w);
    const os::win32::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));  // measures as the screen does
    if (text.empty() || !dc) return {};
    HGDIOBJ before = SelectObject(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
    // As the static control draws its text.
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK;
    if ((style & SS_TYPEMASK) == SS_CENTER) flags |= DT_CENTER;
    if ((style & SS_TYPEMASK) == SS_RIGHT) flags |= DT_RIGHT;
    if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
    RECT r{0, 0, width, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc.Get(), before);
    return {r.right - r.left, r.bottom - r.top};
}

void Win32WindowSystem::SendToProgressBar(WindowHandle dialog, int id, unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
    void*& bar = progressBars_[{dialog, id}];
    if (!bar) bar = GetDlgItem(HwndOf(dialog), id);
    if (bar) SendMessageW(static_cast<HWND>(bar), message, wParam, lParam);
}

void Win32WindowSystem::SetProgressRange(WindowHandle dialog, int id, std::uint32_t max) {
    // The message carries each end in 16 bits; a larger count keeps its low 16 bits.
    SendToProgressBar(dialog, id, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(max & 0xFFFF)));
}

void Win32WindowSystem::SetProgressStep(WindowHandle dialog, int id, int step) {
    SendToProgressBar(dialog, id, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void Win32WindowSystem::SetProgressPos(WindowHandle dialog, int id, std::uint32_t pos) {
    SendToProgressBar(dialog, id, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void Win32WindowSystem::StepProgress(WindowHandle dialog, int id) { SendToProgressBar(dialog, id, PBM_STEPIT, 0, 0); }

int Win32WindowSystem::ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                      std::uint32_t flags) {
    return MessageBoxW(HwndOf(owner), DisplayText(text).c_str(), DisplayText(caption).c_str(), flags);
}

FolderChoice Win32WindowSystem::BrowseForFolder(WindowHandle owner, const std::string& title,
                                                const std::string& initialPath) {
    const std::wstring wideTitle = DisplayText(title), widePath = DisplayText(initialPath);
    BROWSEINFOW info{};
    info.hwndOwner = HwndOf(owner);
    info.pidlRoot = nullptr;        // the whole namespace
    info.pszDisplayName = nullptr;  // the display name is not wanted
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    // The title and status text are the setup's: they follow the pages' face where it was replaced.
    const os::win32::ScopedGdiObject<HFONT> textFont(dialogFace_.empty() ? nullptr : CreateDialogFont(dialogFace_));
    ChooserStart start{widePath.c_str(), textFont.Get()};
    info.lParam = reinterpret_cast<LPARAM>(&start);
    const os::win32::ScopedCoTaskMemory<PIDLIST_ABSOLUTE> item(SHBrowseForFolderW(&info));
    FolderChoice choice;
    if (!item) return choice;  // Cancelled
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item.Get(), path)) {
        choice.outcome = FolderChoice::Outcome::Chosen;
        choice.path = os::win32::FromWide(path);
    } else {
        choice.outcome = FolderChoice::Outcome::NoPath;
    }
    return choice;
}

bool Win32WindowSystem::PeekQueue(Message& message, bool remove) {
    MSG msg{};
    if (!PeekMessageW(&msg, nullptr, 0, 0, remove ? PM_REMOVE : PM_NOREMOVE)) return false;
    message = MessageOf(msg);
    return true;
}

int Win32WindowSystem::NextMessage(Message& message) {
    MSG msg{};
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) return -1;
    message = MessageOf(msg);
    return got ? 1 : 0;
}

void Win32WindowSystem::TranslateAndDispatch(const Message& message) {
    MSG msg = MsgOf(message);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool Win32WindowSystem::RouteDialogMessage(WindowHandle dialog, const Message& message) {
    if (!dialog) return false;
    MSG msg = MsgOf(message);
    return RoutePageKey(HwndOf(dialog), msg) || IsDialogMessageW(HwndOf(dialog), &msg) != FALSE;
}

bool Win32WindowSystem::TranslateAccelerators(WindowHandle window, const Message& message) {
    if (!accelerators_ || !window) return false;
    MSG msg = MsgOf(message);
    return TranslateAcceleratorW(HwndOf(window), static_cast<HACCEL>(accelerators_), &msg) != 0;
}

void Win32WindowSystem::PostClose(WindowHandle window) { PostMessageW(HwndOf(window), WM_CLOSE, 0, 0); }

void Win32WindowSystem::PostWake(WindowHandle window) { PostMessageW(HwndOf(window), WM_NULL, 0, 0); }

void Win32WindowSystem::PostQuit(int code) { PostQuitMessage(code); }

}  // namespace ui::win32
