// What the Windows program's windows cost a user with large messages, under Wine: a click on the run
// buttons until the result is painted, a keystroke in a field holding long coded text, a resize and a
// DPI change of a window whose fields hold long text, and the whole road of one message with the
// program's peak working set. Coded text can also be written into the system's EDIT and RichEdit
// controls for comparison (--compare; their wrapping is quadratic, so keep the lengths small). Google
// Benchmark is not packaged for Windows, so a small harness takes the median of a few runs.
//   win32_window_bench [--smoke | --runs N] [--lines LENGTH...] [--paragraph LENGTH...]
//                      [--keystroke LENGTH...] [--resize LENGTH...] [--compare LENGTH...] [--road LENGTH]
#include "../tests/support/prose.h"
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "passes.h"
#include "slowest_step.h"
#include "text_view.h"
#include "win32_window.h"

#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using quorvel::forms::win32::TextView;
using quorvel::forms::win32::Win32Window;
using quorvel::testing::Prose;
using quorvel::testing::Shape;
using quorvel::windows::MessageWindow;

int runs = 5;

double MedianMs(const std::function<void()>& prepare, const std::function<void()>& measured) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        measured();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::ranges::sort(times);
    return times[times.size() / 2];
}

void Paint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

Win32Window& Native(MessageWindow& form) { return *dynamic_cast<Win32Window*>(form.window()); }

void Report(const char* name, std::size_t length, double ms) {
    std::printf("%-34s %8zu  %10.1f ms\n", name, length, ms);
}

// A click on the run button with the message (or its coded text) in the input field.
void Click(const char* name, std::unique_ptr<MessageWindow> form, const std::u16string& input) {
    form->Show();
    Win32Window& window = Native(*form);
    const double ms = MedianMs(
        [&] {
            window.SetText("Text1", input);
            window.SetText("Text2", u"");
            Paint(window.handle());
        },
        [&] {
            SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
            Paint(window.handle());
        });
    Report(name, input.size(), ms);
}

// `length` units of the coded text of a paragraph of prose.
std::u16string Coded(std::size_t length) {
    return quorvel::EncodeMessage(Prose(length / 4 + 16, Shape::Paragraph)).substr(0, length);
}

// One character typed in the middle of a field that holds coded text, until it is painted.
void Keystroke(std::size_t length) {
    quorvel::windows::frmEncrypt form;
    form.Show();
    Win32Window& window = Native(form);
    const std::u16string coded = Coded(length);
    window.SetText("Text2", coded);
    HWND field = window.Control("Text2");
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, length / 2, length / 2);
    SendMessageW(field, EM_SCROLLCARET, 0, 0);
    Paint(field);
    const double ms = MedianMs([] {},
                               [&] {
                                   SendMessageW(field, WM_CHAR, u'%', 1);
                                   Paint(field);
                               });
    Report("Keystroke/Coded", coded.size(), ms);
}

