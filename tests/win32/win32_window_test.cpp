// What only the Win32 backend has: its windows and controls as the layouts give them, its text
// fields' code units, and the Windows clipboard.
#include "about_window.h"
#include "clipboard.h"
#include "decrypt_window.h"
#include "driver.h"
#include "encrypt_window.h"
#include "error_report.h"
#include "main_window.h"
#include "passes.h"
#include "text.h"
#include "text_view.h"
#include "win32_window.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace quorvel::forms::win32 {
namespace {

namespace drive = testing::drive;

constexpr int Px(int twips) { return (twips + (twips < 0 ? -7 : 7)) / 15; }

std::wstring ClassOf(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return name;
}

std::u16string WindowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)), u'\0');
    GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size() + 1));
    return text;
}

Win32Window& Native(Form& form) { return *dynamic_cast<Win32Window*>(form.window()); }

class EveryLayout : public ::testing::TestWithParam<const WindowLayout*> {};

TEST_P(EveryLayout, BuildsTheWindowAndEveryControlAsTheTableSays) {
    const WindowLayout& layout = *GetParam();
    Form form(layout);
    form.Show();
    drive::Opened(form);
    HWND window = Native(form).handle();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Px(layout.clientWidth));
    EXPECT_EQ(client.bottom, Px(layout.clientHeight));
    EXPECT_EQ(WindowText(window), Utf16(layout.caption));

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD sizing = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(style & sizing, layout.frame == Frame::Sizable ? sizing : 0u);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    const bool hasIcon = SendMessageW(window, WM_GETICON, ICON_SMALL, 0) != 0;
    EXPECT_EQ(hasIcon, layout.icon == Icon::Program);

    for (const ControlLayout& control : layout.controls) {
        SCOPED_TRACE(std::string(control.name));
        HWND handle = Native(form).Control(control.name);
        ASSERT_NE(handle, nullptr);
        RECT at{};
        GetWindowRect(handle, &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        EXPECT_EQ(at.left, Px(control.left));
        EXPECT_EQ(at.top, Px(control.top));
        EXPECT_EQ(at.right - at.left, Px(control.width));
        EXPECT_EQ(at.bottom - at.top, Px(control.height));
        const auto controlStyle = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
        switch (control.kind) {
        case ControlKind::PushButton:
            EXPECT_EQ(ClassOf(handle), L"Button");
            EXPECT_EQ(controlStyle & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
            EXPECT_EQ(WindowText(handle), Utf16(control.text));
            break;
        case ControlKind::TextField: {
            EXPECT_EQ(ClassOf(handle), TextView::ClassName);
            EXPECT_TRUE(controlStyle & WS_VSCROLL);
            EXPECT_FALSE(controlStyle & (WS_HSCROLL | ES_AUTOHSCROLL | ES_READONLY));
            EXPECT_EQ(WindowText(handle), Utf16(control.text));
            // An outline font, which font fallback can look past and which scales: not a bitmap face.
            HDC dc = GetDC(handle);
            HGDIOBJ previous =
                SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(handle, WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, previous);
            ReleaseDC(handle, dc);
            EXPECT_TRUE(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR));
            break;
        }
        case ControlKind::Label:
            EXPECT_EQ(ClassOf(handle), L"Static");
            EXPECT_EQ(WindowText(handle), Utf16(control.text));
            break;
        case ControlKind::PictureBox:
            EXPECT_EQ(ClassOf(handle), L"Static");
            break;
        }
    }

    // Tab goes round the buttons and fields in the layout's order, starting where the focus starts.
    std::vector<const ControlLayout*> stops;
    for (const ControlLayout& control : layout.controls)
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::TextField)
            stops.push_back(&control);
    std::ranges::stable_sort(stops, {}, &ControlLayout::tabIndex);
    for (const ControlLayout* stop : stops) {
        EXPECT_EQ(drive::Focused(form), stop->name);
        drive::Press(form, drive::Key::Tab);
    }
    if (!stops.empty()) {
        EXPECT_EQ(drive::Focused(form), stops.front()->name);
    }
}

TEST_P(EveryLayout, OneLineLabelsFitTheirBoxesInTheFontsTheyGet) {
    const WindowLayout& layout = *GetParam();
    Form form(layout);
    form.Show();
    for (const ControlLayout& control : layout.controls) {
        if (control.kind != ControlKind::Label || Px(control.height) > 20)
            continue;
        HWND handle = Native(form).Control(control.name);
        HDC dc = GetDC(handle);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(handle, WM_GETFONT, 0, 0)));
        const std::wstring text(control.text.begin(), control.text.end());
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        ReleaseDC(handle, dc);
        EXPECT_LE(size.cx, Px(control.width)) << std::string(control.name);
        EXPECT_LE(size.cy, Px(control.height)) << std::string(control.name);
    }
}

