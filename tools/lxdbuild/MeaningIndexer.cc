#include "tools/lxdbuild/MeaningIndexer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/Trie.h"
#include "db/WordList.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/SenseNumber.h"

namespace lxdbuild {

namespace {

// What a noun's lexicographer file says of its senses: the category of
// lxm::kCategory* a description's wording can hint at, and the words a
// description may use for it.
struct LexFileFacts {
    uint32_t lexFile;
    uint32_t category;
    const char* words;
};
constexpr LexFileFacts kLexFiles[] = {
    {5, lxm::kCategoryAnimal, "animal"},
    {6, lxm::kCategoryArtifact, ""},
    {9, lxm::kCategoryDiscipline, ""},
    {10, lxm::kCategoryCommunication, ""},
    {12, 0, "feeling"},
    {13, 0, "food"},
    {15, lxm::kCategoryPlace, "place"},
    {18, lxm::kCategoryPerson, "person someone somebody"},
    {20, 0, "plant"},
    {28, lxm::kCategoryTime, ""},
};

LexFileFacts FactsOf(uint32_t lexFile) {
    for (const LexFileFacts& facts : kLexFiles) {
        if (facts.lexFile == lexFile) return facts;
    }
    return {lexFile, 0, ""};
}

uint8_t Commonness(uint32_t tags) {
    return static_cast<uint8_t>(
        std::min(255.0, std::round(std::log2(1.0 + tags) * lxm::kCommonnessScale)));
}

// WordNet's hypernym link kind, and its lexicographer file of people.
constexpr uint32_t kLinkHypernym = 140;
constexpr uint32_t kLinkHyponym = 144;
// WordNet's link between derivationally related word forms ("pediatrician"
// and "pediatrics").
constexpr uint32_t kLinkDerivation = 148;
constexpr uint32_t kPersonLexFile = 18;

// A sense with at most this many narrower senses is described by their
// members too ("wolf pack" for pack); more are a list of kinds that each say
// little of it.
constexpr size_t kMaxNarrowerSenses = 3;

// Terms taken from one further definition (GCIDE's, or a related sense's
// gloss): its opening says what the thing is.
constexpr size_t kTermsPerDefinition = 10;

// Tagged uses one tier of the word lists weighs as, in choosing a member and
// in a sense's commonness.
constexpr uint32_t kTierTags = 2;

}  // namespace

CMeaningIndexer::CMeaningIndexer(const CLexicon& lexicon,
                                 const std::map<uint32_t, uint32_t>& positions,
                                 const CGcideGlosses& gcide, const WordTiers& tiers)
    : lexicon(lexicon), positions(positions), gcide(gcide), tiers(tiers) {}

bool CMeaningIndexer::ChooseMember(const Synset& synset, uint32_t position, MeaningSense* sense) {
    std::vector<size_t> order(synset.members.size());
    std::iota(order.begin(), order.end(), 0);
    auto tags = [&](size_t i) { return i < synset.tagCounts.size() ? synset.tagCounts[i] : 0; };
    // Tag counts of one sense are few and noisy; the word lists say which
    // member people use: a tier of the word lists weighs as two tagged uses ("ravenous"
    // before "famished", neither tagged; "refrigerator" with 2 before
    // "icebox" with 3).
    auto key = [&](size_t i) { return tags(i) + kTierTags * tiers.Of(synset.members[i]); };
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return key(a) > key(b); });
    for (size_t i : order) {
        const uint32_t number = SenseNumberUnder(database, synset.members[i], position);
        if (number != 0 && i < 255) {
            sense->member = static_cast<uint8_t>(i + 1);
            sense->number = static_cast<uint8_t>(number);
            return true;
        }
    }
    return false;
}

void CMeaningIndexer::AddText(const std::string& text, uint32_t field) {
    terms.Split(text.data(), text.size(), [&](const WordTerms& word) {
        writer.AddTerm(word.form, field);
        writer.AddTerm(word.base, field);
        if (field != lxm::kFieldRelated) corpus.AddTerm(word.form);
        return true;
    });
}

void CMeaningIndexer::CollectVocabulary() {
    for (const auto& item : positions) {
        const std::string& gloss = lexicon.synsets[item.first].gloss;
        terms.Split(gloss.data(), std::min(gloss.size(), gloss.find('$')),
                    [&](const WordTerms& word) {
                        vocabulary.insert(word.form);
                        return true;
                    });
    }
}

void CMeaningIndexer::AddDefinitionText(const std::string& text, uint32_t field) {
    size_t added = 0;
    terms.Split(text.data(), text.size(), [&](const WordTerms& word) {
        if (vocabulary.count(word.form) == 0) return true;
        writer.AddTerm(word.form, field);
        if (vocabulary.count(word.base) != 0) writer.AddTerm(word.base, field);
        return ++added < kTermsPerDefinition;
    });
}

