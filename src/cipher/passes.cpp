#include "passes.h"

#include "code_table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {
namespace {

constexpr std::size_t kLongestCode = 7;

// What one ASCII code unit becomes in coded text: its first row's code, or itself when it has no
// row. The units are padded to a fixed block so that encoding can copy whole blocks.
struct Encoding {
    std::array<char16_t, 8> units{};
    std::uint8_t length = 1;
};

constexpr std::array<Encoding, 128> MakeEncodings() {
    std::array<Encoding, 128> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c].units[0] = static_cast<char16_t>(c);
    std::array<bool, 128> taken{};
    for (const CodeRow& row : CodeTable) {
        if (taken[row.source])
            continue;
        taken[row.source] = true;
        Encoding& e = table[row.source];
        std::copy(row.code.begin(), row.code.end(), e.units.begin());
        e.length = static_cast<std::uint8_t>(row.code.size());
    }
    return table;
}

constexpr std::array<Encoding, 128> kEncodings = MakeEncodings();

// After its "%", a code is spelt with digits and capital letters only.
constexpr bool IsCodeUnit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z'); }

// Codes are found by packing the units of a candidate into one integer, a byte per unit, and looking
// it up in a hash table of all codes.
constexpr std::uint64_t PackKey(std::u16string_view units) {
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < units.size(); ++k)
        key |= static_cast<std::uint64_t>(units[k]) << (8 * k);
    return key;
}

struct CodeHash {
    static constexpr int kBits = 11;
    static constexpr std::uint64_t kEmpty = 0xFFFF'FFFF'FFFF'FFFFu;  // no key has a top byte
    std::uint64_t multiplier = 0;
    std::array<std::uint64_t, std::size_t{1} << kBits> keys{};
    std::array<char16_t, std::size_t{1} << kBits> sources{};

    constexpr std::size_t Slot(std::uint64_t key) const { return (key * multiplier) >> (64 - kBits); }
};

// Every code without collisions in the table, and key 0 for every token one unit long: a "%" that
// starts no code stands for itself, and any other code unit is copied afterwards.
constexpr CodeHash MakeCodeHash() {
    CodeHash hash;
    for (std::uint64_t multiplier = 0x9E3779B97F4A7C15u;; multiplier += 0x632BE59BD9B4E01Au) {
        hash.multiplier = multiplier | 1;
        hash.keys.fill(CodeHash::kEmpty);
        bool collision = false;
        auto insert = [&](std::uint64_t key, char16_t source) {
            const std::size_t slot = hash.Slot(key);
            collision = collision || hash.keys[slot] != CodeHash::kEmpty;
            hash.keys[slot] = key;
            hash.sources[slot] = source;
        };
        insert(0, kEscape);
        for (const CodeRow& row : CodeTable)
            insert(PackKey(row.code), row.source);
        if (!collision)
            return hash;
    }
}

constexpr CodeHash kCodeHash = MakeCodeHash();

// The row's character for a candidate code, or nothing when no code is spelt so.
constexpr std::optional<char16_t> Lookup(std::u16string_view candidate) {
    const std::uint64_t key = PackKey(candidate);
    const std::size_t slot = kCodeHash.Slot(key);
    if (kCodeHash.keys[slot] != key)
        return std::nullopt;
    return kCodeHash.sources[slot];
}

// Decoded text is gathered in a small buffer and appended to the result in blocks, so the result is
// never filled before it is written, nor sized for the longest possible message.
class Output {
public:
    explicit Output(std::size_t expected) { text_.reserve(expected); }

    // Room for `units` more code units; Commit says how many were written.
    char16_t* Room(std::size_t units) {
        if (buffer_.size() - used_ < units)
            Flush();
        return buffer_.data() + used_;
    }
    void Commit(std::size_t units) { used_ += units; }

    std::u16string Finish() {
        Flush();
        return std::move(text_);
    }

private:
    void Flush() {
        text_.append(buffer_.data(), used_);
        used_ = 0;
    }

    std::u16string text_;
    std::array<char16_t, 4096> buffer_;
    std::size_t used_ = 0;
};

