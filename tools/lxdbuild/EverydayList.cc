#include "tools/lxdbuild/EverydayList.h"

#include "db/Format.h"

namespace lxdbuild {

namespace {

enum Order { kLater, kFirst };

struct ListRow {
    const char* word;
    uint32_t kind;
    Order order;
    const char* definition;
};

constexpr uint32_t kInterjection = lxd::kKindInterjection;
constexpr uint32_t kNoun = lxd::kKindNoun;
constexpr uint32_t kVerb = lxd::kKindVerb;
constexpr uint32_t kAdjective = lxd::kKindAdjective;
constexpr uint32_t kAdverb = lxd::kKindAdverb;
constexpr uint32_t kPronoun = lxd::kKindPronoun;
constexpr uint32_t kConjunction = lxd::kKindConjunction;
constexpr uint32_t kPreposition = lxd::kKindPreposition;

const ListRow kRows[] = {
#include "tools/lxdbuild/data/everyday-words.inc"
};

}  // namespace

void CEverydayList::AddTo(CLexicon& lexicon) {
    for (const ListRow& row : kRows) {
        Synset synset;
        synset.pos = 'x';
        synset.kind = row.kind;
        synset.members.push_back(row.word);
        synset.gloss = row.definition;
        const uint32_t index = static_cast<uint32_t>(lexicon.synsets.size());
        lexicon.synsets.push_back(std::move(synset));

        figures.newHeadwords += lexicon.entries.count(row.word) == 0;
        Entry& entry = lexicon.entries[row.word];
        entry.redirect.clear();  // a form that is a word of its own
        entry.minorSenses.push_back(index);
        if (row.order == kFirst) {
            entry.leadingSenses.push_back(index);
            ++figures.shownFirst;
        }
        ++figures.words;
        figures.interjections += row.kind == kInterjection;
    }
    lexicon.IndexVariants();
}

}  // namespace lxdbuild
