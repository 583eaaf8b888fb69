// Sense records in hypernym-tree order; a headword's lines side by side.
#include <gtest/gtest.h>

#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "tests/support/TestDatabase.h"
#include "tools/lxdbuild/DictionaryLayout.h"
#include "tools/lxdbuild/SynsetOrder.h"

namespace lxdbuild {
namespace {

// Nouns; parents[i] is the hypernym of synset i (-1: none).
void AddNouns(CLexicon* lexicon, const std::vector<int>& parents) {
    for (int parent : parents) {
        Synset synset;
        synset.kind = lxd::kKindNoun;
        synset.members = {"w" + std::to_string(lexicon->synsets.size())};
        if (parent >= 0) synset.links.push_back({lxd::kLinkHypernym, uint32_t(parent), 0, 0});
        lexicon->synsets.push_back(synset);
    }
}

TEST(SynsetOrder, HyponymsFollowTheirHypernymSmallestSubtreeFirst) {
    struct Case {
        std::vector<int> parents;
        std::set<uint32_t> excluded;
        Link extra;  // from synset 2 when its kind is set
        char pos0;   // part of speech of synset 0
        std::vector<uint32_t> expected;
    } cases[] = {
        {{-1, 3, 0, 0, -1, 2}, {}, {}, 'n', {0, 2, 5, 3, 1, 4}},  // ties in index order
        {{-1, 0, 0, 1, -1}, {}, {}, 'n', {0, 2, 1, 3, 4}},        // smaller subtree first
        {{-1, 0, 1}, {1}, {}, 'n', {0, 2}},                       // excluded: no parent
        {{1, 2, 0, -1}, {}, {}, 'n', {3, 0, 2, 1}},               // a cycle: each once
        {{-1, -1, -1}, {}, {lxd::kLinkHypernym, 0, 0, 0}, 'n', {0, 2, 1}},
        {{-1, -1, -1}, {}, {lxd::kLinkHypernym, 0, 1, 0}, 'n', {0, 1, 2}},  // one member's
        {{-1, -1, -1}, {}, {lxd::kLinkHypernym, 0, 0, 0}, 'v', {0, 1, 2}},  // a verb
        {{-1, -1, -1}, {}, {lxd::kLinkSynonym, 0, 0, 0}, 'n', {0, 1, 2}},
    };
    for (const Case& c : cases) {
        CLexicon lexicon;
        AddNouns(&lexicon, c.parents);
        lexicon.synsets[0].pos = c.pos0;
        if (c.extra.kind != 0) lexicon.synsets[2].links.push_back(c.extra);
        EXPECT_EQ(CSynsetOrder::Order(lexicon, c.excluded), c.expected);
    }
}

TEST(StreamLayout, AHeadwordsThesaurusLinesFollowItsOtherLinesSharedOnesCopied) {
    CLexicon lexicon;
    AddNouns(&lexicon, {-1});
    Entry& cat = lexicon.entries["cat"];
    cat.senses = {0};
    cat.pronunciation = "kæt";
    cat.thesaurus = {{lxd::kKindThesaurusNoun, "feline {generic term}"},
                     {lxd::kKindThesaurusVerb, "flog {generic term}"}};
    // A short line placed first by another headword is copied beside cat's.
    lexicon.entries["bat"].thesaurus = {{lxd::kKindThesaurusVerb, "flog {generic term}"}};
    lxtest::TestDatabase db;
    CDictionaryLayout layout(db.Writer());
    ASSERT_TRUE(layout.Lay(lexicon)) << layout.Error();
    std::unique_ptr<CDictDatabase> open = db.Open();
    char key[lxd::kKeyBufferSize];
    std::strcpy(key, CTrieWriter::KeyOf("cat").c_str());
    uint32_t refs[8];
    ASSERT_EQ(open->wordList->GetRecordRefs(open->wordList->FindExactWord(key, 1), refs, 8), 4);
    for (int i = 2; i < 4; ++i) {
        int32_t length = 0;
        ASSERT_NE(open->records->GetLine(lxd::RefPosition(refs[i - 1]), &length), nullptr);
        EXPECT_EQ(lxd::RefPosition(refs[i]), lxd::RefPosition(refs[i - 1]) + length + 1);
    }
}

}  // namespace
}  // namespace lxdbuild
