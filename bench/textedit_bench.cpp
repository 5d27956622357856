#include "../tests/support/prose.h"
#include "editor.h"
#include "measurer.h"
#include "passes.h"
#include "row_layout.h"
#include "units.h"

#include <benchmark/benchmark.h>

#include <span>
#include <string>

namespace {

using namespace quorvel::forms::textedit;
using quorvel::testing::Prose;
using quorvel::testing::Shape;

// Advances as a view with a per-character cache gives them: a look-up per unit.
class CachedMeasurer : public Measurer {
public:
    explicit CachedMeasurer(bool proportional) : proportional_(proportional) {}

    void Advances(std::u16string_view piece, std::span<int> advances) override {
        for (std::size_t i = 0; i < piece.size(); ++i)
            advances[i] = !IsClusterBoundary(piece, i) ? 0 : proportional_ ? 5 + piece[i] % 9 : 8;
    }

private:
    bool proportional_;
};

constexpr int Width = 600;

std::u16string Coded(std::size_t length) {
    std::u16string coded = quorvel::EncodeMessage(Prose(length / 4 + 16, Shape::Paragraph));
    coded.resize(length, u'%');
    return coded;
}

std::u16string Text(bool coded, std::size_t length) {
    return coded ? Coded(length) : Prose(length, Shape::Paragraph);
}

void SetUnits(benchmark::State& state, std::size_t units) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * units));
}

// All rows of one paragraph of coded text or prose.
void Layout(benchmark::State& state, bool coded, bool proportional) {
    const std::u16string text = Text(coded, static_cast<std::size_t>(state.range(0)));
    CachedMeasurer measurer(proportional);
    RowLayout rows;
    for (auto _ : state) {
        rows.Layout(text, Width, measurer);
        benchmark::DoNotOptimize(rows.RowCount());
    }
    state.counters["rows"] = static_cast<double>(rows.RowCount());
    SetUnits(state, text.size());
}

// A keystroke in the middle of one paragraph (or at its start, where the most rows may follow): a unit
// typed, then taken away by the next iteration.
void Keystroke(benchmark::State& state, bool coded, bool proportional, bool atStart = false) {
    std::u16string text = Text(coded, static_cast<std::size_t>(state.range(0)));
    CachedMeasurer measurer(proportional);
    RowLayout rows;
    rows.Layout(text, Width, measurer);
    const std::size_t at = atStart ? 3 : text.size() / 2 + 3;
    double broken = 0;
    bool typed = false;
    for (auto _ : state) {
        if (typed) {
            text.erase(at, 1);
            rows.Update(text, at, 1, 0, measurer);
        } else {
            text.insert(at, 1, u'%');
            rows.Update(text, at, 0, 1, measurer);
        }
        typed = !typed;
        broken += static_cast<double>(rows.RowsBrokenLastTime());
    }
    state.counters["rows"] = static_cast<double>(rows.RowCount());
    state.counters["broken"] = benchmark::Counter(broken, benchmark::Counter::kAvgIterations);
}

// The same through the editor, as a view drives it: the text, the rows and the undo history.
void EditorKeystroke(benchmark::State& state, bool coded) {
    CachedMeasurer measurer(true);
    Editor editor(measurer);
    editor.SetText(Text(coded, static_cast<std::size_t>(state.range(0))));
    editor.SetWidth(Width);
    editor.Select(editor.Text().size() / 2 + 3, editor.Text().size() / 2 + 3);
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            editor.Backspace();
        else
            editor.ReplaceSelection(u"%", EditKind::Typing);
        typed = !typed;
    }
}

void LayoutCoded(benchmark::State& state) { Layout(state, true, false); }
void LayoutProse(benchmark::State& state) { Layout(state, false, false); }
void LayoutCodedProportional(benchmark::State& state) { Layout(state, true, true); }
void KeystrokeCoded(benchmark::State& state) { Keystroke(state, true, false); }
void KeystrokeCodedAtStart(benchmark::State& state) { Keystroke(state, true, false, true); }
void KeystrokeCodedProportional(benchmark::State& state) { Keystroke(state, true, true); }
void KeystrokeProse(benchmark::State& state) { Keystroke(state, false, false); }
void EditorKeystrokeCoded(benchmark::State& state) { EditorKeystroke(state, true); }

constexpr std::int64_t K4 = 4 << 10, M1 = 1 << 20, M4 = 4'000'000;

BENCHMARK(LayoutCoded)->Arg(M1)->Arg(M4)->Unit(benchmark::kMillisecond);
BENCHMARK(LayoutProse)->Arg(M1)->Arg(M4)->Unit(benchmark::kMillisecond);
BENCHMARK(LayoutCodedProportional)->Arg(M1)->Arg(M4)->Unit(benchmark::kMillisecond);
BENCHMARK(KeystrokeCoded)->Arg(K4)->Arg(M4)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeCodedAtStart)->Arg(K4)->Arg(M4)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeCodedProportional)->Arg(K4)->Arg(M4)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeystrokeProse)->Arg(K4)->Arg(M4)->Unit(benchmark::kMicrosecond);
BENCHMARK(EditorKeystrokeCoded)->Arg(K4)->Arg(M4)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
