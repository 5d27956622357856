#include "text_view.h"

#include "field_accessible.h"
#include "text_field.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <utility>

namespace quorvel::forms::win32 {
namespace {

constexpr int kTopMargin = 1;

// EM_GETSEL and EM_CHARFROMPOS answer in 16 bits; beyond that they answer -1 as an edit control does.
LRESULT Pack16(std::size_t low, std::size_t high) {
    if (low > 0xFFFF || high > 0xFFFF)
        return -1;
    return MAKELRESULT(low, high);
}

}  // namespace

void TextView::Register() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &Procedure;
        windowClass.cbWndExtra = sizeof(TextView*);
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
        windowClass.lpszClassName = ClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

TextView* TextView::Of(HWND window) {
    wchar_t name[std::size(ClassName) + 1] = {};
    if (!window || !GetClassNameW(window, name, static_cast<int>(std::size(name))) ||
        std::wcscmp(name, ClassName) != 0)
        return nullptr;
    return reinterpret_cast<TextView*>(GetWindowLongPtrW(window, 0));
}

TextView::TextView(HWND handle) : handle_(handle), painter_(measurer_), editor_(measurer_) {
    editor_.SetChangeListener([this](const textedit::TextChange&) { changed_ = true; });
    editor_.SetDrawnRows(this);
    UpdateViewport();
}

LRESULT CALLBACK TextView::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TextView*>(GetWindowLongPtrW(window, 0));
    if (message == WM_NCCREATE) {
        self = new TextView(window);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(self));
        const auto* created = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (created->lpszName)
            self->SetText(reinterpret_cast<const char16_t*>(created->lpszName));
    }
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete self;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (widthPending_ && NeedsRows(message))
        ApplyWidth();
    if (LRESULT result = 0; HandleEditMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(handle_, &paint);
        Paint(dc, paint.rcPaint);
        EndPaint(handle_, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        GetClientRect(handle_, &client);
        Paint(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        Resize();
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(measurer_.font());
    case WM_GETDLGCODE: {
        // Characters and arrows, and Enter for a line break; Tab and Shift+Tab go on to the next control.
        LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        if (const auto* key = reinterpret_cast<const MSG*>(lParam);
            key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_SETFOCUS:
        focused_ = true;
        MakeCaret();
        UpdateCaret();
        Repaint();
        Notify(EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS: {
        // What is being composed is typed before the focus goes: the input method's context is the
        // thread's, and the composition would follow the focus to the next window. The parent may
        // destroy the field on the edit's EN_CHANGE.
        const HWND window = handle_;
        CommitComposition();
        if (!IsWindow(window))
            return 0;
        focused_ = false;
        DestroyCaret();
        Repaint();
        Notify(EN_KILLFOCUS);
        return 0;
    }
    case WM_KEYDOWN:
        KeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            ShowContextMenu({-1, -1});
            return 0;
        }
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // The menu was shown on the key going down.
        if (wParam == VK_APPS || (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0))
            return 0;
        break;
    case WM_CHAR:
    case WM_IME_CHAR:
        Character(static_cast<char16_t>(wParam));
        return 0;
    // The field draws the composition in its text itself: the input method's own composition window is
    // neither shown nor told of it, and only its candidate list appears, at the caret.
    case WM_IME_SETCONTEXT:
        return DefWindowProcW(handle_, message, wParam, lParam & ~ISC_SHOWUICOMPOSITIONWINDOW);
    case WM_IME_STARTCOMPOSITION:
        composing_ = true;
        PlaceComposition();
        return 0;
    case WM_IME_ENDCOMPOSITION:
        composing_ = false;
        preedit_.Clear();
        UpdateCaret();
        Repaint();
        return 0;
    case WM_IME_COMPOSITION:
        Composition(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        ButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_LBUTTONDBLCLK:
        DoubleClick({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        if (selecting_)
            Drag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (selecting_)
            ReleaseCapture();
        // Every left click reaches the parent, focused or not; last, as the parent may destroy the field.
        Notify(kTextFieldClicked);
        return 0;
    case WM_CAPTURECHANGED:
        selecting_ = false;
        KillTimer(handle_, kAutoScrollTimer);
        return 0;
    case WM_TIMER:
        if (wParam == kAutoScrollTimer)
            AutoScroll();
        return 0;
    case WM_RBUTTONDOWN:
        if (!focused_)
            SetFocus(handle_);
        return 0;
    case WM_CONTEXTMENU:
        ShowContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        ScrollBy(viewport_.WheelRows(GET_WHEEL_DELTA_WPARAM(wParam),
                                     lines == WHEEL_PAGESCROLL ? PageRows() : lines));
        return 0;
    }
    case WM_VSCROLL:
        ScrollBar(LOWORD(wParam));
        return 0;
    case WM_GETOBJECT:
        // The object id arrives as a 32-bit value, sign-extended or not.
        if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
            if (const LRESULT answer = AnswerAccessibleObject(handle_, wParam))
                return answer;
        } else if (const LRESULT answer = automation_.AnswerGetObject(wParam, lParam)) {
            return answer;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

bool TextView::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const std::u16string& text = editor_.Text();
    const textedit::RowLayout& rows = editor_.rows();
    switch (message) {
    case WM_SETTEXT:
        SetText(lParam ? reinterpret_cast<const char16_t*>(lParam) : u"");
        result = TRUE;
        return true;
    case WM_GETTEXTLENGTH:
        result = static_cast<LRESULT>(text.size());
        return true;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) {
            result = 0;
            return true;
        }
        const std::size_t copied = std::min<std::size_t>(text.size(), wParam - 1);
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::copy_n(text.data(), copied, out);
        out[copied] = u'\0';
        result = static_cast<LRESULT>(copied);
        return true;
    }
    case EM_GETSEL: {
        const textedit::Selection& selection = editor_.selection();
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(selection.begin());
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(selection.end());
        result = Pack16(selection.begin(), selection.end());
        return true;
    }
    case EM_SETSEL: {
        // -1 as the start keeps the caret and drops the selection; -1 as the end is the text's end.
        const auto start = static_cast<long long>(static_cast<int>(wParam));
        const auto end = static_cast<long long>(static_cast<int>(lParam));
        const std::size_t caret = end < 0 ? text.size() : static_cast<std::size_t>(end);
        UserEdit([&] {
            if (start < 0)
                editor_.Select(editor_.selection().caret, editor_.selection().caret);
            else
                editor_.Select(static_cast<std::size_t>(start), caret);
        });
        result = 0;
        return true;
    }
    case EM_REPLACESEL: {
        const auto* inserted = lParam ? reinterpret_cast<const char16_t*>(lParam) : u"";
        UserEdit([&] { editor_.ReplaceSelection(inserted, textedit::EditKind::Other); });
        result = 0;
        return true;
    }
    case EM_UNDO:
    case WM_UNDO:
        UserEdit([&] { result = editor_.Undo(); });
        return true;
    case EM_CANUNDO:
        result = editor_.CanUndo();
        return true;
    case WM_CUT:
        Cut();
        return true;
    case WM_COPY:
        Copy();
        return true;
    case WM_PASTE:
        Paste();
        return true;
    case WM_CLEAR:
        Clear();
        return true;
    case EM_SETLIMITTEXT:
    case EM_EMPTYUNDOBUFFER:
        // No limit, and the history keeps within a budget of its own.
        return true;
    case EM_GETLIMITTEXT:
        result = 0x7FFFFFFE;
        return true;
    case EM_GETLINECOUNT:
        result = static_cast<LRESULT>(rows.RowCount());
        return true;
    case EM_LINEINDEX: {
        const auto line = static_cast<long long>(static_cast<int>(wParam));
        const std::size_t row = line < 0 ? editor_.CaretRow() : static_cast<std::size_t>(line);
        result = row < rows.RowCount() ? static_cast<LRESULT>(rows.RowStart(row)) : -1;
        return true;
    }
    case EM_LINEFROMCHAR: {
        const auto position = static_cast<long long>(static_cast<int>(wParam));
        result = static_cast<LRESULT>(position < 0 ? editor_.CaretRow()
                                                   : rows.RowOf(static_cast<std::size_t>(position)));
        return true;
    }
    case EM_LINELENGTH: {
        const auto position = static_cast<long long>(static_cast<int>(wParam));
        const std::size_t row =
            position < 0 ? editor_.CaretRow() : rows.RowOf(static_cast<std::size_t>(position));
        result = static_cast<LRESULT>(rows.RowEnd(row) - rows.RowStart(row));
        return true;
    }
    case EM_GETFIRSTVISIBLELINE:
        result = static_cast<LRESULT>(viewport_.TopRow());
        return true;
    case EM_LINESCROLL:
        ScrollBy(static_cast<int>(lParam));
        result = TRUE;
        return true;
    case EM_SCROLLCARET:
        viewport_.ShowRow(editor_.CaretRow());
        UpdateCaret();
        Repaint();
        result = TRUE;
        return true;
    case EM_POSFROMCHAR: {
        const std::size_t position = std::min<std::size_t>(wParam, text.size());
        const std::size_t row = rows.RowOf(position);
        const int x = Margin() + CaretX(row, position, false);
        result =
            MAKELRESULT(static_cast<WORD>(x),
                        static_cast<WORD>(std::clamp<long long>(viewport_.RowY(row), SHRT_MIN, SHRT_MAX)));
        return true;
    }
    case EM_CHARFROMPOS: {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const std::size_t position = PositionAtPoint(at);
        result = Pack16(position, rows.RowOf(position));
        return true;
    }
    case EM_GETRECT:
        if (lParam) {
            RECT* area = reinterpret_cast<RECT*>(lParam);
            GetClientRect(handle_, area);
            area->left += Margin();
            area->right -= Margin();
            area->top += kTopMargin;
        }
        return true;
    default:
        return false;
    }
}

void TextView::SetText(std::u16string text) {
    if (widthPending_) {
        // The new width first, with nothing to lay out; then the text, laid out once.
        editor_.SetText({});
        ApplyWidth();
    }
    editor_.SetText(std::move(text));
    changed_ = false;
    viewport_.ScrollTo(0);
    UpdateScrollBar();
    UpdateCaret();
    Repaint();
    automation_.TextChanged();
}

void TextView::SetNames(std::u16string accessibleName, std::u16string automationId) {
    accessibleName_ = std::move(accessibleName);
    automationId_ = std::move(automationId);
}

void TextView::SetValue(std::u16string_view text) {
    UserEdit([&] {
        editor_.SelectAll();
        editor_.ReplaceSelection(text, textedit::EditKind::Other);
    });
}

void TextView::Select(std::size_t anchor, std::size_t caret) {
    UserEdit([&] { editor_.Select(anchor, caret); });
}

void TextView::AfterChange(const textedit::Selection& before) {
    viewport_.ShowRow(editor_.CaretRow());
    UpdateScrollBar();
    UpdateCaret();
    Repaint();
    const bool changed = std::exchange(changed_, false);
    if (changed)
        automation_.TextChanged();
    if (changed || editor_.selection() != before)
        automation_.SelectionChanged();
    // Last: the parent may destroy the field in its handler.
    if (changed)
        Notify(EN_CHANGE);
}

void TextView::Notify(WORD code) {
    SendMessageW(GetParent(handle_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), code),
                 reinterpret_cast<LPARAM>(handle_));
}

int TextView::Margin() const { return MulDiv(2, static_cast<int>(GetDpiForWindow(handle_)), 96); }

int TextView::TextWidth() const {
    RECT client{};
    GetClientRect(handle_, &client);
    return std::max(1, static_cast<int>(client.right) - 2 * Margin());
}

std::u16string_view TextView::RowText(std::size_t row) const {
    const textedit::RowLayout& rows = editor_.rows();
    return std::u16string_view(editor_.Text())
        .substr(rows.RowStart(row), rows.RowEnd(row) - rows.RowStart(row));
}

int TextView::CaretX(std::size_t row, std::size_t position, bool atEndOfRow) {
    const std::u16string_view text = RowText(row);
    if (painter_.Shaped(text))
        return painter_.ShapedX(text, position - editor_.rows().RowStart(row));
    return editor_.XOf(position, atEndOfRow);
}

std::size_t TextView::PositionAtPoint(POINT at) {
    return PositionAtX(viewport_.RowAtY(at.y), at.x - Margin());
}

std::size_t TextView::PositionAtX(std::size_t row, int x) {
    const std::u16string_view text = RowText(row);
    if (painter_.Shaped(text))
        return editor_.rows().RowStart(row) + painter_.ShapedPositionAt(text, x);
    return editor_.PositionAt(row, x);
}

void TextView::MoveToPoint(POINT at, bool extend) {
    const std::size_t row = viewport_.RowAtY(at.y);
    editor_.PlaceInRow(row, PositionAtX(row, at.x - Margin()), extend);
}

TextView::Rows TextView::VisibleRows() const {
    const std::size_t top = viewport_.TopRow();
    return {top, std::min(editor_.rows().RowCount(), top + viewport_.ShownRows())};
}

RECT TextView::RowRectangle(std::size_t row, std::size_t begin, std::size_t end) {
    const int left = Margin() + CaretX(row, begin, false);
    const int right = Margin() + CaretX(row, end, end == editor_.rows().RowEnd(row));
    const int y = static_cast<int>(std::clamp<long long>(viewport_.RowY(row), INT_MIN / 2, INT_MAX / 2));
    RECT area{std::min(left, right), y, std::max(left, right), y + measurer_.LineHeight()};
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

std::size_t TextView::PositionAt(POINT screen) {
    ScreenToClient(handle_, &screen);
    return PositionAtPoint(screen);
}

void TextView::ScrollIntoView(std::size_t position, bool alignToTop) {
    if (viewport_.ScrollIntoView(position, alignToTop))
        Scrolled();
}

void TextView::Paint(HDC screen, const RECT& area) {
    RECT client{};
    GetClientRect(handle_, &client);
    // Drawn off screen first, so that a row never flickers through its background.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom));
    HGDIOBJ previousCanvas = SelectObject(dc, canvas);
    HGDIOBJ previousFont = SelectObject(dc, GetCurrentObject(measurer_.dc(), OBJ_FONT));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    // The parent may colour the field, as it may an edit control.
    auto* brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(handle_), WM_CTLCOLOREDIT,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(handle_)));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    const RowPainter::Colours colours{GetTextColor(dc), GetBkColor(dc), GetSysColor(COLOR_HIGHLIGHTTEXT),
                                      GetSysColor(COLOR_HIGHLIGHT)};

    const textedit::RowLayout& rows = editor_.rows();
    const textedit::Selection& selection = editor_.selection();
    const int lineHeight = measurer_.LineHeight();
    for (std::size_t row = viewport_.TopRow(); row < rows.RowCount(); ++row) {
        const auto y = static_cast<int>(viewport_.RowY(row));
        if (y >= area.bottom || y >= client.bottom)
            break;
        if (y + lineHeight <= area.top)
            continue;
        const std::size_t start = rows.RowStart(row);
        std::size_t begin = 0;
        std::size_t end = 0;
        if (focused_ && !selection.empty()) {
            begin = std::clamp(selection.begin(), start, rows.RowEnd(row)) - start;
            end = std::clamp(selection.end(), start, rows.RowEnd(row)) - start;
        }
        if (preedit_.Active() && row == editor_.CaretRow())
            painter_.PaintComposing(dc, Margin(), y, preedit_.Show(RowText(row), selection.caret - start),
                                    colours);
        else
            painter_.Paint(dc, Margin(), y, RowText(row), begin, end, colours);
    }
    BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
           area.top, SRCCOPY);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousCanvas);
    DeleteObject(canvas);
    DeleteDC(dc);
}