// Decodes the one token at `i`: a code, a "%" that starts none, or any other code unit. Returns the
// position after it.
std::size_t DecodeToken(std::u16string_view coded, std::size_t i, Output& out) {
    const char16_t c = coded[i];
    if (c != kEscape) {
        *out.Room(1) = c;
        out.Commit(1);
        return i + 1;
    }
    // Only row 1's code has a second "%"; every other code is "%" and a run of code units, so the
    // longest code here is the longest known prefix of that run.
    std::size_t matched = 1;
    char16_t source = c;
    if (i + 1 < coded.size() && coded[i + 1] == kEscape) {
        matched = 2;
        source = *Lookup(coded.substr(i, 2));
    } else {
        std::size_t run = 1;
        while (run < kLongestCode && i + run < coded.size() && IsCodeUnit(coded[i + run]))
            ++run;
        for (; run > 1; --run) {
            if (const std::optional<char16_t> found = Lookup(coded.substr(i, run))) {
                matched = run;
                source = *found;
                break;
            }
        }
    }
    *out.Room(1) = source;
    out.Commit(1);
    return i + matched;
}

#if defined(__SSE2__)

constexpr std::size_t kWindow = 64;
// Tokens are taken from the first part of a window only, so that a code (at most seven units)
// starting there lies wholly inside it.
constexpr std::size_t kWindowTokens = kWindow - 8;

// Masks that keep the first `length` bytes of a packed token. A token of one unit needs no looking
// up and keeps nothing; a run of eight or more units is no code: its mask keeps everything, and no
// key in the table has that many bytes.
constexpr std::array<std::uint64_t, kWindow + 1> MakeKeyMasks() {
    std::array<std::uint64_t, kWindow + 1> masks{};
    for (std::size_t length = 2; length <= kWindow; ++length)
        masks[length] = length < 8 ? (std::uint64_t{1} << (8 * length)) - 1 : ~std::uint64_t{0};
    return masks;
}

constexpr std::array<std::uint64_t, kWindow + 1> kKeyMasks = MakeKeyMasks();

// Marks, one bit per code unit of the window at `p`: which are "%", which are digits or capitals.
struct Window {
    std::uint64_t escapes = 0;
    std::uint64_t codeUnits = 0;
};

Window Classify(const char16_t* p) {
    Window window;
    // Units are packed to bytes first, saturating: a unit above 0xFF becomes 0xFF or 0x00, neither of
    // which is "%", a digit or a capital, so the bytes classify just as the units do.
    auto inRange = [](__m128i bytes, char lo, char hi) {
        return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(lo - 1))),
                             _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(hi + 1)), bytes));
    };
    for (std::size_t k = 0; k < kWindow; k += 16) {
        const __m128i bytes = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k)),
                                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k + 8)));
        const __m128i escapes = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(kEscape)));
        const __m128i codeUnits = _mm_or_si128(inRange(bytes, '0', '9'), inRange(bytes, 'A', 'Z'));
        window.escapes |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(escapes))} << k;
        window.codeUnits |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(codeUnits))} << k;
    }
    return window;
}

