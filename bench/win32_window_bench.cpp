// What the Windows program's windows cost a user with large messages, under Wine: a click on the run
// buttons until the result is painted, and coded text written into a field as a paste does, also
// into a RichEdit control for comparison. Google Benchmark is not packaged for Windows, so a small
// harness takes the median of a few runs.
//   win32_window_bench [--smoke | --runs N] [--lines LENGTH...] [--paragraph LENGTH...]
#include "../tests/support/prose.h"
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "passes.h"
#include "win32_window.h"

#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

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

// Coded text written into a multi-line field of the window's size, as a paste does, and painted.
void Write(const char* name, const wchar_t* controlClass, const std::u16string& coded) {
    HWND field =
        CreateWindowExW(WS_EX_CLIENTEDGE, controlClass, L"",
                        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                        409, 89, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(field, std::wcscmp(controlClass, L"EDIT") == 0 ? EM_SETLIMITTEXT : EM_EXLIMITTEXT, 0,
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
    // Under Wine a long paragraph takes minutes, so each shape has lengths of its own.
    std::vector<std::size_t> lines{64 << 10, 1 << 20};
    std::vector<std::size_t> paragraphs{16 << 10, 32 << 10, 64 << 10};
    std::vector<std::size_t>* adding = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--smoke") {
            runs = 1;
            lines = {4 << 10};
            paragraphs = {4 << 10};
        } else if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (argument == "--lines" || argument == "--paragraph") {
            adding = argument == "--lines" ? &lines : &paragraphs;
            adding->clear();
        } else if (adding) {
            adding->push_back(static_cast<std::size_t>(std::atol(argument.c_str())));
        }
    }
    LoadLibraryW(L"Msftedit.dll");
    std::printf("%-34s %8s  %13s\n", "case", "units", "median");
    for (const std::size_t length : lines) {
        const std::u16string message = Prose(length, Shape::Lines, u"\r\n");
        Click("EncryptClick/Lines", std::make_unique<quorvel::windows::frmEncrypt>(), message);
        Click("DecryptClick/Lines", std::make_unique<quorvel::windows::frmDecrypt>(),
              quorvel::EncodeMessage(message));
    }
    for (const std::size_t length : paragraphs) {
        const std::u16string message = Prose(length, Shape::Paragraph);
        const std::u16string coded = quorvel::EncodeMessage(message);
        Click("EncryptClick/Paragraph", std::make_unique<quorvel::windows::frmEncrypt>(), message);
        Click("DecryptClick/Paragraph", std::make_unique<quorvel::windows::frmDecrypt>(), coded);
        Write("WriteCoded/Edit", L"EDIT", coded);
        Write("WriteCoded/RichEdit", MSFTEDIT_CLASS, coded);
    }
    return 0;
}
