#include "builder.h"

#include "accessible_name.h"
#include "font_choice.h"
#include "picture_box.h"
#include "placement.h"
#include "tab_order.h"
#include "text_field.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <optional>

namespace quorvel::forms::qt {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::WindowFlags FlagsFor(Frame frame) {
    if (frame == Frame::Sizable)
        return Qt::Window;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

// Qt describes a plain widget as a filler, also when it is a top-level window: a screen reader is to
// meet the program's windows as windows, named by their captions. Every plain top-level widget of
// the program is one of its windows.
QAccessibleInterface* WindowAccessible(const QString& key, QObject* object) {
    if (key != QLatin1String("QWidget") || !object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

QWidget* MakeControl(const ControlLayout& control, QWidget* window) {
    const QString text = FromUtf8(control.text);
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, window);
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    case ControlKind::TextField: {
        auto* field = new TextField(window);
        field->setText(text);
        return field;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, window);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::PictureBox: {
        return new PictureBox(text, window);
    }
    }
    return nullptr;
}

// Where the window goes on the screen; nothing for the window system's choice. Qt places a window by
// its client area and learns its frame only once it is shown, so the client area stands for the frame.
std::optional<QPoint> ClientPosition(const WindowLayout& layout, QSize size) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen && layout.placement == Placement::CentreScreen)
        return std::nullopt;
    const QRect work = screen ? screen->availableGeometry() : QRect();
    const std::optional<Point> at = FramePosition(
        layout, {0, 0, size.width(), size.height()},
        {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()}, kStandardDpi);
    return at ? std::optional<QPoint>(QPoint(at->x, at->y)) : std::nullopt;
}

}  // namespace

QFont FontFor(const Font& font) {
    // Free stand-ins of similar metrics: DejaVu Sans is wide and open like Verdana, its condensed cut
    // is close to the narrower MS Sans Serif. Qt takes the first family it has. Full hinting keeps
    // their widths to whole pixels, as the layouts were measured.
    static constexpr StandIns kStandIns{"DejaVu Sans", "DejaVu Sans Condensed"};
    QStringList families;
    for (const std::string_view family : FamilyChoices(font, kStandIns))
        families.append(FromUtf8(family));
    QFont result;
    result.setFamilies(families);
    result.setPointSizeF(font.points);
    result.setBold(font.bold);
    result.setHintingPreference(QFont::PreferFullHinting);
    return result;
}

void BuildWidgets(QWidget* window, const WindowLayout& layout) {
    static const bool windowsAccessible = (QAccessible::installFactory(WindowAccessible), true);
    Q_UNUSED(windowsAccessible);
    window->setWindowFlags(FlagsFor(layout.frame));
    window->setObjectName(FromUtf8(layout.name));
    window->setWindowTitle(FromUtf8(layout.caption));
    window->setAccessibleName(window->windowTitle());
    if (layout.icon == Icon::Program)
        window->setWindowIcon(QIcon(QStringLiteral(":/quorvel/icon.png")));
    if (layout.font)
        window->setFont(FontFor(*layout.font));

    const QSize client(Pixels(layout.clientWidth), Pixels(layout.clientHeight));
    if (layout.frame == Frame::FixedSingle)
        window->setFixedSize(client);
    else
        window->resize(client);
    if (const std::optional<QPoint> position = ClientPosition(layout, client))
        window->setGeometry(QRect(*position, client));

    const ControlLayout* firstFocus = FirstFocus(layout);
    QWidget* previous = nullptr;
    for (const ControlLayout* control : InTabOrder(layout)) {
        QWidget* widget = MakeControl(*control, window);
        widget->setObjectName(FromUtf8(control->name));
        widget->setAccessibleName(FromUtf8(AccessibleName(*control)));
        widget->setGeometry(Pixels(control->left), Pixels(control->top), Pixels(control->width),
                            Pixels(control->height));
        if (control->font)
            widget->setFont(FontFor(*control->font));
        if (!TakesFocus(control->kind)) {
            widget->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        if (previous)
            QWidget::setTabOrder(previous, widget);
        if (control == firstFocus)
            widget->setFocus(Qt::OtherFocusReason);
        previous = widget;
    }
}

}  // namespace quorvel::forms::qt
