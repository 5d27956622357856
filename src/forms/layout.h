#pragma once

#include <span>
#include <string_view>

// Window layouts as data: every position and size in twips (1/1440 inch, 15 to a device-independent
// pixel), relative to the top-left corner of the window's client area.
namespace quorvel::forms {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

// Pixels for a length in twips at `dpi` dots per inch, to the nearest pixel, halves away from zero.
constexpr int Pixels(int twips, int dpi = kStandardDpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + (scaled < 0 ? -kTwipsPerInch / 2 : kTwipsPerInch / 2)) / kTwipsPerInch);
}

enum class ControlKind { PushButton, TextField, Label, PictureBox };

enum class Frame {
    Sizable,     // minimize, maximize and close box; the user can resize
    FixedSingle  // close box only; not resizable
};

enum class Placement {
    SystemDefault,  // wherever the window system puts a new top-level window
    CentreScreen,
    Fixed  // client area's top-left corner at the layout's screen position
};

enum class Icon { Program, ToolkitDefault };

struct Font {
    std::string_view family;
    double points;
    bool bold = false;
};

struct ControlLayout {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    int tabIndex;
    std::string_view text;  // caption or initial text; for a picture box, its picture's resource name
    const Font* font;       // nullptr: the window's font
    // What a screen reader calls the control; empty: its caption. Pictures are named for what they
    // show, and text fields for their purpose, which their initial text only hints at.
    std::string_view accessibleName = {};
};

struct WindowLayout {
    std::string_view name;
    std::string_view caption;
    int clientWidth, clientHeight;
    Frame frame;
    Icon icon;
    Placement placement;
    int left = 0, top = 0;       // screen position, for Placement::Fixed
    const Font* font = nullptr;  // nullptr: the toolkit's default font
    std::span<const ControlLayout> controls;
};

// The fonts the layouts use.
inline constexpr Font kVerdana825{"Verdana", 8.25};
inline constexpr Font kVerdana825Bold{"Verdana", 8.25, true};
inline constexpr Font kVerdana975{"Verdana", 9.75};
inline constexpr Font kVerdana12{"Verdana", 12};
inline constexpr Font kSansSerif825{"MS Sans Serif", 8.25};
inline constexpr Font kSansSerif975{"MS Sans Serif", 9.75};
inline constexpr Font kSansSerif12{"MS Sans Serif", 12};

}  // namespace quorvel::forms
