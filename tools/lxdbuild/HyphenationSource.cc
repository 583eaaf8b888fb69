#include "tools/lxdbuild/HyphenationSource.h"

#include <algorithm>
#include <sstream>

namespace lxdbuild {

namespace {

// Characters that may follow or precede a letter inside a fragment.
const std::string& Neighbours() {
    static const std::string characters = "_abcdefghijklmnopqrstuvwxyz";
    return characters;
}

// A level that no pattern reaches and that is even: the gap never breaks.
constexpr char kNoBreak = '8';

}  // namespace

CHyphenationSource::CHyphenationSource(CBuildReport& report) : report(report) {}

void CHyphenationSource::Merge(const std::string& letters, const std::vector<char>& levels) {
    auto inserted = merged.emplace(letters, levels);
    if (!inserted.second) {
        std::vector<char>& existing = inserted.first->second;
        for (size_t i = 0; i < levels.size(); ++i) {
            existing[i] = std::max(existing[i], levels[i]);
        }
    }
}

bool CHyphenationSource::AddPattern(const std::string& pattern) {
    std::string letters;
    std::vector<char> levels(1, '0');
    for (char c : pattern) {
        if (c >= '0' && c <= '9') {
            levels.back() = c;
        } else if ((c >= 'a' && c <= 'z') || c == '.') {
            letters += c == '.' ? '_' : c;
            levels.push_back('0');
        } else {
            return false;
        }
    }
    char trailing = levels.back();
    levels.back() = '0';
    size_t length = letters.size() + (trailing != '0' ? 1 : 0);
    if (letters.empty() || length > kMaxFragment) {
        return false;
    }
    // The engine never matches a level after a fragment's last character, so
    // a trailing level moves onto one key per possible next character.
    std::vector<std::pair<std::string, std::vector<char>>> keys;
    if (trailing != '0' && letters.back() != '_') {
        for (char next : Neighbours()) {
            std::vector<char> extended = levels;
            extended.back() = trailing;
            extended.push_back('0');
            keys.emplace_back(letters + next, extended);
        }
    } else {
        keys.emplace_back(letters, levels);
    }
    // Fragments have at least two characters: a one-letter pattern gets one
    // key per possible previous character (its level stays on its gap).
    for (auto& key : keys) {
        if (key.first.size() >= 2) {
            Merge(key.first, key.second);
            continue;
        }
        for (char previous : Neighbours()) {
            std::vector<char> extended = {'0'};
            for (char level : key.second) {
                extended.push_back(level);
            }
            Merge(std::string(1, previous) + key.first, extended);
        }
    }
    return true;
}

void CHyphenationSource::AddMinimumLengths() {
    // The engine already keeps a word's first character and its last one
    // apart from any break; an even level above every pattern's keeps the
    // file's wider margins of two letters at the start and three at the end.
    for (char first : Neighbours().substr(1)) {
        for (char second : Neighbours().substr(1)) {
            if (leftMargin >= 2) {
                Merge(std::string("_") + first + second, {'0', '0', kNoBreak, '0'});
            }
            if (rightMargin >= 3) {
                Merge(std::string(1, first) + second + "_", {kNoBreak, '0', '0', '0'});
            }
        }
    }
}

void CHyphenationSource::ReadPatterns(const std::string& text, const std::string& path) {
    CSourceFiles::ForEachLine(text, [&](const std::string& line, long number) {
        if (number == 1 || line.empty() || line[0] == '%') {
            return;  // the character set line and comments
        }
        std::istringstream fields(line);
        std::string word;
        int value = 0;
        if (line.compare(0, 14, "LEFTHYPHENMIN ") == 0 && fields >> word >> value) {
            leftMargin = value;
            return;
        }
        if (line.compare(0, 15, "RIGHTHYPHENMIN ") == 0 && fields >> word >> value) {
            rightMargin = value;
            return;
        }
        if (line.find_first_of(" \t") != std::string::npos) {
            report.Malformed(path, number, "not a pattern");
            return;
        }
        if (AddPattern(line)) {
            ++figures.patternsKept;
        } else {
            ++figures.patternsDropped;
        }
    });
    AddMinimumLengths();
}

std::vector<std::string> CHyphenationSource::PatternKeys() const {
    std::vector<std::string> keys;
    for (const auto& item : merged) {
        std::string key;
        for (size_t i = 0; i < item.first.size(); ++i) {
            if (item.second[i] != '0') {
                key += item.second[i];
            }
            key += item.first[i];
        }
        keys.push_back(key);
    }
    return keys;
}

std::vector<size_t> CHyphenationSource::PatternBreaks(const std::string& word) const {
    std::string framed = "_" + word + "_";
    std::vector<char> levels(framed.size() + 1, '0');  // level g: gap before framed[g]
    for (size_t i = 0; i + 1 < framed.size(); ++i) {
        for (size_t n = 2; n <= kMaxFragment && i + n <= framed.size(); ++n) {
            auto found = merged.find(framed.substr(i, n));
            if (found == merged.end()) {
                continue;
            }
            for (size_t k = 0; k < found->second.size(); ++k) {
                levels[i + k] = std::max(levels[i + k], found->second[k]);
            }
        }
    }
    std::vector<size_t> breaks;
    for (size_t k = 1; k + 1 < word.size(); ++k) {
        if ((levels[k + 1] - '0') % 2 == 1) {
            breaks.push_back(k);
        }
    }
    return breaks;
}

void CHyphenationSource::AddSyllables(const std::string& word, const std::vector<size_t>& breaks) {
    std::vector<size_t> kept;
    for (size_t gap : breaks) {
        if (gap >= static_cast<size_t>(leftMargin) && gap + rightMargin <= word.size()) {
            kept.push_back(gap);
        }
    }
    for (size_t gap : PatternBreaks(word)) {
        if (std::find(kept.begin(), kept.end(), gap) == kept.end()) {
            exceptions[word] = kept;
            figures.exceptions = exceptions.size();
            return;
        }
    }
}

std::vector<std::string> CHyphenationSource::ExceptionKeys() const {
    std::vector<std::string> keys;
    for (const auto& item : exceptions) {
        std::string key;
        for (size_t i = 0; i < item.first.size(); ++i) {
            if (std::find(item.second.begin(), item.second.end(), i) != item.second.end()) {
                key += '1';
            }
            key += item.first[i];
        }
        keys.push_back(key);
    }
    return keys;
}

}  // namespace lxdbuild
