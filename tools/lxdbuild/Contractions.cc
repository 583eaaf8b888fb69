#include "tools/lxdbuild/Contractions.h"

#include <sstream>
#include <utility>
#include <vector>

#include "tools/lxdbuild/LookupMirror.h"

namespace lxdbuild {

namespace {

constexpr size_t kMaxReadings = 5;

struct ContractionRow {
    const char* contraction;
    const char* readings[kMaxReadings];
};

const ContractionRow kRows[] = {
#include "tools/lxdbuild/data/contractions.inc"
};

bool HasSensesOrNotes(const Entry& entry) {
    return !entry.senses.empty() || !entry.minorSenses.empty() || !entry.formOf.empty();
}

}  // namespace

std::string CContractions::LinkedWords(const CLexicon& lexicon, const std::string& reading) {
    const CLookupMirror lookup(lexicon);
    std::istringstream words(reading);
    std::string linked;
    for (std::string word; words >> word;) {
        const std::string headword = lookup.Resolve(word);
        if (headword.empty() || !HasSensesOrNotes(lexicon.entries.at(headword))) return "";
        linked += (linked.empty() ? "" : "\t") + word;
    }
    return linked;
}

void CContractions::AddTo(CLexicon& lexicon) {
    std::vector<std::pair<std::string, std::vector<std::string>>> notes;
    for (const ContractionRow& row : kRows) {
        std::vector<std::string> linked;
        for (const char* reading : row.readings) {
            if (reading == nullptr) break;
            std::string words = LinkedWords(lexicon, reading);
            if (words.empty()) {
                ++figures.readingsLeftOut;
            } else {
                linked.push_back(std::move(words));
            }
        }
        if (!linked.empty()) notes.emplace_back(row.contraction, std::move(linked));
    }
    for (auto& note : notes) {
        Entry& entry = lexicon.entries[note.first];
        entry.redirect.clear();  // the notes say where the contraction leads
        for (auto& words : note.second) entry.formOf.emplace_back(kRelation, std::move(words));
        ++figures.contractions;
        figures.readings += note.second.size();
    }
    lexicon.IndexVariants();
}

}  // namespace lxdbuild
