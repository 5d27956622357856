// How a text field's window answers what an input method asks of it (WM_IME_REQUEST): where a
// character of the composition stands on the screen, the text to reconvert, and the text around the
// composition.
#include "text_view.h"

#include <imm.h>

#include <algorithm>
#include <cstring>

namespace quorvel::forms::win32 {

LRESULT TextView::ImeRequest(WPARAM request, LPARAM data) {
    switch (request) {
    case IMR_QUERYCHARPOSITION:
        return data && CharacterPosition(*reinterpret_cast<IMECHARPOSITION*>(data));
    case IMR_RECONVERTSTRING:
        return static_cast<LRESULT>(Reconversion(reinterpret_cast<RECONVERTSTRING*>(data), false));
    case IMR_DOCUMENTFEED:
        return static_cast<LRESULT>(Reconversion(reinterpret_cast<RECONVERTSTRING*>(data), true));
    case IMR_CONFIRMRECONVERTSTRING:
        return data && ConfirmReconversion(*reinterpret_cast<const RECONVERTSTRING*>(data));
    default:
        return DefWindowProcW(handle_, WM_IME_REQUEST, request, data);
    }
}

textedit::Box TextView::CompositionBox(std::size_t offset) const {
    // Without a composition, the character `offset` units after the caret.
    if (!field_.preedit().Active() && offset > 0)
        return field_.CharacterBox(field_.editor().selection().caret + offset);
    return field_.PreeditBox(offset);
}

bool TextView::CharacterPosition(IMECHARPOSITION& position) const {
    if (position.dwSize < sizeof position)
        return false;
    const textedit::Box box = CompositionBox(position.dwCharPos);
    POINT at{static_cast<LONG>(box.x), static_cast<LONG>(box.y)};
    ClientToScreen(handle_, &at);
    position.pt = at;
    position.cLineHeight = static_cast<UINT>(std::max(1, box.height));
    RECT document = TextRectangle();
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&document), 2);
    position.rcDocument = document;
    return true;
}

std::size_t TextView::Reconversion(RECONVERTSTRING* out, bool feed) {
    const std::u16string& text = Text();
    const textedit::Selection& selection = field_.editor().selection();
    // To reconvert: the selection; without one, the caret's paragraph, of which the input method picks
    // the piece at the caret. Around a composition: the caret's paragraph, with the selection that the
    // composition's result will replace.
    std::size_t begin = selection.begin();
    std::size_t end = selection.end();
    if (feed || selection.empty()) {
        const textedit::Surrounding around = textedit::SurroundingOf(text, selection.caret);
        begin = std::min(around.begin, selection.begin());
        end = std::max(around.end, selection.end());
        if (end - begin > 2 * textedit::SurroundingReach) {
            begin = selection.caret;
            end = selection.caret;
        }
    }
    const std::size_t size = sizeof(RECONVERTSTRING) + (end - begin + 1) * sizeof(char16_t);
    if (!out)
        return size;
    if (out->dwSize < size)
        return 0;
    const auto bytes = [](std::size_t units) { return static_cast<DWORD>(units * sizeof(char16_t)); };
    out->dwSize = static_cast<DWORD>(size);
    out->dwVersion = 0;
    out->dwStrLen = static_cast<DWORD>(end - begin);
    out->dwStrOffset = sizeof(RECONVERTSTRING);
    out->dwCompStrLen = static_cast<DWORD>(selection.end() - selection.begin());
    out->dwCompStrOffset = bytes(selection.begin() - begin);
    out->dwTargetStrLen = out->dwCompStrLen;
    out->dwTargetStrOffset = out->dwCompStrOffset;
    auto* string = reinterpret_cast<char16_t*>(reinterpret_cast<BYTE*>(out) + out->dwStrOffset);
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(begin),
              text.begin() + static_cast<std::ptrdiff_t>(end), string);
    string[end - begin] = u'\0';
    if (!feed)
        reconversion_ = {begin, end - begin};
    return size;
}

bool TextView::ConfirmReconversion(const RECONVERTSTRING& confirmed) {
    // The piece the input method chose to reconvert, within the text it was given: selected, so that
    // the composition's result replaces it.
    const std::size_t from = confirmed.dwCompStrOffset / sizeof(char16_t);
    if (confirmed.dwStrLen != reconversion_.length || confirmed.dwCompStrOffset % sizeof(char16_t) != 0 ||
        from > reconversion_.length || confirmed.dwCompStrLen > reconversion_.length - from ||
        reconversion_.begin + reconversion_.length > Text().size())
        return false;
    field_.Select(reconversion_.begin + from, reconversion_.begin + from + confirmed.dwCompStrLen);
    return true;
}

}  // namespace quorvel::forms::win32
