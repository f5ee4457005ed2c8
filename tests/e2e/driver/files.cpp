// Files, shell folders, screenshots and fonts as Windows reports them to the driver.
#include "driver.h"

#include <shlobj.h>

#include <cstdio>

namespace driver {

// ---------------------------------------------------------------------------------------------
// Files and shell folders

std::optional<WIN32_FILE_ATTRIBUTE_DATA> StatusOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data;
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

unsigned long long SizeOf(const WIN32_FILE_ATTRIBUTE_DATA& d) {
    return (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

unsigned long long TimeOf(const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

std::string TimeText(const FILETIME& t) {
    SYSTEMTIME s{};
    FileTimeToSystemTime(&t, &s);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u UTC", s.wYear, s.wMonth, s.wDay, s.wHour,
                  s.wMinute, s.wSecond, s.wMilliseconds);
    return text;
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// ---------------------------------------------------------------------------------------------
// Screenshots

void WriteScreenshot(const std::wstring& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        Fail("a screenshot", "no bitmap for it");
    }
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = false;
    if (file != INVALID_HANDLE_VALUE) {
        DWORD n = 0;
        written = WriteFile(file, &header, sizeof header, &n, nullptr) &&
                  WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &n, nullptr) &&
                  WriteFile(file, bits, imageSize, &n, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!written) Fail("a screenshot written to " + Utf8(path), "the file could not be written");
}

// ---------------------------------------------------------------------------------------------
// Fonts. A font handle of the setup's process means nothing here, so the driver makes the face's
// font itself, as the dialog manager does (9 points, DEFAULT_CHARSET), and compares.

static HFONT DialogFont(const std::wstring& face, int quality) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, FF_DONTCARE, face.c_str());
}

static int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const std::wstring& face) {
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(want.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &want, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The dialog base units of a face at 9 points, as the dialog manager measures them.
SIZE DialogBaseUnits(const std::wstring& face) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = DialogFont(face, PROOF_QUALITY);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE letters{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

namespace {

// One character drawn black on white, without smoothing, as pixels.
class GlyphPainter {
public:
    explicit GlyphPainter(const std::wstring& face)
        : dc_(CreateCompatibleDC(nullptr)), font_(DialogFont(face, NONANTIALIASED_QUALITY)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, font_);
        SetTextColor(dc_, RGB(0, 0, 0));
        SetBkColor(dc_, RGB(255, 255, 255));
        SetBkMode(dc_, OPAQUE);
    }
    ~GlyphPainter() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(font_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    GlyphPainter(const GlyphPainter&) = delete;
    GlyphPainter& operator=(const GlyphPainter&) = delete;

    std::string Draw(wchar_t c) {
        RECT all{0, 0, kSide, kSide};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextOutW(dc_, 4, 4, &c, 1);
        GdiFlush();
        return std::string(static_cast<const char*>(bits_), static_cast<std::size_t>(kSide) * kSide * 4);
    }

private:
    static constexpr int kSide = 48;
    HDC dc_;
    HFONT font_;
    HBITMAP bitmap_ = nullptr;
    void* bits_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr, oldFont_ = nullptr;
};

}  // namespace

// The characters of `text` the face draws as it draws U+0378, an unassigned code point: the
// missing-glyph box. Line breaks and tabs are no glyphs and are left out.
std::wstring CharactersDrawnAsBoxes(const std::wstring& face, const std::wstring& text) {
    GlyphPainter painter(face);
    const std::string box = painter.Draw(L'\u0378');
    std::wstring boxes;
    for (wchar_t c : text)
        if (c >= 0x20 && boxes.find(c) == std::wstring::npos && painter.Draw(c) == box) boxes.push_back(c);
    return boxes;
}

}  // namespace driver