bool TextView::NeedsRows(UINT message) {
    switch (message) {
    case WM_SIZE:
    case WM_SETFONT:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_SHOWWINDOW:
    case WM_DESTROY:
        return false;
    default:
        return true;
    }
}

void TextView::ApplyWidth() {
    widthPending_ = false;
    editor_.SetWidth(TextWidth());
    viewport_.KeepInRange();
    UpdateScrollBar();
    UpdateCaret();
}

void TextView::Resize() {
    // Laid out when the rows are next needed: a DPI change brings a new size and then a new font, and
    // the text is laid out once for both.
    widthPending_ = TextWidth() != editor_.rows().Width();
    UpdateViewport();
    viewport_.KeepInRange();
    UpdateScrollBar();
    UpdateCaret();
    Repaint();
}

void TextView::UpdateViewport() {
    RECT client{};
    GetClientRect(handle_, &client);
    viewport_.SetGeometry(client.bottom, kTopMargin, measurer_.LineHeight());
}

void TextView::SetFont(HFONT font, bool redraw) {
    measurer_.SetFont(font);
    UpdateViewport();
    if (widthPending_)
        ApplyWidth();
    else
        editor_.Relayout();
    viewport_.KeepInRange();
    if (focused_) {
        DestroyCaret();
        MakeCaret();
    }
    UpdateScrollBar();
    UpdateCaret();
    if (redraw)
        Repaint();
}

