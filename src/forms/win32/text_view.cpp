#include "text_view.h"

#include "field_accessible.h"
#include "text_field.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cstring>
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

UINT_PTR TimerId(textedit::FieldTimer timer) { return static_cast<UINT_PTR>(timer) + 1; }

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

TextView::TextView(HWND handle) : handle_(handle) {
    // The system's caret blinks by itself, and as in an edit control the selection shows only with
    // the focus.
    field_.SetCaretBlink(0);
    field_.SetSelectionShownUnfocused(false);
    border_.Open(handle_);
    // A press in the selection drags it once the pointer leaves the system's drag rectangle.
    field_.SetDragDistance({GetSystemMetrics(SM_CXDRAG) / 2, GetSystemMetrics(SM_CYDRAG) / 2, false});
    // A third click soon after a double-click and near it selects the paragraph, as in RichEdit and
    // Notepad.
    field_.SetTripleClick(
        textedit::TextUnit::Paragraph, static_cast<int>(GetDoubleClickTime()),
        {GetSystemMetrics(SM_CXDOUBLECLK) / 2, GetSystemMetrics(SM_CYDOUBLECLK) / 2, false});
    AcceptTextDrops(handle_, [](HWND window) -> DropReceiver* { return Of(window); });
    ApplyGeometry(false);
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
    if (message == WM_DESTROY)
        RevokeDragDrop(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete self;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (geometryPending_ && NeedsRows(message))
        ApplyGeometry(false);
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
    case WM_NCPAINT:
        border_.Paint(handle_, reinterpret_cast<HRGN>(wParam), BorderState());
        return 0;
    case WM_THEMECHANGED:
        border_.Open(handle_);
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return 0;
    case WM_ENABLE:
        RedrawBorder();
        break;
    case WM_SIZE:
        geometryPending_ = true;
        InvalidateRect(handle_, nullptr, FALSE);
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
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
        FocusIn();
        return 0;
    case WM_KILLFOCUS:
        FocusOut();
        return 0;
    case WM_KEYDOWN:
        KeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            ShowContextMenu({-1, -1});
            return 0;
        }
        // Alt+Backspace undoes, as in an edit control.
        if (wParam == VK_BACK && (HIWORD(lParam) & KF_ALTDOWN)) {
            field_.Perform({textedit::Command::Undo});
            return 0;
        }
        break;
    case WM_SYSCHAR:
        // The character of Alt+Backspace, whose undo was done on the key going down: not a menu's
        // mnemonic, which the window's menu would look for and beep at.
        if (wParam == u'\b')
            return 0;
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && PointerStaysHidden())
            return TRUE;
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
        field_.Compose({}, 0, {});
        return 0;
    case WM_IME_COMPOSITION:
        Composition(lParam);
        return 0;
    case WM_IME_REQUEST:
        return ImeRequest(wParam, lParam);
    case WM_LBUTTONDOWN:
        ButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_LBUTTONDBLCLK:
        ButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0, 2);
        return 0;
    case WM_MOUSEMOVE:
        Hover();
        field_.Drag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        Hover(false);
        return 0;
    case WM_LBUTTONUP:
        // A press in the selection that dragged nothing places the caret now.
        field_.Release();
        if (GetCapture() == handle_)
            ReleaseCapture();
        // Every left click reaches the parent, focused or not; last, as the parent may destroy the field.
        Notify(kTextFieldClicked);
        return 0;
    case WM_CAPTURECHANGED:
        field_.Release();
        return 0;
    case WM_TIMER:
        for (const textedit::FieldTimer timer :
             {textedit::FieldTimer::CaretBlink, textedit::FieldTimer::AutoScroll})
            if (wParam == TimerId(timer))
                field_.Tick(timer);
        return 0;
    case WM_RBUTTONDOWN:
        if (!field_.Focused())
            SetFocus(handle_);
        return 0;
    case WM_CONTEXTMENU:
        ShowContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        field_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam), lines == WHEEL_PAGESCROLL ? PageRows() : lines);
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
    const std::u16string& text = Text();
    const textedit::Editor& editor = field_.editor();
    const textedit::RowLayout& rows = editor.rows();
    result = 0;
    switch (message) {
    case WM_SETTEXT:
        SetText(lParam ? reinterpret_cast<const char16_t*>(lParam) : u"");
        result = TRUE;
        return true;
    case WM_GETTEXTLENGTH:
        result = static_cast<LRESULT>(text.size());
        return true;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return true;
        const std::size_t copied = std::min<std::size_t>(text.size(), wParam - 1);
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::copy_n(text.data(), copied, out);
        out[copied] = u'\0';
        result = static_cast<LRESULT>(copied);
        return true;
    }
    case EM_GETSEL: {
        const textedit::Selection& selection = editor.selection();
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(selection.begin());
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(selection.end());
        result = Pack16(selection.begin(), selection.end());
        return true;
    }
    case EM_SETSEL:
        SetSelection(wParam, lParam);
        return true;
    case EM_REPLACESEL:
        field_.Replace(editor.selection().begin(), editor.selection().end(),
                       lParam ? reinterpret_cast<const char16_t*>(lParam) : u"");
        return true;
    case EM_UNDO:
    case WM_UNDO:
        result = editor.CanUndo();
        field_.Run(textedit::MenuCommand::Undo);
        return true;
    case EM_CANUNDO:
        result = editor.CanUndo();
        return true;
    case WM_CUT:
        field_.Run(textedit::MenuCommand::Cut);
        return true;
    case WM_COPY:
        field_.Run(textedit::MenuCommand::Copy);
        return true;
    case WM_PASTE:
        field_.Run(textedit::MenuCommand::Paste);
        return true;
    case WM_CLEAR:
        field_.Run(textedit::MenuCommand::Delete);
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
        const std::size_t row = line < 0 ? editor.CaretRow() : static_cast<std::size_t>(line);
        result = row < rows.RowCount() ? static_cast<LRESULT>(rows.RowStart(row)) : -1;
        return true;
    }
    case EM_LINEFROMCHAR: {
        const auto position = static_cast<long long>(static_cast<int>(wParam));
        result = static_cast<LRESULT>(position < 0 ? editor.CaretRow()
                                                   : rows.RowOf(static_cast<std::size_t>(position)));
        return true;
    }
    case EM_LINELENGTH: {
        const auto position = static_cast<long long>(static_cast<int>(wParam));
        const std::size_t row =
            position < 0 ? editor.CaretRow() : rows.RowOf(static_cast<std::size_t>(position));
        result = static_cast<LRESULT>(rows.RowEnd(row) - rows.RowStart(row));
        return true;
    }
    case EM_GETLINE:
        result = static_cast<LRESULT>(CopyLine(wParam, lParam));
        return true;
    case EM_GETFIRSTVISIBLELINE:
        result = static_cast<LRESULT>(TopRow());
        return true;
    case EM_LINESCROLL:
        field_.ScrollBy(static_cast<int>(lParam));
        result = TRUE;
        return true;
    case EM_SCROLLCARET:
        // Selecting the selection again brings the caret into view, as every caret move does.
        field_.Select(editor.selection().anchor, editor.selection().caret);
        result = TRUE;
        return true;
    case EM_POSFROMCHAR:
        result = PositionFromCharacter(wParam);
        return true;
    case EM_CHARFROMPOS: {
        const std::size_t position = field_.PositionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = Pack16(position, rows.RowOf(position));
        return true;
    }
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<RECT*>(lParam) = TextRectangle();
        return true;
    default:
        return false;
    }
}