// What a screen reader hears of each window's controls, control by control.
const std::map<std::string_view, std::vector<std::pair<std::string_view, std::u16string>>> kHeard{
    {"frmMain",
     {{"Command1", u"Encrypt"},
      {"Command2", u"Decrypt"},
      {"Command3", u"About"},
      {"Picture1", u"Banner: Quorvel 1.0, by Tarnwick & Dravo"}}},
    {"frmEncrypt",
     {{"Text1", u"Message to encrypt"},
      {"Command1", u"Encrypt Message"},
      {"Text2", u"Encrypted message"},
      {"Command2", u"Copy To Clipboard"}}},
    {"frmDecrypt",
     {{"Command1", u"Decrypt Message"},
      {"Command2", u"Copy To Clipboard"},
      {"Text1", u"Coded text to decrypt"},
      {"Text2", u"Decrypted message"}}},
    {"frmAbout",
     {{"lblhelp",
       u"Need help? Well Thats What This Is For. The Quorvel is used to code the text you type so its almost "
       u"impossible to read without the decoder! All you do is type what you want to say and Click the "
       u"\"Encrypt\" Button, To Encrypt the message. Then Click the \"Copy\" Button to copy the encrypted "
       u"message to your Clipboard. Now comes the \"Difficult\" part Open up the program you want to send the "
       u"encrypted message with. Choose Anything, I mean Anything! Then just Right-Click in the Textfield and "
       u"Choose \"Paste\" and There you have it your message is encrypted and ready to be sent! Enjoy!"},
      {"Picture1", u"Picture: Quorvel 1.0 across a field of grey spheres"},
      {"Label1", u"Programmer:"},
      {"Label2", u"Tarnwick"},
      {"Label3", u"Graphics:"},
      {"Label4", u"Dravo"},
      {"Label5", u"Website:"},
      {"Label6", u"None Currently..."},
      {"Label7", u"Version:"},
      {"Label8", u"1.01a"}}},
};

// What a screen reader hears, through Active Accessibility: text fields by the names their layouts
// give them, not by their text, and pictures by what they show.
TEST_P(EveryLayout, EveryControlCarriesItsAccessibleName) {
    const WindowLayout& layout = *GetParam();
    Form form(layout);
    form.Show();
    const auto& expected = kHeard.at(layout.name);
    ASSERT_EQ(expected.size(), layout.controls.size());
    for (const auto& [control, expectedName] : expected) {
        SCOPED_TRACE(std::string(control));
        IAccessible* accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(Native(form).Control(control), static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        accessible->get_accName(self, &name);
        const std::u16string heard = name ? std::u16string(reinterpret_cast<const char16_t*>(name)) : u"";
        SysFreeString(name);
        accessible->Release();
        EXPECT_EQ(heard, expectedName);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryLayout,
                         ::testing::Values(&windows::kMainLayout, &windows::kEncryptLayout,
                                           &windows::kDecryptLayout, &windows::kAboutLayout),
                         [](const auto& info) { return std::string(info.param->name); });

// A picture is drawn unscaled from the box's top-left corner; the rest of the box is the window's.
TEST(PictureBox, DrawsItsBitmapFromTheTopLeftCornerAndNothingBeyondIt) {
    windows::frmAbout form;
    form.Show();
    drive::Opened(form);
    HWND box = Native(form).Control("Picture1");
    auto* bitmap =
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"about", IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, bitmap);
    // The box paints itself into a bitmap as it paints on the screen.
    RECT area{};
    GetClientRect(box, &area);
    ASSERT_GT(area.right, size.bmWidth);
    HDC drawn = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, area.right, area.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previousCanvas = SelectObject(drawn, canvas);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn), PRF_CLIENT);
    for (const POINT at :
         {POINT{0, 0}, POINT{size.bmWidth / 2, size.bmHeight / 2}, POINT{size.bmWidth - 1, 3}})
        EXPECT_EQ(GetPixel(drawn, at.x, at.y), GetPixel(source, at.x, at.y)) << at.x << "," << at.y;
    EXPECT_EQ(GetPixel(drawn, size.bmWidth + 1, 5), GetSysColor(COLOR_BTNFACE));
    SelectObject(drawn, previousCanvas);
    DeleteObject(canvas);
    DeleteDC(drawn);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