void TextView::ScrollTo(std::size_t top) {
    if (viewport_.ScrollTo(top))
        Scrolled();
}

void TextView::ScrollBy(long long rows) {
    if (viewport_.ScrollBy(rows))
        Scrolled();
}

void TextView::Scrolled() {
    UpdateScrollBar();
    UpdateCaret();
    Repaint();
}

void TextView::ScrollBar(WORD request) {
    const auto page = static_cast<long long>(PageRows());
    switch (request) {
    case SB_LINEUP:
        ScrollBy(-1);
        break;
    case SB_LINEDOWN:
        ScrollBy(1);
        break;
    case SB_PAGEUP:
        ScrollBy(-page);
        break;
    case SB_PAGEDOWN:
        ScrollBy(page);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(viewport_.LastTopRow());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, SB_VERT, &info);
        ScrollTo(static_cast<std::size_t>(std::max(0, info.nTrackPos)));
        break;
    }
    default:
        break;
    }
}

void TextView::UpdateScrollBar() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = static_cast<int>(std::min<std::size_t>(editor_.rows().RowCount() - 1, INT_MAX));
    info.nPage = static_cast<UINT>(PageRows());
    info.nPos = static_cast<int>(std::min<std::size_t>(viewport_.TopRow(), INT_MAX));
    SetScrollInfo(handle_, SB_VERT, &info, TRUE);
}