void TextView::SetSelection(WPARAM start, LPARAM end) {
    // -1 as the start keeps the caret and drops the selection; -1 as the end is the text's end.
    const std::size_t caret = field_.editor().selection().caret;
    if (static_cast<int>(start) < 0)
        field_.Select(caret, caret);
    else
        field_.Select(static_cast<std::size_t>(static_cast<int>(start)),
                      static_cast<int>(end) < 0 ? Text().size()
                                                : static_cast<std::size_t>(static_cast<int>(end)));
}

std::size_t TextView::CopyLine(WPARAM line, LPARAM buffer) const {
    // As an edit control: the buffer's first WORD is its size in characters, a line is a row as drawn, a
    // negative line is the caret's, and a line past the last copies nothing. The line's characters go in
    // without its line break, and a terminating NUL only where the buffer has room for one.
    auto* out = reinterpret_cast<char16_t*>(buffer);
    const textedit::Editor& editor = field_.editor();
    const textedit::RowLayout& rows = editor.rows();
    const auto asked = static_cast<long long>(static_cast<int>(line));
    const std::size_t row = asked < 0 ? editor.CaretRow() : static_cast<std::size_t>(asked);
    if (!out || row >= rows.RowCount())
        return 0;
    std::size_t room = 0;
    std::memcpy(&room, out, sizeof(WORD));
    const std::size_t length = rows.RowEnd(row) - rows.RowStart(row);
    const std::size_t copied = std::min(room, length);
    std::copy_n(Text().data() + rows.RowStart(row), copied, out);
    if (copied < room)
        out[copied] = u'\0';
    return copied;
}

