// Writes the editing core's Unicode property tables from the Unicode Character Database.
//
//   make_unicode_tables UCD_DIRECTORY OUTPUT.cpp
//
// Reads the grapheme, word and line break properties, East_Asian_Width, General_Category,
// Extended_Pictographic and White_Space for every code point, with the defaults each file declares for
// code points it does not list, and writes them as a two-stage table: one index per block of code
// points, and each distinct block once. Bidi_Class, as far as a paragraph's direction needs it, goes
// into a table of ranges. Runs on the build machine, also when the program is
// cross-built, so it needs nothing but the standard library.
#include "bidi.h"
#include "unicode_properties.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace quorvel::forms::textedit;

constexpr char32_t CodePoints = 0x110000;

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    for (std::string field; std::getline(stream, field, separator);)
        fields.push_back(Trim(field));
    return fields;
}

struct Entry {
    char32_t first;
    char32_t last;
    std::vector<std::string> values;
};

// The entries of a database file in order, each "# @missing:" default line before the entries that
// follow it; `missing` tells which an entry is.
struct File {
    std::vector<Entry> entries;
    std::vector<bool> missing;
    std::string firstLine;
};

File Read(const std::string& directory, const std::string& name) {
    std::ifstream in(directory + "/" + name);
    if (!in)
        throw std::runtime_error("cannot read " + directory + "/" + name);
    File file;
    for (std::string line; std::getline(in, line);) {
        if (file.firstLine.empty())
            file.firstLine = line;
        bool missing = false;
        if (line.rfind("# @missing:", 0) == 0) {
            line = line.substr(11);
            missing = true;
        }
        line = line.substr(0, line.find('#'));
        if (Trim(line).empty())
            continue;
        std::vector<std::string> fields = Split(line, ';');
        const std::string range = fields.front();
        const auto dots = range.find("..");
        Entry entry;
        entry.first = static_cast<char32_t>(std::stoul(range.substr(0, dots), nullptr, 16));
        entry.last = dots == std::string::npos
                         ? entry.first
                         : static_cast<char32_t>(std::stoul(range.substr(dots + 2), nullptr, 16));
        if (entry.last >= CodePoints || entry.first > entry.last)
            throw std::runtime_error(name + ": bad range " + range);
        entry.values.assign(fields.begin() + 1, fields.end());
        file.entries.push_back(std::move(entry));
        file.missing.push_back(missing);
    }
    return file;
}

// Every spelling of each property value, from PropertyValueAliases.txt: a value's short and long names
// and any other alias map to the same list.
class Aliases {
public:
    explicit Aliases(const std::string& directory) {
        std::ifstream in(directory + "/PropertyValueAliases.txt");
        if (!in)
            throw std::runtime_error("cannot read PropertyValueAliases.txt");
        for (std::string line; std::getline(in, line);) {
            line = line.substr(0, line.find('#'));
            std::vector<std::string> fields = Split(line, ';');
            if (fields.size() < 3)
                continue;
            const std::string property = fields.front();
            fields.erase(fields.begin());
            for (const std::string& alias : fields)
                spellings_[property + ":" + alias] = fields;
        }
    }

    // The index in `names` of the value `spelling` of `property`.
    template <std::size_t N>
    std::uint8_t Index(const std::string& property, const std::string& spelling,
                       const std::string_view (&names)[N]) const {
        std::vector<std::string> candidates{spelling};
        if (const auto found = spellings_.find(property + ":" + spelling); found != spellings_.end())
            candidates = found->second;
        for (const std::string& candidate : candidates)
            for (std::size_t i = 0; i < N; ++i)
                if (names[i] == candidate)
                    return static_cast<std::uint8_t>(i);
        throw std::runtime_error("unknown value " + spelling + " of " + property);
    }

private:
    std::map<std::string, std::vector<std::string>> spellings_;
};