// Decodes the tokens (codes, escaped "%" and other code units) that start in the first part of the
// window at `coded`. Tokens are found from bit masks, and a token reaches to the next, so each is
// looked up without waiting for the one before. Returns where the next window starts, or 0 where the
// window holds anything irregular (a digit or capital that no "%" leads, a run that is no code), which
// DecodeToken then reads one by one.
std::size_t DecodeWindow(const char16_t* coded, char16_t* out, std::size_t& written) {
    const auto [escapes, codeUnits] = Classify(coded);
    const std::uint64_t others = ~(escapes | codeUnits);
    // In a run of "%", the units at odd distance from the run's start close an escaped "%%".
    constexpr std::uint64_t kEven = 0x5555555555555555u;
    const std::uint64_t runStarts = escapes & ~(escapes << 1);
    const std::uint64_t oddRuns = (escapes + (runStarts & kEven)) & escapes;
    const std::uint64_t closing = ((escapes & ~oddRuns) & ~kEven) | (oddRuns & kEven);
    const std::uint64_t starts = escapes & ~closing;
    const std::uint64_t tokens = starts | others;

    // Every run of digits and capitals must follow a "%" that starts a code, and some token must
    // start past the tokens decoded here, where the next window begins.
    const std::uint64_t codeRuns = codeUnits & ~(codeUnits << 1);
    const std::uint64_t first = (std::uint64_t{1} << kWindowTokens) - 1;
    if ((codeRuns & ~(starts << 1)) != 0 || (tokens & ~first) == 0)
        return 0;

    std::uint64_t unknown = 0;
    std::size_t count = 0;
    std::uint64_t pending = tokens;
    auto t = static_cast<std::size_t>(std::countr_zero(pending));
    pending &= pending - 1;
    while (t < kWindowTokens) {
        const auto next = static_cast<std::size_t>(std::countr_zero(pending));
        pending &= pending - 1;
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coded + t));
        const std::uint64_t key =
            static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(units, units))) &
            kKeyMasks[next - t];
        const std::size_t slot = kCodeHash.Slot(key);
        unknown |= kCodeHash.keys[slot] ^ key;
        out[count++] = kCodeHash.sources[slot];
        t = next;
    }
    if (unknown != 0)
        return 0;
    // Other code units are copied as they are, over whatever the table gave for them.
    for (std::uint64_t copy = others & first; copy != 0; copy &= copy - 1) {
        const auto u = static_cast<std::size_t>(std::countr_zero(copy));
        out[std::popcount(tokens & ((std::uint64_t{1} << u) - 1))] = coded[u];
    }
    written = count;
    return t;
}

#endif

}  // namespace

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view find,
                          std::u16string_view replacement) {
    if (find.empty())
        return std::u16string(text);
    std::u16string result;
    result.reserve(text.size());
    std::size_t position = 0;
    for (std::size_t match = text.find(find); match != std::u16string_view::npos;
         match = text.find(find, position)) {
        result.append(text, position, match - position);
        result.append(replacement);
        position = match + find.size();
    }
    result.append(text, position);
    return result;
}

std::u16string EncodeMessage(std::u16string_view plain) {
    // Room for the longest code for every unit, so the message needs no pass of its own to size the
    // result. Where memory is committed only when it is first written (Linux), capacity never written
    // costs address space alone; on Windows all of it counts against the commit limit, though pages
    // never written stay out of the working set.
    std::u16string coded;
    coded.reserve(plain.size() * kLongestCode);

    // A piece of the message at a time is encoded into a buffer that stays in the cache, each code as
    // a whole block, and appended to the result: the result is written once and never filled first.
    constexpr std::size_t kPiece = 1024;
    std::array<char16_t, kPiece * kLongestCode + kEncodings[0].units.size()> buffer;
    for (std::size_t i = 0; i < plain.size();) {
        const std::size_t end = std::min(plain.size(), i + kPiece);
        char16_t* out = buffer.data();
        for (; i < end; ++i) {
            const char16_t c = plain[i];
            if (c < kEncodings.size()) {
                const Encoding& e = kEncodings[c];
                std::memcpy(out, e.units.data(), sizeof e.units);
                out += e.length;
            } else {
                *out++ = c;
            }
        }
        coded.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
    }
    return coded;
}

std::u16string DecodeMessage(std::u16string_view coded) {
    // Coded text is mostly codes four or more units long.
    Output out(coded.size() / 4);
    std::size_t i = 0;
#if defined(__SSE2__)
    while (coded.size() - i >= kWindow) {
        std::size_t written = 0;
        if (const std::size_t decoded = DecodeWindow(coded.data() + i, out.Room(kWindow), written)) {
            i += decoded;
            out.Commit(written);
            continue;
        }
        for (const std::size_t stop = i + kWindowTokens; i < stop;)
            i = DecodeToken(coded, i, out);
    }
#endif
    while (i < coded.size())
        i = DecodeToken(coded, i, out);
    return out.Finish();
}

}  // namespace quorvel
