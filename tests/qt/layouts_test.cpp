#include "about_window.h"
#include "builder.h"
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "main_window.h"
#include "text_field.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace quorvel::forms {
namespace {

using namespace qt;

// A top-level widget built from the layout, as the backend builds its windows.
std::unique_ptr<QWidget> BuildTop(const WindowLayout& layout) {
    auto window = std::make_unique<QWidget>();
    BuildWidgets(window.get(), layout);
    return window;
}

QString Name(std::string_view name) { return QString::fromUtf8(name.data(), qsizetype(name.size())); }

class EveryLayout : public ::testing::TestWithParam<const WindowLayout*> {};

TEST_P(EveryLayout, BuildsEveryControlAsTheTableSays) {
    const WindowLayout& layout = *GetParam();
    std::unique_ptr<QWidget> window(BuildTop(layout));
    EXPECT_EQ(window->objectName(), Name(layout.name));
    EXPECT_EQ(window->windowTitle(), Name(layout.caption));
    EXPECT_EQ(window->size(), QSize(layout.clientWidth / 15, layout.clientHeight / 15));

    for (const ControlLayout& control : layout.controls) {
        SCOPED_TRACE(control.name);
        auto* widget = window->findChild<QWidget*>(Name(control.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), QRect(Pixels(control.left), Pixels(control.top), Pixels(control.width),
                                            Pixels(control.height)));
        EXPECT_FALSE(widget->accessibleName().isEmpty());
        const QString text = Name(control.text);
        switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = qobject_cast<QPushButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), text);
            EXPECT_FALSE(button->isDefault() || button->autoDefault());
            break;
        }
        case ControlKind::TextField: {
            auto* field = qobject_cast<qt::TextField*>(widget);
            ASSERT_NE(field, nullptr);
            EXPECT_EQ(field->text(), text);
            EXPECT_EQ(field->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            break;
        }
        case ControlKind::Label: {
            auto* label = qobject_cast<QLabel*>(widget);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), text);
            EXPECT_TRUE(label->wordWrap());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            break;
        }
        case ControlKind::PictureBox: {
            auto* picture = qobject_cast<QLabel*>(widget);
            ASSERT_NE(picture, nullptr);
            EXPECT_FALSE(picture->pixmap().isNull());
            EXPECT_EQ(picture->focusPolicy(), Qt::NoFocus);
            break;
        }
        }
        const Font* font = control.font ? control.font : layout.font;
        if (font) {
            EXPECT_EQ(widget->font().families().value(0), Name(font->family));
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), font->points);
            EXPECT_EQ(widget->font().bold(), font->bold);
        }
    }
}

TEST_P(EveryLayout, HasTheFrameOfTheTable) {
    const WindowLayout& layout = *GetParam();
    std::unique_ptr<QWidget> window(BuildTop(layout));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    if (layout.frame == Frame::FixedSingle) {
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    } else {
        EXPECT_EQ(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
        EXPECT_FALSE(flags & Qt::CustomizeWindowHint);  // the window system's full set of buttons
    }
}

// Tab walks the controls that take the focus in the table's order, starting from the first; labels
// and pictures never take it.
TEST_P(EveryLayout, TabWalksTheTabOrder) {
    const WindowLayout& layout = *GetParam();
    std::vector<const ControlLayout*> focusable;
    for (const ControlLayout& control : layout.controls)
        if (control.kind == ControlKind::PushButton || control.kind == ControlKind::TextField)
            focusable.push_back(&control);
    std::ranges::sort(focusable, {}, &ControlLayout::tabIndex);
    std::unique_ptr<QWidget> window(BuildTop(layout));
    if (focusable.empty()) {
        for (const QWidget* child : window->findChildren<QWidget*>())
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
        return;
    }

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (std::size_t k = 0; k <= focusable.size(); ++k) {
        const ControlLayout& expected = *focusable[k % focusable.size()];
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), Name(expected.name)) << "after " << k << " tabs";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryLayout,
                         ::testing::Values(&windows::kMainLayout, &windows::kEncryptLayout,
                                           &windows::kDecryptLayout, &windows::kAboutLayout),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace quorvel::forms
