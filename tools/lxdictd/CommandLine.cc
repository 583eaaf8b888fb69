#include "tools/lxdictd/CommandLine.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

}  // namespace

CommandSyntax SplitCommandLine(const std::string& line, std::vector<std::string>* words) {
    words->clear();
    for (unsigned char c : line) {
        if ((c < 0x20 && c != '\t') || c == 0x7F) return CommandSyntax::kControlByte;
    }
    size_t p = 0;
    while (p < line.size()) {
        if (IsBlank(line[p])) {
            ++p;
            continue;
        }
        std::string word;
        // A word may join atoms and quoted pieces ("a"b is the word ab).
        while (p < line.size() && !IsBlank(line[p])) {
            if (!IsQuote(line[p])) {
                word += line[p++];
                continue;
            }
            const char quote = line[p++];
            for (;;) {
                if (p >= line.size()) return CommandSyntax::kUnclosedQuote;
                const char c = line[p++];
                if (c == quote) break;
                if (c == '\\') {
                    if (p >= line.size()) return CommandSyntax::kUnclosedQuote;
                    word += line[p++];
                } else {
                    word += c;
                }
            }
        }
        words->push_back(word);
    }
    return CommandSyntax::kOk;
}
