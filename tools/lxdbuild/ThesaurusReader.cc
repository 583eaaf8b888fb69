#include "tools/lxdbuild/ThesaurusReader.h"

#include <algorithm>
#include <cstdlib>

#include "db/Format.h"
#include "tools/lxdbuild/SourceFiles.h"

namespace lxdbuild {

namespace {

uint32_t KindOfPos(const std::string& pos) {
    if (pos == "(noun)") return lxd::kKindThesaurusNoun;
    if (pos == "(verb)") return lxd::kKindThesaurusVerb;
    if (pos == "(adj)") return lxd::kKindThesaurusAdjective;
    if (pos == "(adv)") return lxd::kKindThesaurusAdverb;
    return lxd::kKindThesaurusSynonym;
}

// The entry with its annotation in braces and without the characters the
// line's markup reserves; note receives the annotation.
std::string ConvertEntry(const std::string& entry, std::string& note) {
    std::string word = entry;
    note.clear();
    for (const char* annotation :
         {" (generic term)", " (similar term)", " (antonym)", " (related term)"}) {
        std::string tail(annotation);
        if (word.size() > tail.size() &&
            word.compare(word.size() - tail.size(), tail.size(), tail) == 0) {
            word.erase(word.size() - tail.size());
            note = " {" + tail.substr(2, tail.size() - 3) + "}";
            break;
        }
    }
    word.erase(std::remove_if(word.begin(), word.end(),
                              [](char c) {
                                  return c == ',' || c == '{' || c == '}' || c == '<' || c == '>' ||
                                         c == '\r' || c == '\f';
                              }),
               word.end());
    return word.empty() ? std::string() : word + note;
}

}  // namespace

CThesaurusReader::CThesaurusReader(CBuildReport& report) : report(report) {}

uint32_t CThesaurusReader::ConvertMeaning(const std::string& line, std::string& text) {
    size_t bar = line.find('|');
    if (line.empty() || line[0] != '(' || bar == std::string::npos) {
        return 0;
    }
    text.clear();
    size_t start = bar + 1;
    bool genericGiven = false;
    while (start <= line.size()) {
        size_t end = line.find('|', start);
        if (end == std::string::npos) {
            end = line.size();
        }
        std::string note;
        std::string entry = ConvertEntry(line.substr(start, end - start), note);
        // The generic terms are the members of one broader synset: its
        // first member stands for it, which keeps the file within its size.
        bool generic = note == " {generic term}";
        if (!entry.empty() && !(generic && genericGiven)) {
            genericGiven = genericGiven || generic;
            text += text.empty() ? entry : "," + entry;
        }
        start = end + 1;
    }
    return text.empty() ? 0 : KindOfPos(line.substr(0, bar));
}

void CThesaurusReader::Read(const std::string& text, const std::string& path, CLexicon& lexicon) {
    std::vector<Entry*> targets;
    long meaningsLeft = 0;
    CSourceFiles::ForEachLine(text, [&](const std::string& line, long number) {
        if (number == 1) {
            return;  // character set
        }
        if (meaningsLeft > 0) {
            --meaningsLeft;
            std::string record;
            uint32_t kind = ConvertMeaning(line, record);
            if (kind == 0) {
                report.Malformed(path, number, "not a meaning line");
                return;
            }
            for (Entry* entry : targets) {
                entry->thesaurus.emplace_back(kind, record);
                ++lines;
            }
            return;
        }
        size_t bar = line.rfind('|');
        char* end = nullptr;
        long count = bar == std::string::npos ? 0 : std::strtol(line.c_str() + bar + 1, &end, 10);
        if (bar == std::string::npos || bar == 0 || count <= 0 || *end != '\0') {
            report.Malformed(path, number, "not a word line");
            return;
        }
        meaningsLeft = count;
        targets.clear();
        std::string word = ToLower(line.substr(0, bar));
        if (word.find(' ') != std::string::npos) {
            return;  // phrases: their senses show the same synonyms, and the file stays small
        }
        for (const auto& headword : lexicon.VariantsOf(word)) {
            Entry& entry = lexicon.entries[headword];
            if (entry.redirect.empty()) {
                targets.push_back(&entry);
            }
        }
    });
    // One heading per part of speech: group the lines by kind, keeping the
    // source's order within each.
    for (auto& item : lexicon.entries) {
        auto& thesaurus = item.second.thesaurus;
        std::stable_sort(thesaurus.begin(), thesaurus.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
}

}  // namespace lxdbuild
