#include "picture_box.h"

#include "wide.h"

namespace quorvel::forms::win32 {

HBITMAP LoadPicture(std::string_view resource) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Wide(resource).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP picture, UINT dpi) {
    BITMAP bitmap{};
    GetObjectW(picture, sizeof bitmap, &bitmap);
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, picture);
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    IntersectClipRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, MulDiv(bitmap.bmWidth, static_cast<int>(dpi), 96),
               MulDiv(bitmap.bmHeight, static_cast<int>(dpi), 96), source, 0, 0, bitmap.bmWidth,
               bitmap.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace quorvel::forms::win32
