// The meaning index file: what the writer stores the reader gives back
// (checked against a plain model), damaged files are refused or read without
// leaving the file, and words become the terms both sides agree on.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>
#include <unordered_map>

#include "db/Format.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningIndexWriter.h"
#include "meaning/TermMaker.h"
#include "tests/support/TestDatabase.h"

namespace {

constexpr uint32_t kSize = 1234, kCheck = 0xC0FFEE;

using Model = std::map<std::string, std::map<uint32_t, uint32_t>>;  // term -> sense -> fields

std::map<uint32_t, uint32_t> Decode(const CMeaningIndex& index, int32_t term) {
    std::map<uint32_t, uint32_t> postings;
    if (term < 0) return postings;
    CMeaningIndex::CPostings list = index.Postings(static_cast<uint32_t>(term));
    uint32_t sense = 0, fields = 0;
    while (list.Next(&sense, &fields)) {
        EXPECT_EQ(0u, postings.count(sense)) << "sense repeated";
        postings[sense] = fields;
    }
    return postings;
}

TEST(MeaningIndexTest, ReadsBackWhatWasWrittenForRandomSenses) {
    std::mt19937 random(17);
    CMeaningIndexWriter writer;
    writer.SetDictionary(kSize, kCheck);
    Model model;
    std::vector<MeaningSense> senses;
    std::unordered_map<std::string, std::vector<int8_t>> vectors;  // every other term's
    const uint32_t fields[] = {lxm::kFieldGloss, lxm::kFieldSample, lxm::kFieldMember,
                               lxm::kFieldRelated};
    for (uint32_t s = 0; s < 3000; ++s) {
        MeaningSense sense;
        sense.record = random() % lxd::kMaxRecordPosition | (s % 3 == 0 ? lxm::kSenseNoun : 0);
        sense.member = static_cast<uint8_t>(1 + random() % 9);
        sense.number = static_cast<uint8_t>(1 + random() % 200);
        sense.commonness = static_cast<uint8_t>(random() % 256);
        EXPECT_EQ(s, writer.AddSense(sense));
        senses.push_back(sense);
        // Common terms give small gaps, rare ones gaps of several varint bytes.
        for (int t = random() % 12; t > 0; --t) {
            const std::string term = "t" + std::to_string(random() % (t % 2 ? 20 : 5000));
            const uint32_t field = fields[random() % 4];
            writer.AddTerm(term, field);
            model[term][s] |= field;
            if (term.size() % 2 == 0) vectors[term] = {static_cast<int8_t>(term.size()), -3, 7};
        }
    }
    writer.SetTermVectors(vectors);
    CMeaningIndex index;
    ASSERT_TRUE(index.Load(writer.Finish(), kSize, kCheck));
    ASSERT_EQ(senses.size(), index.SenseCount());
    ASSERT_EQ(model.size(), index.TermCount());
    const auto tuple = [](const MeaningSense& sense) {
        return std::make_tuple(sense.record, sense.member, sense.number, sense.commonness);
    };
    uint32_t length = 0;
    for (uint32_t s = 0; s < senses.size(); ++s) {
        EXPECT_EQ(tuple(senses[s]), tuple(index.GetSense(s, &length))) << s;
    }
    for (const auto& term : model) {
        const int32_t found = index.FindTerm(term.first.c_str());
        ASSERT_GE(found, 0) << term.first;
        EXPECT_EQ(term.second, Decode(index, found)) << term.first;
        EXPECT_EQ(term.second.size(), index.Postings(static_cast<uint32_t>(found)).Count());
        const int8_t* vector = index.TermVector(static_cast<uint32_t>(found));
        EXPECT_EQ(vectors.count(term.first) != 0, vector != nullptr) << term.first;
        if (vector != nullptr) {
            EXPECT_EQ(vectors[term.first], std::vector<int8_t>(vector, vector + 3)) << term.first;
        }
    }
    for (const char* absent : {"", "t", "t5000", "u1", "zzz"}) {
        EXPECT_EQ(-1, index.FindTerm(absent)) << absent;
    }
}

// A small valid file and the offset of its only term's postings.
std::vector<unsigned char> SmallIndex() {
    CMeaningIndexWriter writer;
    writer.SetDictionary(kSize, kCheck);
    for (uint32_t s = 0; s < 4; ++s) {
        writer.AddSense(MeaningSense{s * 100, 1, 1, 0});
        writer.AddTerm("spider", lxm::kFieldGloss);
    }
    writer.SetTermVectors({{"spider", {1, 2}}});
    return writer.Finish();
}

void ExpectRefused(const std::vector<unsigned char>& bytes, uint32_t size, uint32_t check,
                   const char* what) {
    CMeaningIndex index;
    EXPECT_FALSE(index.Load(bytes, size, check)) << what;
    EXPECT_EQ(0u, index.SenseCount()) << what;
    EXPECT_EQ(-1, index.FindTerm("spider")) << what;
}

TEST(MeaningIndexTest, RefusesDamagedOrForeignFiles) {
    ExpectRefused(SmallIndex(), kSize + 1, kCheck, "another dictionary's size");
    ExpectRefused(SmallIndex(), kSize, kCheck ^ 1, "another dictionary's check");
    using Bytes = std::vector<unsigned char>;
    const std::pair<const char*, void (*)(Bytes&)> damages[] = {
        {"cut short", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"shorter than a header", [](Bytes& b) { b.resize(40); }},
        {"bad magic", [](Bytes& b) { b[0] ^= 0xFF; }},
        {"newer version", [](Bytes& b) { lxtest::PutWord(&b, lxm::kHeaderVersion, 2); }},
        {"sense table past the end",
         [](Bytes& b) { lxtest::PutWord(&b, lxm::kHeaderSenseCount, 0x20000000); }},
        {"term table wrapping",
         [](Bytes& b) { lxtest::PutWord(&b, lxm::kHeaderTermTable, 0xFFFFFFF0u); }},
        {"term text without its end",
         [](Bytes& b) {
             b[lxtest::GetWord(b, lxm::kHeaderTermTexts) +
               lxtest::GetWord(b, lxm::kHeaderTermTextsSize) - 1] = 'x';
         }},
        {"postings offset past the postings",
         [](Bytes& b) {
             lxtest::PutWord(&b, lxtest::GetWord(b, lxm::kHeaderTermTable) + lxm::kTermPostings,
                             0x7FFFFFFF);
         }},
        {"vectors past the end",
         [](Bytes& b) { lxtest::PutWord(&b, lxm::kHeaderVectorsSize, 0x10000); }},
        {"more vectors than the terms marked",
         [](Bytes& b) {
             lxtest::PutWord(&b, lxtest::GetWord(b, lxm::kHeaderVectors) + lxm::kVectorCount, 2);
         }},
        {"no term marked",
         [](Bytes& b) {
             lxtest::PutWord(&b, lxtest::GetWord(b, lxm::kHeaderVectors) + lxm::kVectorBits, 0);
         }},
    };
    for (const auto& damage : damages) {
        std::vector<unsigned char> bytes = SmallIndex();
        damage.second(bytes);
        ExpectRefused(bytes, kSize, kCheck, damage.first);
    }
    CMeaningIndex sound;
    EXPECT_TRUE(sound.Load(SmallIndex(), kSize, kCheck));
    EXPECT_NE(nullptr, sound.TermVector(0));
}

TEST(MeaningIndexTest, DamagedPostingsEndTheListWithinTheFile) {
    // Postings of "spider": count 4, then gaps 0,1,1,1 with the gloss bit.
    struct Case {
        const char* what;
        std::vector<unsigned char> list;
        std::vector<uint32_t> senses;
    };
    const auto entry = [](uint32_t gap) {
        return static_cast<unsigned char>(gap << lxm::kFieldBits | lxm::kFieldGloss);
    };
    const Case cases[] = {
        {"sound", {4, entry(0), entry(1), entry(1), entry(1)}, {0, 1, 2, 3}},
        {"a repeated sense", {4, entry(0), entry(0), entry(1), entry(1)}, {0}},
        {"a sense past the table", {4, entry(2), entry(2), entry(1), entry(1)}, {2}},
        {"a count above the senses", {9, entry(0), entry(1), entry(1), entry(1)}, {}},
        {"a varint running off the end", {4, entry(0), 0xFF, 0xFF, 0xFF}, {0}},
        {"an overlong varint", {4, 0x80, 0x80, 0x80, 0x80}, {}},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = SmallIndex();
        const uint32_t postings = lxtest::GetWord(bytes, lxm::kHeaderPostings);
        ASSERT_EQ(5u, lxtest::GetWord(bytes, lxm::kHeaderPostingsSize));
        std::copy(c.list.begin(), c.list.end(), bytes.begin() + postings);
        CMeaningIndex index;
        ASSERT_TRUE(index.Load(bytes, kSize, kCheck)) << c.what;
        std::vector<uint32_t> read;
        for (const auto& posting : Decode(index, index.FindTerm("spider"))) {
            read.push_back(posting.first);
        }
        EXPECT_EQ(c.senses, read) << c.what;
    }
}

TEST(MeaningIndexTest, TermsAreHeadwordsTheLookupReaches) {
    lxtest::TestDatabase db;
    const uint32_t sense = db.Sense({{"thing"}, "an entity", {}});
    for (const char* word : {"spider", "mouse", "eat", "Paris", "new"}) {
        db.Word(word, {{lxd::kKindNoun, sense}});
    }
    db.WordWithLines("mice", {{lxd::kKindRedirect, "mouse"}});
    db.Word("eats", {{lxd::kKindNoun, sense}});  // a headword and a form of eat
    db.Word("news", {{lxd::kKindNoun, sense}});
    std::unique_ptr<CDictDatabase> open = db.Open();
    ASSERT_NE(nullptr, open);
    CTermMaker maker(open.get());
    struct Case {
        const char* text;
        std::vector<std::string> terms;  // form, or form/base
    };
    const Case cases[] = {
        {"Fear of SPIDERS!", {"fear", "spider"}},
        {"the mice, in paris", {"mouse", "paris"}},
        {"someone eats; he eats", {"someone", "eats/eat", "eats/eat"}},
        {"news x 42 a-b", {"news/new", "42"}},
        {"caf\xC3\xA9 na\xC3\xAFve", {"caf\xC3\xA9", "na\xC3\xAFve"}},
        {"longwordlongwordlongwordlongwordlongwordl ok", {"ok"}},  // 41 bytes
        {"the of and to", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> terms;
        maker.Split(c.text, strlen(c.text), [&](const WordTerms& word) {
            terms.push_back(word.base.empty() ? word.form : word.form + "/" + word.base);
            return true;
        });
        EXPECT_EQ(c.terms, terms) << c.text;
    }
    // The stop list is searched by halving, so it must stay sorted.
    EXPECT_TRUE(CTermMaker::IsStopWord("about") && CTermMaker::IsStopWord("your") &&
                CTermMaker::IsStopWord("not") && !CTermMaker::IsStopWord("spider"));
}

}  // namespace
