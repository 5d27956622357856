#pragma once

#include <cctype>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

// Unicode's break test files (GraphemeBreakTest.txt, WordBreakTest.txt, LineBreakTest.txt), as the
// Unicode Character Database installs them: each line a string of code points with "÷" (a break) or "×"
// (none) between them and at both ends.
namespace quorvel::forms::textedit::testing {

struct BreakTestCase {
    int lineNumber = 0;
    std::string line;  // as written, for messages
    std::u16string text;
    // For each position 0..text.size() that starts a code point or ends the text: whether it breaks.
    std::vector<std::pair<std::size_t, bool>> positions;
};

// The folder the tests read the database from, given by the build.
inline std::string UnicodeDataFile(const std::string& name) {
    return std::string(QUORVEL_UNICODE_DATA) + "/" + name;
}

// Every case of the file; empty if it cannot be read.
inline std::vector<BreakTestCase> ReadBreakTestFile(const std::string& path) {
    std::vector<BreakTestCase> cases;
    std::ifstream in(path);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string body = line.substr(0, line.find('#'));
        BreakTestCase test{lineNumber, line.substr(0, line.find('\t')), {}, {}};
        for (std::size_t at = 0; at < body.size();) {
            if (body.compare(at, 2, "\xC3\xB7") == 0 || body.compare(at, 2, "\xC3\x97") == 0) {
                test.positions.emplace_back(test.text.size(), body[at + 1] == '\xB7');
                at += 2;
            } else if (std::isxdigit(static_cast<unsigned char>(body[at]))) {
                std::size_t length = 0;
                const auto c = static_cast<char32_t>(std::stoul(body.substr(at), &length, 16));
                if (c > 0xFFFF) {
                    test.text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                    test.text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
                } else {
                    test.text += static_cast<char16_t>(c);
                }
                at += length;
            } else {
                ++at;
            }
        }
        if (!test.positions.empty())
            cases.push_back(std::move(test));
    }
    return cases;
}

}  // namespace quorvel::forms::textedit::testing