// Moved to a monitor of twice the DPI, a window puts its controls at twice the pixels.
TEST(Dpi, AWindowMovedToAnotherDpiScalesItsControls) {
    windows::frmEncrypt form;
    form.Show();
    HWND window = Native(form).handle();
    RECT outer{};
    GetWindowRect(window, &outer);
    const RECT suggested{outer.left, outer.top, outer.left + 2 * (outer.right - outer.left),
                         outer.top + 2 * (outer.bottom - outer.top)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    for (const ControlLayout& control : windows::kEncryptLayout.controls) {
        RECT at{};
        GetWindowRect(Native(form).Control(control.name), &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        EXPECT_EQ(at.left, MulDiv(control.left, 192, 1440)) << std::string(control.name);
        EXPECT_EQ(at.right - at.left, MulDiv(control.width, 192, 1440)) << std::string(control.name);
    }
}

TEST(Placement, AboutHasItsClientAreaAtItsPlaceAndMainIsCentred) {
    Form about(windows::kAboutLayout);
    about.Show();
    POINT corner{0, 0};
    ClientToScreen(Native(about).handle(), &corner);
    EXPECT_EQ(corner.x, 144);
    EXPECT_EQ(corner.y, 117);

    Form main(windows::kMainLayout);
    main.Show();
    RECT outer{};
    RECT work{};
    GetWindowRect(Native(main).handle(), &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((outer.left + outer.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (work.top + work.bottom)), 2);
}

TEST(TextField, GivesBackEveryCodeUnitAndEveryLineBreakExactly) {
    windows::frmEncrypt form;
    form.Show();
    // Every code unit, NUL and lone surrogates included, painted too.
    std::u16string all;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        all.push_back(static_cast<char16_t>(unit));
    form.window()->SetText("Text1", all);
    UpdateWindow(Native(form).Control("Text1"));
    EXPECT_TRUE(form.window()->Text("Text1") == all);
    EXPECT_TRUE(form.window()->Holds("Text1", all));
    EXPECT_FALSE(form.window()->Holds("Text1", all.substr(1)));
    for (const std::u16string breaks : {u"a\r\nb", u"a\nb\rc\r\r\nd", u"\r\n\r\n"}) {
        form.window()->SetText("Text1", breaks);
        EXPECT_EQ(form.window()->Text("Text1"), breaks);
    }
}

TEST(TextField, EnterMakesALineBreakAndAPasteFromAnEmptyClipboardInsertsNothing) {
    windows::frmEncrypt form;
    form.Show();
    drive::Opened(form);
    form.window()->SetText("Text1", u"");
    drive::Click(form, "Text1");
    drive::Type(form, "one");
    drive::Press(form, drive::Key::Return);
    drive::Type(form, "two");
    EXPECT_EQ(form.window()->Text("Text1"), u"one\r\ntwo");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    SendMessageW(Native(form).Control("Text1"), WM_PASTE, 0, 0);
    EXPECT_EQ(form.window()->Text("Text1"), u"one\r\ntwo");
}

// Coded text made on either platform decodes on the other: line breaks have no code and pass
// through as they are.
TEST(CodedText, DecodesWithTheLineBreaksOfEitherPlatform) {
    const std::u16string fromLinux = u"Grüße\nline two";
    const std::u16string fromWindows = u"Grüße\r\nline two";
    windows::frmDecrypt form;
    form.Show();
    for (const std::u16string& message : {fromLinux, fromWindows}) {
        form.window()->SetText("Text1", EncodeMessage(message));
        drive::Click(form, "Command1");
        EXPECT_EQ(form.window()->Text("Text2"), message);
    }
}

std::u16string ClipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr))
        return u"<not open>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool ClipboardHasDwordZero(const wchar_t* format) {
    bool zero = false;
    if (!OpenClipboard(nullptr))
        return false;
    if (HANDLE data = GetClipboardData(RegisterClipboardFormatW(format))) {
        zero = GlobalSize(data) >= sizeof(DWORD) && *static_cast<const DWORD*>(GlobalLock(data)) == 0;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return zero;
}

TEST(Clipboard, CopiesAsUnicodeTextAndKeepsTheDecryptedMessageOutOfHistory) {
    const std::u16string message = u"Meet 100% at 7:30\r\nGrüße \U0001F600";
    windows::frmEncrypt encrypt;
    encrypt.Show();
    encrypt.window()->SetText("Text1", message);
    drive::Click(encrypt, "Command1");
    drive::Click(encrypt, "Command2");
    EXPECT_EQ(ClipboardText(), EncodeMessage(message));
    EXPECT_FALSE(ClipboardHasDwordZero(L"CanIncludeInClipboardHistory"));

    windows::frmDecrypt decrypt;
    decrypt.Show();
    decrypt.window()->SetText("Text1", EncodeMessage(message));
    drive::Click(decrypt, "Command1");
    drive::Click(decrypt, "Command2");
    EXPECT_EQ(ClipboardText(), message);
    for (const wchar_t* format : {L"ExcludeClipboardContentFromMonitorProcessing",
                                  L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"})
        EXPECT_TRUE(ClipboardHasDwordZero(format)) << format;
}

// Another program holds the clipboard open: for a moment, the copy waits for it; for good, the
// copy is reported.
TEST(Clipboard, WaitsForAnotherProgramToLetGoAndReportsOneThatDoesNot) {
    windows::frmEncrypt form;
    form.Show();
    for (const int heldMs : {300, 3000}) {
        SCOPED_TRACE(heldMs);
        HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread other([opened, heldMs] {
            HWND owner =
                CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            OpenClipboard(owner);
            SetEvent(opened);
            Sleep(static_cast<DWORD>(heldMs));
            CloseClipboard();
            DestroyWindow(owner);
        });
        WaitForSingleObject(opened, INFINITE);
        bool failed = false;
        try {
            TheClipboard().putText(u"held", Clipboard::Content::Ordinary);
        } catch (const Failure& failure) {
            failed = failure.number() == kClipboardFailure;
        }
        other.join();
        CloseHandle(opened);
        EXPECT_EQ(failed, heldMs > 1000);
        if (!failed) {
            EXPECT_EQ(ClipboardText(), u"held");
        }
    }
}

}  // namespace
}  // namespace quorvel::forms::win32