void TextView::MakeCaret() {
    // The system's caret, as wide as the user asked for, which magnifiers and screen readers follow.
    DWORD width = 1;
    SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0);
    CreateCaret(handle_, nullptr, static_cast<int>(std::max<DWORD>(1, width)), measurer_.LineHeight());
    ShowCaret(handle_);
}

void TextView::UpdateCaret() {
    if (!focused_)
        return;
    const std::size_t row = editor_.CaretRow();
    if (row < viewport_.TopRow() || row > viewport_.TopRow() + PageRows()) {
        SetCaretPos(-1000, -1000);
        return;
    }
    // Spaces hang past the field's edge at the end of a row; the caret after them stays at the edge.
    RECT client{};
    GetClientRect(handle_, &client);
    int x = Margin() + CaretX(row, editor_.selection().caret, editor_.CaretAtRowEnd());
    if (preedit_.Active()) {
        // While composing, the caret is the input method's, inside the pre-edit.
        const textedit::Preedit::ShownRow shown =
            preedit_.Show(RowText(row), editor_.selection().caret - editor_.rows().RowStart(row));
        x = Margin() + painter_.X(shown.text, shown.caret);
    }
    SetCaretPos(std::min(x, std::max(0, static_cast<int>(client.right) - 1)),
                static_cast<int>(viewport_.RowY(row)));
    if (composing_)
        PlaceComposition();
}

void TextView::Repaint() { InvalidateRect(handle_, nullptr, FALSE); }

}  // namespace quorvel::forms::win32
