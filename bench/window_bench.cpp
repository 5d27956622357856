// What the windows cost a user with large messages: a click on the run buttons until the result is
// laid out and painted, a paste of coded text, a keystroke in a long field, a resize, and the road of
// one message with its slowest step and the memory it takes. Messages come in lines of prose, or as
// one paragraph without a line break, the case the text layout finds hardest.
#include "../tests/support/prose.h"
#include "decrypt_window.h"
#include "driver.h"
#include "encrypt_window.h"
#include "passes.h"
#include "qt_widgets.h"
#include "slowest_step.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

using quorvel::forms::qt::FromUnits;
using quorvel::forms::qt::TextField;
using quorvel::windows::MessageWindow;

using quorvel::testing::Prose;
using quorvel::testing::Shape;

// Lays out and paints what the window shows, as the next frame on screen would.
void Paint(QWidget* window) {
    QCoreApplication::processEvents();
    window->repaint();
    for (TextField* field : window->findChildren<TextField*>())
        field->viewport()->repaint();
}

struct OpenWindow {
    OpenWindow(std::unique_ptr<MessageWindow> window, const std::u16string& input) : form(std::move(window)) {
        form->Show();
        field("Text1")->setText(FromUnits(input));
        Paint(quorvel::testing::qt::WindowWidget(*form));
    }
    TextField* field(const char* name) const { return quorvel::testing::qt::Field(*form, name); }
    void click(const char* name) const {
        quorvel::testing::drive::Click(*form, name);
        Paint(quorvel::testing::qt::WindowWidget(*form));
    }
    std::unique_ptr<MessageWindow> form;
};

OpenWindow Open(bool encrypt, std::size_t length, Shape shape) {
    const std::u16string message = Prose(length, shape);
    if (encrypt)
        return {std::make_unique<quorvel::windows::frmEncrypt>(), message};
    return {std::make_unique<quorvel::windows::frmDecrypt>(), quorvel::EncodeMessage(message)};
}

// Clicks on the run button, each with the output field as a first click finds it, holding little.
void ClickRun(benchmark::State& state, const OpenWindow& window) {
    for (auto _ : state) {
        state.PauseTiming();
        window.field("Text2")->setText(QString());
        Paint(quorvel::testing::qt::WindowWidget(*window.form));
        state.ResumeTiming();
        window.click("Command1");
    }
}

void Click(benchmark::State& state, bool encrypt, Shape shape) {
    ClickRun(state, Open(encrypt, static_cast<std::size_t>(state.range(0)), shape));
}

// A click on Decrypt Message for a message of `range(0)` units in many scripts and emoji, whose output
// rows are all shaped.
void ClickDecryptScripts(benchmark::State& state) {
    const QString message = QStringLiteral(
        "مرحبا بالعالم שָׁלוֹם नमस्ते สวัสดี 你好中文 Привет 👍🏽 🇩🇪 👩‍👩‍👧 ");
    const QString text = message.repeated(std::max<qsizetype>(1, state.range(0) / message.size()));
    const OpenWindow window(std::make_unique<quorvel::windows::frmDecrypt>(),
                            quorvel::EncodeMessage(quorvel::forms::qt::Units(text)));
    ClickRun(state, window);
}

// The coded text of a message pasted into the emptied Decrypt input, as the receiver does.
void PasteCoded(benchmark::State& state, Shape shape) {
    const OpenWindow window = Open(false, 0, shape);
    QGuiApplication::clipboard()->setText(
        FromUnits(quorvel::EncodeMessage(Prose(static_cast<std::size_t>(state.range(0)), shape))));
    TextField* input = window.field("Text1");
    for (auto _ : state) {
        state.PauseTiming();
        input->setText(QString());
        Paint(quorvel::testing::qt::WindowWidget(*window.form));
        state.ResumeTiming();
        input->paste();
        Paint(quorvel::testing::qt::WindowWidget(*window.form));
    }
}

