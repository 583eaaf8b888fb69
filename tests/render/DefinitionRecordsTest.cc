// The sense-record readers against records written by the dictionary writer.

#include "render/DefinitionRecords.h"
#include "render/HtmlRender.h"
#include "render/SimpleString.h"
#include "render/WordCollection.h"
#include "tests/render/RenderFixture.h"

namespace {

std::vector<std::string> Items(const CWordCollection& collection) {
    std::vector<std::string> items;
    for (int i = 0; i < collection.Count(); ++i) items.push_back(collection.Get(i));
    return items;
}

std::string Prefixed(uint32_t kind, const std::string& word) {
    return std::string(1, static_cast<char>(kind)) + word;
}

// A renderer over `records` whose headword is `headword`, as during a render.
struct CReader {
    CReader(CCompressedData* records, const char* headword) : render(nullptr, nullptr, records) {
        render.wordForms.Add(headword);
    }
    CHtmlRender render;
};

}  // namespace

TEST(DefinitionRecords, ReadMembersSkipsTheHeadwordAndKeepsWhatIsWanted) {
    CRecordStore store;
    const uint32_t dog = store.Sense({"Dog", "domestic dog", "Canis familiaris"}, "a canine");
    const uint32_t lookalikes = store.Sense({"dogs", "do", "DOG", "doge"}, "words like dog");
    const uint32_t glossOnly = store.Line("a sense without members", '\f');
    CCompressedData* records = store.Open();
    ASSERT_NE(nullptr, records);
    CReader reader(records, "dog");

    CWordCollection all;
    int32_t headIndex = 0;
    const uint32_t glossPosition = ReadMembers(&reader.render, &all, dog, 0, 0, &headIndex);
    EXPECT_EQ(1, headIndex);
    EXPECT_EQ((std::vector<std::string>{"domestic dog", "Canis familiaris"}), Items(all));
    int32_t length = 0;
    const char* gloss = records->GetLine(glossPosition, &length);
    ASSERT_NE(nullptr, gloss);
    EXPECT_EQ("a canine", std::string(gloss, length));

    // Longer and shorter words sharing the headword's letters are members.
    CWordCollection prefixed;
    headIndex = 0;
    ReadMembers(&reader.render, &prefixed, lookalikes | 0x84000000u, 0, 140, &headIndex);
    EXPECT_EQ(3, headIndex);
    EXPECT_EQ((std::vector<std::string>{Prefixed(140, "dogs"), Prefixed(140, "do"),
                                        Prefixed(140, "doge")}),
              Items(prefixed));

    // A wanted member ends the read right behind it.
    CWordCollection second;
    headIndex = -7;
    const uint32_t stop = ReadMembers(&reader.render, &second, lookalikes, 2, 0, &headIndex);
    EXPECT_EQ((std::vector<std::string>{"do"}), Items(second));
    EXPECT_EQ(-7, headIndex);
    EXPECT_EQ(lookalikes + 8, stop);

    // A first line ended by FF is the gloss: no members, position unchanged.
    CWordCollection none;
    headIndex = 0;
    EXPECT_EQ(glossOnly, ReadMembers(&reader.render, &none, glossOnly, 0, 0, &headIndex));
    EXPECT_EQ(0, none.Count());
    EXPECT_EQ(0, headIndex);
}

TEST(DefinitionRecords, CollectLinksFollowsTheHeadwordsLinksOnly) {
    CRecordStore store;
    std::vector<DictSenseLink> links = {
        Link(140, "feline"),            // whole synset
        Link(136, "dog", 2),            // only from member 2
        Link(200, "threeWords", 0, 2),  // only to target member 2
        Link(208, "twoWords", 0, 3),    // target has no member 3
        Link(204 + 16, "withCat"),      // headword in the target
    };
    links[2].fillerBefore = true;
    const DictSense sense{{"cat", "true cat"}, "a small feline$the cat sat", links, true};
    uint32_t cat = 0;
    ASSERT_TRUE(store.Writer().AddSense(sense, "cat", &cat)) << store.Writer().GetError();
    store.Sense({"feline", "felid"}, "a cat family member", {}, "feline");
    store.Sense({"dog"}, "a canine", {}, "dog");
    store.Sense({"x", "y", "z"}, "three", {}, "threeWords");
    store.Sense({"u", "v"}, "two", {}, "twoWords");
    store.Sense({"kitty", "CAT"}, "pet name", {}, "withCat");
    CCompressedData* records = store.Open();
    ASSERT_NE(nullptr, records);

    CReader asCat(records, "cat");
    CWordCollection collection;
    CSimpleString gloss;
    const uint32_t glossPosition = CollectLinks(&asCat.render, &collection, &gloss, cat);
    EXPECT_EQ(cat + 13, glossPosition);
    EXPECT_STREQ("a small feline$the cat sat", gloss.GetBuffer());
    EXPECT_EQ((std::vector<std::string>{Prefixed(132, "true cat"), Prefixed(140, "feline"),
                                        Prefixed(140, "felid"), Prefixed(200, "y"),
                                        Prefixed(220, "kitty")}),
              Items(collection));

    // As member 2 the headword also has the link from member 2.
    CReader asTrueCat(records, "True Cat");
    CWordCollection second;
    CollectLinks(&asTrueCat.render, &second, nullptr, cat);
    EXPECT_GE(second.Find(Prefixed(136, "dog").c_str()), 0);
    EXPECT_EQ(Prefixed(132, "cat"), Items(second)[0]);

    // Not a member: the other members and the gloss, but no linked words.
    CReader asFeline(records, "feline");
    CWordCollection outsider;
    CSimpleString outsiderGloss;
    CollectLinks(&asFeline.render, &outsider, &outsiderGloss, cat);
    EXPECT_EQ((std::vector<std::string>{Prefixed(132, "cat"), Prefixed(132, "true cat")}),
              Items(outsider));
    EXPECT_STREQ("a small feline$the cat sat", outsiderGloss.GetBuffer());
}

TEST(DefinitionRecords, CollectLinksTakesAtMost128Links) {
    CRecordStore store;
    std::vector<DictSenseLink> links;
    for (int i = 0; i < 5; ++i) links.push_back(Link(140, "t0", 2));  // not the headword's
    for (int i = 0; i < 130; ++i) links.push_back(Link(144, "t" + std::to_string(i)));
    const uint32_t hub = store.Sense({"hub"}, "the centre", links);
    for (int i = 0; i < 130; ++i) {
        store.Sense({"w" + std::to_string(i)}, "target", {}, "t" + std::to_string(i));
    }
    CCompressedData* records = store.Open();
    ASSERT_NE(nullptr, records);

    CReader reader(records, "hub");
    CWordCollection collection;
    CollectLinks(&reader.render, &collection, nullptr, hub);
    ASSERT_EQ(128, collection.Count());
    EXPECT_EQ(Prefixed(144, "w0"), collection.Get(0));
    EXPECT_EQ(Prefixed(144, "w127"), collection.Get(127));
    EXPECT_EQ(-1, collection.Find(Prefixed(144, "w128").c_str()));
}