// The Encrypt window with both fields full: the window resized (its fields keep their places), one
// field resized, and the window moved to a monitor of twice the DPI and back.
void Resize(std::size_t length) {
    quorvel::windows::frmEncrypt form;
    form.Show();
    Win32Window& window = Native(form);
    const std::u16string coded = Coded(length);
    window.SetText("Text1", coded);
    window.SetText("Text2", coded);
    Paint(window.handle());
    RECT outer{};
    GetWindowRect(window.handle(), &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    bool wide = false;
    Report("Resize/Window", length,
           MedianMs([] {},
                    [&] {
                        wide = !wide;
                        SetWindowPos(window.handle(), nullptr, 0, 0, width + (wide ? 200 : 0),
                                     height + (wide ? 100 : 0), SWP_NOMOVE | SWP_NOZORDER);
                        Paint(window.handle());
                    }));
    HWND field = window.Control("Text2");
    RECT fieldRect{};
    GetWindowRect(field, &fieldRect);
    Report("Resize/Field", length,
           MedianMs([] {},
                    [&] {
                        wide = !wide;
                        SetWindowPos(field, nullptr, 0, 0,
                                     fieldRect.right - fieldRect.left - (wide ? 100 : 0),
                                     fieldRect.bottom - fieldRect.top, SWP_NOMOVE | SWP_NOZORDER);
                        Paint(field);
                    }));
    UINT dpi = 96;
    Report("DpiChange/Window", length,
           MedianMs([] {},
                    [&] {
                        dpi = dpi == 96 ? 192 : 96;
                        const RECT suggested{outer.left, outer.top,
                                             outer.left + width * static_cast<int>(dpi) / 96,
                                             outer.top + height * static_cast<int>(dpi) / 96};
                        SendMessageW(window.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                     reinterpret_cast<LPARAM>(&suggested));
                        Paint(window.handle());
                    }));
}

void PutOnClipboard(const std::u16string& text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(char16_t));
    std::copy(text.begin(), text.end(), static_cast<char16_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::u16string FromClipboard() {
    std::u16string text;
    OpenClipboard(nullptr);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// The road of one message as a user takes it, with every step painted: the message pasted into the
// emptied Encrypt field, Encrypt Message, Copy; the coded text pasted into the emptied Decrypt field,
// Decrypt Message, Copy. Then the slowest step and the process's peak working set.
void Road(std::size_t length) {
    const std::u16string message = Prose(length, Shape::Paragraph);
    SlowestStep step;
    const auto take = [&](MessageWindow& form) {
        form.Show();
        Win32Window& window = Native(form);
        HWND input = window.Control("Text1");
        step([&] {
            window.SetText("Text1", u"");
            SetFocus(input);
            SendMessageW(input, WM_PASTE, 0, 0);
            Paint(window.handle());
        });
        step([&] {
            SendMessageW(window.Control("Command1"), BM_CLICK, 0, 0);
            Paint(window.handle());
        });
        step([&] { SendMessageW(window.Control("Command2"), BM_CLICK, 0, 0); });
    };
    PutOnClipboard(message);
    quorvel::windows::frmEncrypt encrypt;
    take(encrypt);
    quorvel::windows::frmDecrypt decrypt;
    take(decrypt);
    Report(FromClipboard() == message ? "Road/SlowestStep" : "Road/SlowestStep (WRONG ROUND TRIP)", length,
           step.Milliseconds());
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%-34s %8zu  %10.1f MB\n", "Road/PeakWorkingSet", length,
                static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20));
}

// Coded text written into a multi-line field of the window's size, as a paste does, and painted.
void Write(const char* name, const wchar_t* controlClass, const std::u16string& coded) {
    HWND field =
        CreateWindowExW(WS_EX_CLIENTEDGE, controlClass, L"",
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                        409, 89, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(field, std::wcscmp(controlClass, MSFTEDIT_CLASS) == 0 ? EM_EXLIMITTEXT : EM_SETLIMITTEXT, 0,
                 0x7FFFFFFE);
    const std::wstring text(coded.begin(), coded.end());
    const double ms = MedianMs([&] { SetWindowTextW(field, L""); },
                               [&] {
                                   SetWindowTextW(field, text.c_str());
                                   Paint(field);
                               });
    Report(name, coded.size(), ms);
    DestroyWindow(field);
}

}  // namespace

int main(int argc, char* argv[]) {
    constexpr std::size_t K = 1 << 10;
    std::vector<std::size_t> lines{16 * K, 64 * K, 256 * K, 1024 * K, 4096 * K};
    std::vector<std::size_t> paragraphs = lines;
    std::vector<std::size_t> keystrokes{4 * K, 4000000};
    std::vector<std::size_t> resizes{4000000};
    std::vector<std::size_t> compared;
    std::vector<std::size_t> road{1024 * K};
    std::vector<std::size_t>* adding = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--smoke") {
            runs = 1;
            lines = paragraphs = keystrokes = resizes = compared = road = {4 * K};
        } else if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (argument.starts_with("--")) {
            adding = argument == "--lines"       ? &lines
                     : argument == "--paragraph" ? &paragraphs
                     : argument == "--keystroke" ? &keystrokes
                     : argument == "--resize"    ? &resizes
                     : argument == "--compare"   ? &compared
                     : argument == "--road"      ? &road
                                                 : nullptr;
            if (adding == &road) {
                // The road alone, so that the peak working set is the road's.
                lines.clear(), paragraphs.clear(), keystrokes.clear(), resizes.clear(), compared.clear();
            }
            if (adding)
                adding->clear();
        } else if (adding) {
            adding->push_back(static_cast<std::size_t>(std::atol(argument.c_str())));
        }
    }
    LoadLibraryW(L"Msftedit.dll");
    std::printf("%-34s %8s  %13s\n", "case", "units", "median");
    // First, while the process has done nothing else.
    for (const std::size_t length : road)
        Road(length);
    for (const std::size_t length : lines) {
        const std::u16string message = Prose(length, Shape::Lines, u"\r\n");
        Click("EncryptClick/Lines", std::make_unique<quorvel::windows::frmEncrypt>(), message);
        Click("DecryptClick/Lines", std::make_unique<quorvel::windows::frmDecrypt>(),
              quorvel::EncodeMessage(message));
    }
    for (const std::size_t length : paragraphs) {
        const std::u16string message = Prose(length, Shape::Paragraph);
        Click("EncryptClick/Paragraph", std::make_unique<quorvel::windows::frmEncrypt>(), message);
        Click("DecryptClick/Paragraph", std::make_unique<quorvel::windows::frmDecrypt>(),
              quorvel::EncodeMessage(message));
    }
    for (const std::size_t length : keystrokes)
        Keystroke(length);
    for (const std::size_t length : resizes)
        Resize(length);
    for (const std::size_t length : compared) {
        const std::u16string coded = quorvel::EncodeMessage(Prose(length, Shape::Paragraph));
        TextView::Register();
        Write("WriteCoded/TextField", TextView::ClassName, coded);
        Write("WriteCoded/Edit", L"EDIT", coded);
        Write("WriteCoded/RichEdit", MSFTEDIT_CLASS, coded);
    }
    return 0;
}
