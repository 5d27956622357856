#include "decrypt_window.h"
#include "driver.h"
#include "encrypt_window.h"
#include "passes.h"
#include "qt_widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace quorvel::windows {
namespace {

using forms::qt::FromUnits;
using forms::qt::TextField;
using forms::qt::Units;

// Drives one open window through its widgets, as a user would.
struct Driver {
    explicit Driver(MessageWindow& form) : form(form) {
        form.Show();
        testing::drive::Opened(form);
    }
    TextField* input() const { return testing::qt::Field(form, "Text1"); }
    TextField* output() const { return testing::qt::Field(form, "Text2"); }
    void click(const char* name) const { testing::drive::Click(form, name); }
    void paste(std::string_view field) const {
        testing::drive::Click(form, field);
        QTest::keyClick(testing::qt::Field(form, field), Qt::Key_V, Qt::ControlModifier);
    }

    MessageWindow& form;
};

// The whole road of a message through both windows and the real clipboard: typed with line breaks,
// or pasted with characters the fields could easily change.
TEST(MessageRoad, TypedOrPastedMessagesComeBackExactly) {
    const QString pasted = QStringLiteral("a\u00a0b\u2028c\td \u00e9\u00df \U0001F600 100% %K7B20 ~:\"");
    for (const bool typed : {true, false}) {
        SCOPED_TRACE(typed ? "typed" : "pasted");
        frmEncrypt encryptForm;
        frmDecrypt decryptForm;
        Driver encrypt(encryptForm);
        QString message;
        if (typed) {
            encrypt.click("Text1");
            QTest::keyClicks(encrypt.input(), "Line one, 50% off");
            QTest::keyClick(encrypt.input(), Qt::Key_Return);
            QTest::keyClicks(encrypt.input(), "Line TWO: 42");
            message = "Line one, 50% off\nLine TWO: 42";
        } else {
            QGuiApplication::clipboard()->setText(pasted);
            encrypt.paste("Text1");
            message = pasted;
        }
        ASSERT_EQ(encrypt.input()->text(), message);
        encrypt.click("Command1");
        encrypt.click("Command2");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), FromUnits(EncodeMessage(Units(message))));

        Driver decrypt(decryptForm);
        decrypt.paste("Text1");
        decrypt.click("Command1");
        EXPECT_EQ(decrypt.output()->text(), message);
        decrypt.click("Command2");
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        EXPECT_EQ(copied->text(), message);
        EXPECT_EQ(copied->data("x-kde-passwordManagerHint"), "secret");
    }
}

TEST(TextField, KeepsEveryCodeUnitThroughAWriteAndARead) {
    QString all;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        all.append(QChar(static_cast<char16_t>(unit)));
    TextField field;
    field.setText(all);
    EXPECT_TRUE(field.text() == all);
    EXPECT_TRUE(field.holds(all));

    const QString breaks = QStringLiteral("a\r\nb\rc\nd\u2029e\u2028f");
    field.setText(breaks);
    EXPECT_EQ(field.text(), breaks);
    EXPECT_FALSE(field.holds(QStringLiteral("a\nb\nc\nd\ne\nf")));
}

TEST(TextField, DrawsTheFontItIsGivenOrInheritsUnshaped) {
    QWidget window;
    window.setFont(QFont("DejaVu Sans", 20));
    TextField field(&window);
    EXPECT_EQ(field.font().pointSize(), 20);
    EXPECT_TRUE(field.font().styleStrategy() & QFont::PreferNoShaping);
    EXPECT_FALSE(field.font().kerning());
    field.setFont(QFont("DejaVu Serif", 9));
    EXPECT_EQ(field.font().family(), "DejaVu Serif");
    EXPECT_TRUE(field.font().styleStrategy() & QFont::PreferNoShaping);
}

TEST(TextField, TakesOnlyThePlainTextOfAPaste) {
    // Programs often offer markdown or HTML first; the field holds the plain text, as it was.
    auto* offered = new QMimeData;
    offered->setData("text/markdown", "**not bold** _nor_ <i>this</i>");
    offered->setHtml("<b>html</b>");
    offered->setText("**not bold** _nor_ <i>this</i>");
    QGuiApplication::clipboard()->setMimeData(offered);
    TextField field;
    field.paste();
    EXPECT_EQ(field.text(), "**not bold** _nor_ <i>this</i>");
}

}  // namespace
}  // namespace quorvel::windows