LRESULT TextView::PositionFromCharacter(WPARAM position) const {
    const std::size_t at = std::min<std::size_t>(position, Text().size());
    const textedit::Box box = field_.RangeBox(field_.editor().rows().RowOf(at), at, at);
    return MAKELRESULT(static_cast<WORD>(box.x),
                       static_cast<WORD>(std::clamp<long long>(box.y, SHRT_MIN, SHRT_MAX)));
}

void TextView::SetText(std::u16string text) {
    if (geometryPending_)
        ApplyGeometry(false);
    field_.SetText(std::move(text));
}

void TextView::SetNames(std::u16string accessibleName, std::u16string automationId) {
    accessibleName_ = std::move(accessibleName);
    automationId_ = std::move(automationId);
}

void TextView::SetValue(std::u16string_view text) { field_.Replace(0, Text().size(), text); }

TextView::Rows TextView::VisibleRows() const {
    const auto [first, last] = field_.VisibleRows();
    return {first, last};
}

RECT TextView::RowRectangle(std::size_t row, std::size_t begin, std::size_t end) {
    const textedit::Box box = field_.RangeBox(row, begin, end);
    RECT area{static_cast<LONG>(box.x), static_cast<LONG>(box.y), static_cast<LONG>(box.x + box.width),
              static_cast<LONG>(box.y + box.height)};
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

std::size_t TextView::PositionAt(POINT screen) {
    ScreenToClient(handle_, &screen);
    return field_.PositionAt({screen.x, screen.y});
}

POINT TextView::ClientPoint(POINT screen) const {
    ScreenToClient(handle_, &screen);
    return screen;
}

void TextView::DragOverAt(POINT screen) {
    const POINT at = ClientPoint(screen);
    field_.DragOver({at.x, at.y});
}

textedit::DropAction TextView::DroppedAt(POINT screen, std::u16string_view text,
                                         textedit::DropAction proposed) {
    const POINT at = ClientPoint(screen);
    return field_.Drop({at.x, at.y}, text, proposed);
}

void TextView::ScrollIntoView(std::size_t position, bool alignToTop) {
    field_.ScrollIntoView(position, alignToTop);
}

void TextView::Notify(WORD code) {
    SendMessageW(GetParent(handle_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), code),
                 reinterpret_cast<LPARAM>(handle_));
}

RECT TextView::TextRectangle() const {
    RECT area{};
    GetClientRect(handle_, &area);
    area.left += Margin();
    area.right -= Margin();
    area.top += kTopMargin;
    return area;
}

int TextView::Margin() const { return MulDiv(2, static_cast<int>(GetDpiForWindow(handle_)), 96); }

// Drawing

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
    const RowPainter::Colours colours{GetTextColor(dc), GetSysColor(COLOR_HIGHLIGHTTEXT),
                                      GetSysColor(COLOR_HIGHLIGHT)};
    for (const textedit::RowPaint& row : field_.Paint(area.top, area.bottom))
        painter_.Paint(dc, Margin(), row, colours, field_);
    if (field_.DropCaret()) {
        // Where text dragged over the field would go, drawn as the caret.
        const textedit::Box drop = field_.DropCaretBox();
        DWORD width = 1;
        SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0);
        const RECT caret{static_cast<LONG>(drop.x), static_cast<LONG>(drop.y),
                         static_cast<LONG>(drop.x + std::max<DWORD>(1, width)),
                         static_cast<LONG>(drop.y + drop.height)};
        HBRUSH text = CreateSolidBrush(GetTextColor(dc));
        FillRect(dc, &caret, text);
        DeleteObject(text);
    }
    BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
           area.top, SRCCOPY);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousCanvas);
    DeleteObject(canvas);
    DeleteDC(dc);
}

ThemedBorder::State TextView::BorderState() const {
    if (!IsWindowEnabled(handle_))
        return ThemedBorder::State::Disabled;
    if (field_.Focused())
        return ThemedBorder::State::Focused;
    return hot_ ? ThemedBorder::State::Hot : ThemedBorder::State::Normal;
}

