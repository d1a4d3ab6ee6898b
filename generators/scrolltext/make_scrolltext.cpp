// Builds the scroll text resource from its readable source:
//   make_scrolltext SOURCE OUT
// Letters are uppercased, each line break becomes one space, an empty line a
// pause of eight spaces, lines starting with '#' are notes; the result must
// use only the scroller's characters and is padded with spaces to its fixed
// length.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/atomic_file.h"
#include "cli/command_line.h"
#include "cli/read_file.h"

namespace {

const size_t kTextSize = 3395;
const int kPauseSpaces = 8;

bool inFont(unsigned char ch) {
    return ch == 0xC5 || ch == 0xC4 || ch == 0xD6 ||
           (ch >= 0x20 && ch <= 0x5A && ch != '#' && ch != '$' && ch != '%');
}

// The three accented capitals arrive as UTF-8 (either case).
int latin1Capital(unsigned char lead, unsigned char next) {
    if (lead != 0xC3) return -1;
    switch (next) {
        case 0x85: case 0xA5: return 0xC5;  // Å å
        case 0x84: case 0xA4: return 0xC4;  // Ä ä
        case 0x96: case 0xB6: return 0xD6;  // Ö ö
        default: return -1;
    }
}


// Converts one source line; false (with a message) on a character the
// font does not have.
bool convertLine(const std::string& line, int lineNumber, std::string& out) {
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char ch = (unsigned char)line[i];
        if (ch >= 0x80) {
            int capital = i + 1 < line.size() ? latin1Capital(ch, (unsigned char)line[i + 1]) : -1;
            if (capital < 0) {
                std::fprintf(stderr, "line %d: character not in the font\n", lineNumber);
                return false;
            }
            out += char(capital);
            ++i;
            continue;
        }
        if (ch >= 'a' && ch <= 'z') ch = (unsigned char)(ch - 'a' + 'A');
        if (ch == '\t') ch = ' ';
        if (!inFont(ch)) {
            std::fprintf(stderr, "line %d: '%c' is not in the font\n", lineNumber, ch);
            return false;
        }
        out += char(ch);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine command("make_scrolltext", "usage: make_scrolltext SOURCE OUT\n",
                        "Makes the scroller's text OUT from its SOURCE (generators/scrolltext/scrolltext.src).\n");
    std::string sourcePath, outPath;
    command.app.add_option("SOURCE", sourcePath, "The text as written")->type_name("")->required();
    command.app.add_option("OUT", outPath, "The scroller's text")->type_name("")->required();
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    std::string source;
    if (!readWholeFile(sourcePath, source)) {
        std::fprintf(stderr, "%s: cannot read\n", sourcePath.c_str());
        return 1;
    }
    std::string text;
    size_t start = 0;
    for (int lineNumber = 1; start < source.size(); ++lineNumber) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        size_t first = line.find_first_not_of(" \t"), last = line.find_last_not_of(" \t");
        if (first == std::string::npos) {
            if (!text.empty()) text.append(size_t(kPauseSpaces), ' ');
            continue;
        }
        if (!text.empty() && text.back() != ' ') text += ' ';
        if (!convertLine(line.substr(first, last - first + 1), lineNumber, text)) return 1;
    }
    if (text.size() > kTextSize) {
        std::fprintf(stderr, "text is %zu bytes, %zu too long\n", text.size(), text.size() - kTextSize);
        return 1;
    }
    text.append(kTextSize - text.size(), ' ');
    std::string error;
    if (!writeFileBytes(outPath, std::vector<uint8_t>(text.begin(), text.end()), &error)) {
        std::fprintf(stderr, "make_scrolltext: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
