#include "qx/platform/wnd/image_host.h"

#include <cstdio>
#include <cstdlib>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/internal/hosts.h"
#include "qx/platform/wnd/window.h"

namespace qx {
namespace {

// Letters and digits of the caption, for a file name that says which
// window it shows.
std::wstring Slug(const std::wstring& caption) {
    std::wstring slug;
    for (wchar_t c : caption) {
        const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
        if (plain) slug += c;
        else if (!slug.empty() && slug.back() != L'-') slug += L'-';
        if (slug.size() >= 40) break;
    }
    while (!slug.empty() && slug.back() == L'-') slug.pop_back();
    return slug.empty() ? L"window" : slug;
}

// Paints *hwnd*'s frame and client area and then its visible children, the
// context's origin at *origin*'s top-left corner (screen coordinates).
void PaintTree(HWND hwnd, CPoint origin, CImageDC& dc) {
    CRect rect;
    GetWindowRect(hwnd, &rect);
    dc.SetViewportOrg(rect.left - origin.x, rect.top - origin.y);
    wnd::PaintFrame(dc, hwnd);
    CPoint client;
    ClientToScreen(hwnd, &client);
    dc.SetViewportOrg(client.x - origin.x, client.y - origin.y);
    PaintWindow(hwnd, dc);
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) PaintTree(child, origin, dc);
    }
}

}  // namespace

ImageHost::ImageHost(std::wstring folder) : folder_(std::move(folder)) {}

void ImageHost::PaintWindowTree(HWND topLevel, CImageDC& dc) {
    CRect rect;
    GetWindowRect(topLevel, &rect);
    PaintTree(topLevel, rect.TopLeft(), dc);
    dc.SetViewportOrg(0, 0);
}

void ImageHost::Snapshot(HWND topLevel) {
    CRect rect;
    if (!GetWindowRect(topLevel, &rect) || rect.IsRectEmpty()) return;
    CImageDC dc(rect.Width(), rect.Height());
    PaintWindowTree(topLevel, dc);
    wchar_t number[16];
    std::swprintf(number, 16, L"%03zu-", images_.size() + 1);
    std::wstring path = folder_;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += number + Slug(wnd::WindowTextOf(topLevel)) + L".png";
    if (dc.SavePng(CString(path.c_str()))) {
        images_.push_back(path);
    } else {
        std::fprintf(stderr, "qxbase: the image host cannot write %ls\n", path.c_str());
    }
}

void ImageHost::Answer(HWND dialog) { wnd::AnswerWithDefault(dialog); }

}  // namespace qx

namespace qx::wnd {

std::unique_ptr<UiHost> MakeImageHostFromEnvironment(std::string* why) {
    const char* folder = std::getenv("QX_UI_IMAGES");
    if (!folder || !*folder) {
        if (why) *why = "QX_UI=image needs QX_UI_IMAGES, the folder for the pictures";
        return nullptr;
    }
    const std::wstring path = FromNativePath(folder);
    if (!DirectoryExists(path)) {
        if (why) *why = std::string("QX_UI_IMAGES is no folder: ") + folder;
        return nullptr;
    }
    return std::make_unique<ImageHost>(path);
}

}  // namespace qx::wnd