void TextView::RedrawBorder() {
    if (!border_.Themed())
        return;
    // The frame only: the rows stay as they are drawn.
    RECT window{};
    GetWindowRect(handle_, &window);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&window), 2);
    RECT client{};
    GetClientRect(handle_, &client);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inside = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inside, RGN_DIFF);
    RedrawWindow(handle_, nullptr, frame, RDW_INVALIDATE | RDW_FRAME);
    DeleteObject(inside);
    DeleteObject(frame);
}

void TextView::Hover(bool inside) {
    if (inside == hot_)
        return;
    hot_ = inside;
    if (inside) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
    }
    RedrawBorder();
}

// Size, font and scrolling

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

void TextView::ApplyGeometry(bool relayout) {
    geometryPending_ = false;
    RECT client{};
    GetClientRect(handle_, &client);
    field_.SetGeometry({static_cast<int>(client.right), static_cast<int>(client.bottom), Margin(), kTopMargin,
                        measurer_.LineHeight(), 1},
                       relayout);
}

void TextView::SetFont(HFONT font) {
    measurer_.SetFont(font);
    if (field_.Focused()) {
        DestroyCaret();
        MakeCaret();
    }
    ApplyGeometry(true);
}

void TextView::ScrollBar(WORD request) {
    const auto page = static_cast<long long>(PageRows());
    switch (request) {
    case SB_LINEUP:
        field_.ScrollBy(-1);
        break;
    case SB_LINEDOWN:
        field_.ScrollBy(1);
        break;
    case SB_PAGEUP:
        field_.ScrollBy(-page);
        break;
    case SB_PAGEDOWN:
        field_.ScrollBy(page);
        break;
    case SB_TOP:
        field_.ScrollTo(0);
        break;
    case SB_BOTTOM:
        field_.ScrollTo(field_.viewport().LastTopRow());
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, SB_VERT, &info);
        field_.ScrollTo(static_cast<std::size_t>(std::max(0, info.nTrackPos)));
        break;
    }
    default:
        break;
    }
}

// The caret

void TextView::MakeCaret() {
    // The system's caret, as wide as the user asked for, which magnifiers and screen readers follow.
    DWORD width = 1;
    SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0);
    CreateCaret(handle_, nullptr, static_cast<int>(std::max<DWORD>(1, width)), measurer_.LineHeight());
    ShowCaret(handle_);
}

void TextView::PlaceCaret() {
    if (!field_.Focused())
        return;
    if (!field_.CaretShown()) {
        SetCaretPos(-1000, -1000);
        return;
    }
    const textedit::Box caret = field_.CaretBox();
    SetCaretPos(static_cast<int>(caret.x), static_cast<int>(caret.y));
    if (composing_)
        PlaceComposition();
}

// textedit::FieldHost

void TextView::StartTimer(textedit::FieldTimer timer, int ms) {
    SetTimer(handle_, TimerId(timer), static_cast<UINT>(ms), nullptr);
}

void TextView::StopTimer(textedit::FieldTimer timer) { KillTimer(handle_, TimerId(timer)); }

void TextView::Repaint() {
    InvalidateRect(handle_, nullptr, FALSE);
    PlaceCaret();
}

void TextView::ScrollBarChanged() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMax = static_cast<int>(std::min<std::size_t>(field_.editor().rows().RowCount() - 1, INT_MAX));
    info.nPage = static_cast<UINT>(PageRows());
    info.nPos = static_cast<int>(std::min<std::size_t>(TopRow(), INT_MAX));
    // Most keystrokes leave the bar as it is; setting it anyway redraws it, which under Wine 8 costs
    // about 4 ms, most of a keystroke.
    const Bar bar{info.nMax, info.nPage, info.nPos};
    if (bar_ == bar)
        return;
    bar_ = bar;
    SetScrollInfo(handle_, SB_VERT, &info, TRUE);
}

void TextView::Changed(const textedit::FieldChange& change) {
    // The caret was placed as the field asked for its repaint, which comes first.
    if (change.textChanged) {
        automation_.TextChanged();
        // What an edit control tells Active Accessibility's clients of every change of its text.
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, handle_, OBJID_CLIENT, CHILDID_SELF);
    }
    if (change.textChanged || field_.editor().selection() != change.before)
        automation_.SelectionChanged();
    // Last: the parent may destroy the field in its handler.
    if (change.textChanged && change.byUser)
        Notify(EN_CHANGE);
}

}  // namespace quorvel::forms::win32