// Applies an enumerated property's file to `values`: first its defaults, then its entries.
template <std::size_t N>
void Enumerated(const File& file, const Aliases& aliases, const std::string& property,
                const std::string_view (&names)[N], std::vector<std::uint8_t>& values) {
    for (const bool defaults : {true, false})
        for (std::size_t i = 0; i < file.entries.size(); ++i) {
            if (file.missing[i] != defaults)
                continue;
            const Entry& entry = file.entries[i];
            const std::uint8_t value = aliases.Index(property, entry.values.at(0), names);
            std::fill(values.begin() + entry.first, values.begin() + entry.last + 1, value);
        }
}

// The code points a binary property file lists under `property`.
std::vector<bool> Binary(const File& file, const std::string& property) {
    std::vector<bool> has(CodePoints);
    for (std::size_t i = 0; i < file.entries.size(); ++i)
        if (!file.missing[i] && file.entries[i].values.at(0) == property)
            std::fill(has.begin() + file.entries[i].first, has.begin() + file.entries[i].last + 1, true);
    return has;
}

std::string Version(const std::string& firstLine) {
    // "# LineBreak-15.0.0.txt"
    const auto dash = firstLine.rfind('-'), dot = firstLine.rfind(".txt");
    if (dash == std::string::npos || dot == std::string::npos || dot < dash)
        throw std::runtime_error("no version in: " + firstLine);
    return firstLine.substr(dash + 1, dot - dash - 1);
}

// The start of each run of code points of one class, with the class, as BidiRanges holds them.
std::vector<std::uint32_t> BidiRangeTable(const std::string& directory, const Aliases& aliases) {
    static constexpr std::string_view AllNames[] = {"L",   "R",   "AL",  "EN",  "ES",  "ET",  "AN",  "CS",
                                                    "NSM", "BN",  "B",   "S",   "WS",  "ON",  "LRE", "LRO",
                                                    "RLE", "RLO", "PDF", "LRI", "RLI", "FSI", "PDI"};
    std::vector<std::uint8_t> classes(CodePoints);
    Enumerated(Read(directory, "extracted/DerivedBidiClass.txt"), aliases, "bc", AllNames, classes);
    std::vector<std::uint32_t> ranges;
    for (char32_t c = 0; c < CodePoints; ++c) {
        const auto kept =
            std::find(std::begin(BidiClassNames), std::end(BidiClassNames), AllNames[classes[c]]);
        const auto value = static_cast<std::uint32_t>(kept == std::end(BidiClassNames)
                                                          ? BidiClass::Other
                                                          : BidiClass(kept - std::begin(BidiClassNames)));
        if (ranges.empty() || (ranges.back() & ((1u << BidiClassBits) - 1)) != value)
            ranges.push_back((std::uint32_t{c} << BidiClassBits) | value);
    }
    return ranges;
}

