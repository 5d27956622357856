// What a click on the run button costs with a large message in the input field, beside the bare cost
// of writing the same result into the output field: the program should add almost nothing to it.
#include "decrypt_window.h"
#include "encrypt_window.h"
#include "passes.h"
#include "text_field.h"

#include "../tests/support/message_generator.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using quorvel::forms::FromUnits;
using quorvel::forms::TextField;

std::u16string Message(std::size_t length) {
    static constexpr std::u16string_view kProse =
        u"Meet me at 7:30 by the old mill, bring 2 maps & the key (100% sure).\nGrüße an alle!\t";
    std::u16string text;
    while (text.size() < length)
        text += kProse;
    text.resize(length);
    return text;
}

struct OpenWindow {
    explicit OpenWindow(std::unique_ptr<quorvel::windows::MessageWindow> window, const std::u16string& input)
        : form(std::move(window)) {
        form->Show();
        field("Text1")->setText(FromUnits(input));
    }
    TextField* field(const char* name) const { return form->window()->findChild<TextField*>(name); }
    std::unique_ptr<quorvel::windows::MessageWindow> form;
};

OpenWindow Open(bool encrypt, std::size_t length) {
    const std::u16string message = Message(length);
    if (encrypt)
        return OpenWindow(std::make_unique<quorvel::windows::frmEncrypt>(), message);
    return OpenWindow(std::make_unique<quorvel::windows::frmDecrypt>(), quorvel::EncodeMessage(message));
}

void Click(benchmark::State& state, bool encrypt) {
    OpenWindow window = Open(encrypt, static_cast<std::size_t>(state.range(0)));
    auto* run = window.form->window()->findChild<QPushButton*>("Command1");
    for (auto _ : state) {
        QTest::mouseClick(run, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
}

void BareWrite(benchmark::State& state, bool encrypt) {
    OpenWindow window = Open(encrypt, static_cast<std::size_t>(state.range(0)));
    const std::u16string input(quorvel::forms::Units(window.field("Text1")->text()));
    const QString result = FromUnits(encrypt ? quorvel::EncodeMessage(input) : quorvel::DecodeMessage(input));
    for (auto _ : state) {
        window.field("Text2")->setText(result);
        QCoreApplication::processEvents();
    }
}

void ClickEncrypt(benchmark::State& state) { Click(state, true); }
void BareWriteEncrypted(benchmark::State& state) { BareWrite(state, true); }
void ClickDecrypt(benchmark::State& state) { Click(state, false); }
void BareWriteDecrypted(benchmark::State& state) { BareWrite(state, false); }

BENCHMARK(ClickEncrypt)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWriteEncrypted)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickDecrypt)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BareWriteDecrypted)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

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
