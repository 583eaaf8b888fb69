// Where the layout puts records: sense records in hypernym-tree order, and
// each headword's one-line records, thesaurus lines included, side by side.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "tests/support/TestDatabase.h"
#include "tools/lxdbuild/DictionaryLayout.h"
#include "tools/lxdbuild/SynsetOrder.h"

namespace lxdbuild {
namespace {

using Order = std::vector<uint32_t>;

// A lexicon of nouns; `parents[i]` is the hypernym of synset i (-1: none).
void AddNouns(CLexicon* lexicon, const std::vector<int>& parents) {
    for (size_t i = 0; i < parents.size(); ++i) {
        Synset synset;
        synset.kind = lxd::kKindNoun;
        synset.members = {"w" + std::to_string(i)};
        synset.gloss = "gloss " + std::to_string(i);
        if (parents[i] >= 0) {
            synset.links.push_back({lxd::kLinkHypernym, static_cast<uint32_t>(parents[i]), 0, 0});
        }
        lexicon->synsets.push_back(synset);
    }
}

TEST(SynsetOrder, HyponymsFollowTheirHypernymDepthFirst) {
    struct Case {
        const char* name;
        std::vector<int> parents;
        std::set<uint32_t> excluded;
        Order expected;
    };
    const Case cases[] = {
        {"children after their parent, siblings in index order",
         {-1, 3, 0, 0, -1, 2},
         {},
         {0, 2, 5, 3, 1, 4}},
        {"smaller subtrees first, ties in index order", {-1, 0, 0, 1, -1}, {}, {0, 2, 1, 3, 4}},
        {"an excluded synset is neither placed nor a parent", {-1, 0, 1}, {1}, {0, 2}},
        {"a hypernym cycle still places each synset once", {1, 2, 0, -1}, {}, {3, 0, 2, 1}},
    };
    for (const Case& c : cases) {
        CLexicon lexicon;
        AddNouns(&lexicon, c.parents);
        EXPECT_EQ(CSynsetOrder::Order(lexicon, c.excluded), c.expected) << c.name;
    }

    // Only a synset-wide hypernym of the same part of speech makes a parent.
    struct LinkCase {
        const char* name;
        Link link;  // from synset 2 to synset 0
        char targetPos;
        Order expected;
    };
    const LinkCase linkCases[] = {
        {"hypernym", {lxd::kLinkHypernym, 0, 0, 0}, 'n', {0, 2, 1}},
        {"one member's hypernym", {lxd::kLinkHypernym, 0, 1, 0}, 'n', {0, 1, 2}},
        {"hypernym of another part of speech", {lxd::kLinkHypernym, 0, 0, 0}, 'v', {0, 1, 2}},
        {"another kind of link", {lxd::kLinkSynonym, 0, 0, 0}, 'n', {0, 1, 2}},
    };
    for (const LinkCase& c : linkCases) {
        CLexicon lexicon;
        AddNouns(&lexicon, {-1, -1, -1});
        lexicon.synsets[0].pos = c.targetPos;
        lexicon.synsets[2].links.push_back(c.link);
        EXPECT_EQ(CSynsetOrder::Order(lexicon, {}), c.expected) << c.name;
    }
}

TEST(StreamLayout, SenseRecordsInTreeOrderAndAHeadwordsLinesTogether) {
    CLexicon lexicon;
    AddNouns(&lexicon, {2, -1, -1});
    Entry& cat = lexicon.entries["cat"];
    cat.senses = {2, 0};
    cat.plurals = {"cats"};
    cat.pronunciation = "kæt";
    cat.thesaurus = {{lxd::kKindThesaurusNoun, "true cat,feline {generic term}"},
                     {lxd::kKindThesaurusVerb, "flog {generic term}"}};
    Entry& dog = lexicon.entries["dog"];
    dog.senses = {1};
    dog.thesaurus = {{lxd::kKindThesaurusNoun, "domestic dog {generic term}"}};

    lxtest::TestDatabase db;
    CDictionaryLayout layout(db.Writer());
    ASSERT_TRUE(layout.Lay(lexicon)) << layout.Error();
    const std::map<uint32_t, uint32_t>& at = layout.SynsetPositions();
    EXPECT_LT(at.at(1), at.at(2));  // roots in index order
    EXPECT_LT(at.at(2), at.at(0));  // then the hyponym after its hypernym

    std::unique_ptr<CDictDatabase> open = db.Open();
    ASSERT_TRUE(open);
    char key[lxd::kKeyBufferSize];
    std::strcpy(key, CTrieWriter::KeyOf("cat").c_str());
    uint32_t refs[lxd::kMaxRenderedRefs];
    const int count =
        open->wordList->GetRecordRefs(open->wordList->FindExactWord(key, 1), refs, std::size(refs));
    ASSERT_EQ(count, 6);
    // After the two senses, each one-line record starts where the one
    // before it ended: the thesaurus lines share the pronunciation's block.
    for (int i = 3; i < count; ++i) {
        int32_t length = 0;
        ASSERT_NE(open->records->GetLine(lxd::RefPosition(refs[i - 1]), &length), nullptr);
        EXPECT_EQ(lxd::RefPosition(refs[i]), lxd::RefPosition(refs[i - 1]) + length + 1) << i;
    }
    EXPECT_EQ(lxd::RefKind(refs[5]), lxd::kKindThesaurusVerb);
}

}  // namespace
}  // namespace lxdbuild