void Write(const std::string& directory, const std::string& output) {
    const Aliases aliases(directory);
    std::vector<std::uint8_t> grapheme(CodePoints), word(CodePoints), line(CodePoints), width(CodePoints),
        category(CodePoints);
    Enumerated(Read(directory, "auxiliary/GraphemeBreakProperty.txt"), aliases, "GCB", GraphemeBreakNames,
               grapheme);
    Enumerated(Read(directory, "auxiliary/WordBreakProperty.txt"), aliases, "WB", WordBreakNames, word);
    const File lineFile = Read(directory, "LineBreak.txt");
    Enumerated(lineFile, aliases, "lb", LineBreakNames, line);
    static constexpr std::string_view WidthNames[] = {"N", "A", "H", "F", "Na", "W"};
    Enumerated(Read(directory, "EastAsianWidth.txt"), aliases, "ea", WidthNames, width);
    static constexpr std::string_view CategoryNames[] = {"Cn", "Mn", "Mc", "Other"};
    {
        // Only marks and unassigned code points matter here; every other category counts as "Other".
        File categories = Read(directory, "extracted/DerivedGeneralCategory.txt");
        for (Entry& entry : categories.entries)
            if (entry.values.at(0) != "Mn" && entry.values.at(0) != "Mc" && entry.values.at(0) != "Cn" &&
                entry.values.at(0) != "Unassigned")
                entry.values.at(0) = "Other";
        Enumerated(categories, aliases, "gc", CategoryNames, category);
    }
    const std::vector<bool> pictographic =
        Binary(Read(directory, "emoji/emoji-data.txt"), "Extended_Pictographic");
    const std::vector<bool> whiteSpace = Binary(Read(directory, "PropList.txt"), "White_Space");

    std::vector<CharProperties> entries(CodePoints);
    for (char32_t c = 0; c < CodePoints; ++c) {
        // The first rule of line breaking resolves the classes it does not define further.
        auto lb = static_cast<LineBreak>(line[c]);
        if (lb == LineBreak::AI || lb == LineBreak::SG || lb == LineBreak::XX)
            lb = LineBreak::AL;
        else if (lb == LineBreak::SA)
            lb = category[c] == 1 || category[c] == 2 ? LineBreak::CM : LineBreak::AL;
        else if (lb == LineBreak::CJ)
            lb = LineBreak::NS;
        std::uint8_t flags = 0;
        if (pictographic[c])
            flags |= ExtendedPictographicFlag;
        if (pictographic[c] && category[c] == 0)
            flags |= UnassignedPictographicFlag;
        if (WidthNames[width[c]] == "F" || WidthNames[width[c]] == "W" || WidthNames[width[c]] == "H")
            flags |= EastAsianWideFlag;
        if (whiteSpace[c])
            flags |= WhiteSpaceFlag;
        entries[c] = {static_cast<GraphemeBreak>(grapheme[c]), static_cast<WordBreak>(word[c]), lb, flags};
    }

    // Each distinct block of entries once.
    constexpr std::size_t blockSize = std::size_t{1} << PropertyBlockBits;
    const auto sameEntry = [](const CharProperties& a, const CharProperties& b) {
        return a.grapheme == b.grapheme && a.word == b.word && a.line == b.line && a.flags == b.flags;
    };
    std::vector<std::size_t> blocks, uniqueStarts;
    for (std::size_t start = 0; start < CodePoints; start += blockSize) {
        std::size_t index = 0;
        while (index < uniqueStarts.size() &&
               !std::equal(entries.begin() + start, entries.begin() + start + blockSize,
                           entries.begin() + uniqueStarts[index], sameEntry))
            ++index;
        if (index == uniqueStarts.size())
            uniqueStarts.push_back(start);
        blocks.push_back(index);
    }
    if (uniqueStarts.size() > 0xFFFF)
        throw std::runtime_error("too many distinct blocks");

    std::ofstream out(output);
    out << "// Generated by tools/make_unicode_tables.cpp from the Unicode Character Database "
        << Version(lineFile.firstLine) << ". Do not edit.\n"
        << "#include \"bidi.h\"\n#include \"unicode_properties.h\"\n\nnamespace quorvel::forms::textedit {\n\n"
        << "const char UnicodeVersion[] = \"" << Version(lineFile.firstLine) << "\";\n\n"
        << "const std::uint16_t PropertyBlocks[] = {";
    for (std::size_t i = 0; i < blocks.size(); ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << blocks[i] << ",";
    out << "\n};\n\nconst CharProperties PropertyEntries[] = {";
    for (const std::size_t start : uniqueStarts)
        for (std::size_t i = start; i < start + blockSize; ++i) {
            const CharProperties& e = entries[i];
            out << ((i - start) % 8 == 0 ? "\n    " : " ") << "{GraphemeBreak(" << int(e.grapheme)
                << "), WordBreak(" << int(e.word) << "), LineBreak(" << int(e.line) << "), " << int(e.flags)
                << "},";
        }
    const std::vector<std::uint32_t> bidi = BidiRangeTable(directory, aliases);
    out << "\n};\n\nconst std::uint32_t BidiRanges[] = {";
    for (std::size_t i = 0; i < bidi.size(); ++i)
        out << (i % 8 == 0 ? "\n    " : " ") << "0x" << std::hex << bidi[i] << std::dec << ",";
    out << "\n};\nconst std::size_t BidiRangeCount = " << bidi.size() << ";\n";
    out << "\n}  // namespace quorvel::forms::textedit\n";
    if (!out)
        throw std::runtime_error("cannot write " + output);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s UCD_DIRECTORY OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    try {
        Write(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_unicode_tables: %s\n", error.what());
        return 1;
    }
    return 0;
}