void CMeaningIndexer::AddRelated(const Synset& synset) {
    AddText(FactsOf(synset.lexFile).words, lxm::kFieldRelated);
    const bool person = synset.kind == lxd::kKindNoun && synset.lexFile == kPersonLexFile;
    for (const Link& link : synset.links) {
        const Synset& target = lexicon.synsets[link.target];
        if (link.sourceMember == 0 &&
            (link.kind == kLinkHypernym || link.kind == lxd::kLinkSimilarTo)) {
            AddMembers(target);
            // People are described by their broader kind's kind as well
            // ("a doctor who ..." for a pediatrician, a specialist).
            if (person) AddHypernymMembers(target);
        }
    }
    AddDerivedGlosses(synset);
    AddNarrowerMembers(synset);
}

void CMeaningIndexer::AddNarrowerMembers(const Synset& synset) {
    std::vector<uint32_t> narrower;
    for (const Link& link : synset.links) {
        if (link.sourceMember == 0 && link.kind == kLinkHyponym) narrower.push_back(link.target);
    }
    if (narrower.size() > kMaxNarrowerSenses) return;
    for (uint32_t target : narrower) AddMembers(lexicon.synsets[target]);
}

void CMeaningIndexer::AddDerivedGlosses(const Synset& synset) {
    std::set<uint32_t> added;
    for (const Link& link : synset.links) {
        if (link.kind != kLinkDerivation || !added.insert(link.target).second) continue;
        const std::string& gloss = lexicon.synsets[link.target].gloss;
        AddDefinitionText(gloss.substr(0, gloss.find('$')), lxm::kFieldRelated);
    }
}

void CMeaningIndexer::AddMembers(const Synset& synset) {
    for (const std::string& member : synset.members) AddText(member, lxm::kFieldRelated);
}

void CMeaningIndexer::AddHypernymMembers(const Synset& synset) {
    for (const Link& link : synset.links) {
        if (link.sourceMember == 0 && link.kind == kLinkHypernym) {
            AddMembers(lexicon.synsets[link.target]);
        }
    }
}

void CMeaningIndexer::IndexSynset(uint32_t index, uint32_t position) {
    const Synset& synset = lexicon.synsets[index];
    MeaningSense sense;
    sense.record = position;
    if (!ChooseMember(synset, position, &sense)) {
        ++figures.unreachable;
        return;
    }
    const char initial = synset.members[sense.member - 1][0];
    if (initial >= 'A' && initial <= 'Z') sense.record |= lxm::kSenseProperName;
    if (synset.kind == lxd::kKindNoun) {
        sense.record |= lxm::kSenseNoun | FactsOf(synset.lexFile).category
                                              << lxm::kSenseCategoryShift;
    }
    if (synset.kind == lxd::kKindVerb) sense.record |= lxm::kSenseVerb;
    const uint32_t tags =
        std::accumulate(synset.tagCounts.begin(), synset.tagCounts.end(), uint32_t{0});
    // Most senses are untagged, and the senses of the word lists' words are
    // the ones looked for: the shown member's tier adds to the tagged uses.
    sense.commonness = Commonness(tags + kTierTags * tiers.Of(synset.members[sense.member - 1]));
    writer.AddSense(sense);
    // The sense's line of the vectors' text opens with its members, next to
    // the words of its definition.
    corpus.StartLine();
    for (const std::string& member : synset.members) AddText(member, lxm::kFieldMember);
    const size_t dollar = synset.gloss.find('$');
    AddText(synset.gloss.substr(0, dollar), lxm::kFieldGloss);
    if (dollar != std::string::npos) AddText(synset.gloss.substr(dollar + 1), lxm::kFieldSample);
    for (const std::string& definition : gcide.Of(index)) {
        AddDefinitionText(definition, lxm::kFieldSample);
    }
    AddRelated(synset);
    ++figures.senses;
}

bool CMeaningIndexer::Write(const std::string& dictionaryPath, const std::string& indexPath) {
    CDictDatabase dictionary;
    uint32_t size = 0, check = 0;
    if (!dictionary.Open(dictionaryPath.c_str()) ||
        !CMeaningIndex::IdentifyDictionary(&dictionary, &size, &check)) {
        error = "cannot read back " + dictionaryPath;
        return false;
    }
    database = &dictionary;
    terms = CTermMaker(database, &termOf);
    writer.SetDictionary(size, check);
    CollectVocabulary();
    for (const auto& item : positions) {
        IndexSynset(item.first, item.second);
    }
    database = nullptr;
    std::unordered_map<std::string, std::vector<int8_t>> vectors;
    if (!corpus.Train(indexPath + ".text", &vectors, &error)) return false;
    figures.vectors = vectors.size();
    writer.SetTermVectors(std::move(vectors));
    figures.terms = writer.TermCount();
    figures.bytes = writer.Finish().size();
    if (!writer.WriteFile(indexPath)) {
        error = "cannot write " + indexPath;
        return false;
    }
    return true;
}

}  // namespace lxdbuild
