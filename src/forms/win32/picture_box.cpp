#include "picture_box.h"

#include "picture_scale.h"
#include "wide.h"

namespace quorvel::forms::win32 {
namespace {

HBITMAP LoadBitmapResource(const std::string& name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Wide(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

Picture LoadPicture(std::string_view resource) {
    return {LoadBitmapResource(PictureResource(resource, 1)),
            LoadBitmapResource(PictureResource(resource, 2))};
}

void FreePicture(const Picture& picture) {
    for (HBITMAP bitmap : {picture.single, picture.doubled})
        if (bitmap)
            DeleteObject(bitmap);
}

void DrawPicture(const DRAWITEMSTRUCT& item, const Picture& picture, UINT dpi) {
    BITMAP single{};
    GetObjectW(picture.single, sizeof single, &single);
    const PictureChoice choice = ChoosePicture({single.bmWidth, single.bmHeight}, dpi / 96.0);
    HBITMAP shown = choice.variant == 2 && picture.doubled ? picture.doubled : picture.single;
    BITMAP bitmap{};
    GetObjectW(shown, sizeof bitmap, &bitmap);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, shown);
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    IntersectClipRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    if (choice.drawn.width == bitmap.bmWidth && choice.drawn.height == bitmap.bmHeight) {
        BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, bitmap.bmWidth, bitmap.bmHeight, source, 0, 0,
               SRCCOPY);
    } else {
        // Halftone averages the pixels that fall into one, where dropping them would leave jagged
        // edges.
        const int mode = SetStretchBltMode(item.hDC, HALFTONE);
        POINT origin{};
        SetBrushOrgEx(item.hDC, 0, 0, &origin);
        StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, choice.drawn.width, choice.drawn.height,
                   source, 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
        SetBrushOrgEx(item.hDC, origin.x, origin.y, nullptr);
        SetStretchBltMode(item.hDC, mode);
    }
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace quorvel::forms::win32
