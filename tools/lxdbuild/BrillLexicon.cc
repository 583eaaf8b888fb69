#include "tools/lxdbuild/BrillLexicon.h"

#include <cstdlib>

#include "tools/lxdbuild/Lexicon.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

namespace {

// The text of a single-quoted JavaScript string starting at text[at], with
// its escapes resolved; `end` gets the position after the closing quote.
bool QuotedAt(const std::string& text, size_t at, std::string& out, size_t& end) {
    out.clear();
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (text[i] == '\'') {
            end = i + 1;
            return true;
        } else {
            out += text[i];
        }
    }
    return false;
}

// "3" or "[3, 17, 5]": the tag numbers of one word.
bool ParseNumbers(const std::string& text, std::vector<size_t>& numbers) {
    std::string list = text;
    if (!list.empty() && list.front() == '[' && list.back() == ']') {
        list = list.substr(1, list.size() - 2);
    }
    numbers.clear();
    const char* at = list.c_str();
    while (*at != '\0') {
        char* end = nullptr;
        long number = std::strtol(at, &end, 10);
        if (end == at || number < 0) return false;
        numbers.push_back(static_cast<size_t>(number));
        at = end;
        while (*at == ',' || *at == ' ') ++at;
    }
    return !numbers.empty();
}

}  // namespace

bool CBrillLexicon::ReadEntry(const std::string& line, const std::vector<std::string>& names) {
    size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return true;
    std::string word;
    size_t keyEnd = 0;
    if (line[start] == '\'') {
        if (!QuotedAt(line, start, word, keyEnd)) return false;
    } else {
        keyEnd = line.find(':', start);
        if (keyEnd == std::string::npos) return false;
        word = line.substr(start, keyEnd - start);
    }
    if (word.empty() || line.compare(keyEnd, 2, ": ") != 0) return false;
    std::string value = line.substr(keyEnd + 2);
    if (!value.empty() && value.back() == ',') value.pop_back();
    std::vector<size_t> numbers;
    if (!ParseNumbers(value, numbers)) return false;
    // A number past the tag list names no tag: the word keeps the others.
    std::vector<std::string>& tags = words[word];
    tags.clear();
    for (size_t number : numbers) {
        if (number < names.size()) tags.push_back(names[number].substr(0, names[number].find('|')));
    }
    return tags.size() == numbers.size();
}

void CBrillLexicon::Read(const std::string& tags, const std::string& wordsText,
                         const std::string& wordsPath, CBuildReport& report) {
    std::vector<std::string> names;
    CSourceFiles::ForEachLine(tags, [&](const std::string& line, long) {
        size_t quote = line.find('\'');
        std::string name;
        size_t end = 0;
        if (quote != std::string::npos && QuotedAt(line, quote, name, end)) names.push_back(name);
    });
    bool inside = false;
    CSourceFiles::ForEachLine(wordsText, [&](const std::string& line, long number) {
        if (!inside) {
            inside = line.find("words = {") != std::string::npos;
        } else if (line == "}") {
            inside = false;
        } else if (!line.empty() && !ReadEntry(line, names)) {
            report.Malformed(wordsPath, number,
                             "not a word with its tag numbers (known ones kept)");
        }
    });
}

const std::vector<std::string>& CBrillLexicon::TagsOf(const std::string& word) const {
    static const std::vector<std::string> none;
    auto found = words.find(word);
    if (found == words.end()) found = words.find(ToLower(word));
    return found == words.end() ? none : found->second;
}

}  // namespace lxdbuild
