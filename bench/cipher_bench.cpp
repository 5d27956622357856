#include "passes.h"
#include "stepwise.h"

#include "../tests/support/message_generator.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

using quorvel::testing::MessageGenerator;

// A message as a user might paste it: mostly letters, spaces and punctuation, some digits, line
// breaks and non-ASCII letters, and a share of the characters that are hardest on the cipher.
std::u16string MixedMessage(std::size_t length) {
    static constexpr std::u16string_view kProse =
        u"Meet me at 7:30 by the old mill, bring 2 maps & the key (100% sure).\n"
        u"Grüße an alle \u2014 see you at the café!\t";
    MessageGenerator hard(42);
    std::u16string text;
    text.reserve(length);
    while (text.size() < length) {
        text += kProse;
        text += hard.Message(16);
    }
    text.resize(length);
    return text;
}

void SetBytes(benchmark::State& state, std::size_t units) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * units * sizeof(char16_t)));
}

void Encode(benchmark::State& state) {
    const std::u16string message = MixedMessage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::EncodeMessage(message));
    SetBytes(state, message.size());
}

void Decode(benchmark::State& state) {
    const std::u16string coded =
        quorvel::EncodeMessage(MixedMessage(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::DecodeMessage(coded));
    SetBytes(state, coded.size());
}

void EncodeRowByRow(benchmark::State& state) {
    const std::u16string message = MixedMessage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::stepwise::EncodeMessage(message));
    SetBytes(state, message.size());
}

void DecodeRowByRow(benchmark::State& state) {
    const std::u16string coded =
        quorvel::EncodeMessage(MixedMessage(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::stepwise::DecodeMessage(coded));
    SetBytes(state, coded.size());
}

// The floor no pass can beat: copying the coded text of the same message once.
void CopyCodedText(benchmark::State& state) {
    const std::u16string coded =
        quorvel::EncodeMessage(MixedMessage(static_cast<std::size_t>(state.range(0))));
    std::u16string target(coded.size(), u'\0');
    for (auto _ : state) {
        std::memcpy(target.data(), coded.data(), coded.size() * sizeof(char16_t));
        benchmark::ClobberMemory();
    }
    SetBytes(state, coded.size());
}

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = 1024 * KiB;

BENCHMARK(Encode)->Arg(KiB)->Arg(64 * KiB)->Arg(MiB)->Arg(16 * MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(Decode)->Arg(KiB)->Arg(64 * KiB)->Arg(MiB)->Arg(16 * MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyCodedText)->Arg(KiB)->Arg(64 * KiB)->Arg(MiB)->Arg(16 * MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(EncodeRowByRow)->Arg(KiB)->Arg(64 * KiB)->Arg(MiB)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeRowByRow)->Arg(KiB)->Arg(64 * KiB)->Arg(MiB)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