// A key typed at the end of a field that holds one paragraph of coded text of `range(0)` units.
void Keystroke(benchmark::State& state) {
    const OpenWindow window = Open(false, 0, Shape::Paragraph);
    TextField* field = window.field("Text1");
    field->setText(FromUnits(quorvel::EncodeMessage(
                                 Prose(static_cast<std::size_t>(state.range(0)) / 4, Shape::Paragraph)))
                       .left(state.range(0)));
    field->select(field->editor().Text().size(), field->editor().Text().size());
    field->setFocus();
    Paint(quorvel::testing::qt::WindowWidget(*window.form));
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(field, type ? Qt::Key_A : Qt::Key_Backspace);
        Paint(quorvel::testing::qt::WindowWidget(*window.form));
        type = !type;
    }
}

// Both fields of the Encrypt window, each holding one paragraph of `range(0)` units of coded text, made
// narrower or wider, as a window resized by the user resizes them, until painted.
void ResizeFields(benchmark::State& state) {
    const OpenWindow window = Open(true, 0, Shape::Paragraph);
    const QString coded = FromUnits(quorvel::EncodeMessage(Prose(static_cast<std::size_t>(state.range(0)) / 4,
                                                                 Shape::Paragraph)))
                              .left(state.range(0));
    QWidget* widget = quorvel::testing::qt::WindowWidget(*window.form);
    const std::array<TextField*, 2> fields{window.field("Text1"), window.field("Text2")};
    for (TextField* field : fields)
        field->setText(coded);
    Paint(widget);
    const QSize size = fields[0]->size();
    bool narrow = true;
    for (auto _ : state) {
        for (TextField* field : fields)
            field->resize(size - (narrow ? QSize(60, 0) : QSize()));
        Paint(widget);
        narrow = !narrow;
    }
}

// The road of one paragraph as a user takes it, every step painted: the message pasted into the emptied
// Encrypt input, Encrypt Message, Copy; the coded text pasted into the emptied Decrypt input, Decrypt
// Message, Copy. Reports the slowest step and the process's peak resident memory, so each length is run
// in a process of its own (--benchmark_filter=Road/4194304).
void Road(benchmark::State& state) {
    const std::u16string message = Prose(static_cast<std::size_t>(state.range(0)), Shape::Paragraph);
    SlowestStep step;
    for (auto _ : state) {
        QGuiApplication::clipboard()->setText(FromUnits(message));
        const auto take = [&](const OpenWindow& window) {
            TextField* input = window.field("Text1");
            step([&] {
                input->setText(QString());
                input->paste();
                Paint(quorvel::testing::qt::WindowWidget(*window.form));
            });
            step([&] { window.click("Command1"); });
            step([&] { window.click("Command2"); });
        };
        const OpenWindow encrypt = Open(true, 0, Shape::Paragraph);
        take(encrypt);
        const OpenWindow decrypt = Open(false, 0, Shape::Paragraph);
        take(decrypt);
        if (quorvel::forms::qt::Units(QGuiApplication::clipboard()->text()) != message)
            state.SkipWithError("the road does not give the message back");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["slowest_step_ms"] = step.Milliseconds();
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void ClickEncryptLines(benchmark::State& state) { Click(state, true, Shape::Lines); }
void ClickDecryptLines(benchmark::State& state) { Click(state, false, Shape::Lines); }
void ClickEncryptParagraph(benchmark::State& state) { Click(state, true, Shape::Paragraph); }
void ClickDecryptParagraph(benchmark::State& state) { Click(state, false, Shape::Paragraph); }
void PasteCodedParagraph(benchmark::State& state) { PasteCoded(state, Shape::Paragraph); }

BENCHMARK(ClickEncryptLines)->Arg(64 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickDecryptLines)->Arg(64 << 10)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickEncryptParagraph)->RangeMultiplier(4)->Range(16 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(PasteCodedParagraph)->RangeMultiplier(4)->Range(16 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickDecryptParagraph)->RangeMultiplier(4)->Range(16 << 10, 4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickDecryptScripts)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Keystroke)
    ->Arg(4 << 10)
    ->RangeMultiplier(2)
    ->Range(256 << 10, 4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ResizeFields)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Road)->Arg(1 << 20)->Arg(4 << 20)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
