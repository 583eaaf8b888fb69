// The plain-text renderer and page on small record sets, compared with text
// written out by hand, and the line layout they share with the server.
#include <string>
#include <vector>

#include "render/SimpleString.h"
#include "render/TextDefinition.h"
#include "render/TextLayout.h"
#include "render/TextRender.h"
#include "tests/render/RenderFixture.h"

namespace {

// "dog": a pronunciation, three noun senses (the headword is member 1, 1 and
// 2; links from the whole sense, from member 1 and from member 2), a verb
// sense, every kind of form record, an origin and two thesaurus lines.
struct CDogEntry {
    CDogEntry() {
        const uint32_t pron = store.Line("dOg");
        const uint32_t animal =
            store.Sense({"dog", "domestic dog"},
                        "a member of the genus Canis$the dog barked all night$cats purr",
                        {Link(140, "canine")});
        const uint32_t man =
            store.Sense({"Dog"}, "informal term for a man$you lucky dog", {Link(136, "cat", 1)});
        const uint32_t frump = store.Sense({"frump", "dog"}, "a dull unattractive woman",
                                           {Link(200, "hag", 2), Link(140, "canine", 1)});
        const uint32_t chase =
            store.Sense({"dog", "chase"}, "go after with the intent to catch$dogged by fear");
        store.Sense({"canine", "canid"}, "a carnivore", {}, "canine");
        store.Sense({"cat"}, "a feline", {}, "cat");
        store.Sense({"hag"}, "an ugly old woman", {}, "hag");
        references = {Ref(228, pron),
                      Ref(132, animal),
                      Ref(132, man),
                      Ref(132, frump),
                      Ref(136, chase),
                      Ref(180, store.Line("Dogs")),
                      Ref(192, store.Line("dogged")),
                      Ref(196, store.Line("dogged")),
                      Ref(208, store.Line("They %s him")),
                      Ref(232, store.Line("from [Old English] {docga}")),
                      Ref(236, store.Line("hound,cur {informal} <rare>")),
                      Ref(240, store.Line("mutt, pooch"))};
        records = store.Open();
    }

    // Renders into `page` as the text render manager does, with "d*og" as
    // the hyphenated form; false when the renderer stopped.
    bool Render(CTextDefinition* page, int singleSynset, int width) {
        page->Reset("dog", singleSynset);
        CTextDefinition::Output(page, "d*og", -1, OUTPUT_HYPHENATION);
        CTextRender render(CTextDefinition::Output, page, records);
        const bool done = render.Render("dog", references.data(),
                                        static_cast<int>(references.size()), singleSynset);
        page->Finish(width);
        return done;
    }

    CRecordStore store;
    CCompressedData* records = nullptr;
    std::vector<uint32_t> references;
};

std::string Wrapped(const std::string& text, int width) {
    CSimpleString out;
    WrapText(text.data(), static_cast<int32_t>(text.size()), width, &out);
    return out.GetBuffer() != nullptr ? out.GetBuffer() : "";
}

}  // namespace

// Samples show only when they mention a form (cats purr does not; dogged
// does, through the tense form); the headword is no synonym of itself in any
// capitals; headings carry the numbers of their form notes.
TEST(TextRender, ThreeViewsOfAWholeEntry) {
    CDogEntry dog;
    ASSERT_NE(nullptr, dog.records);
    CTextDefinition page;
    ASSERT_TRUE(dog.Render(&page, 0, 0));
    EXPECT_EQ(
        "dog\n"
        "  d\xC2\xB7og  /dOg/\n"
        "\n"
        "noun [1]\n"
        "  1. a member of the genus Canis; \"the dog barked all night\"\n"
        "     syn: domestic dog\n"
        "  2. informal term for a man; \"you lucky dog\"\n"
        "  3. a dull unattractive woman\n"
        "     syn: frump\n"
        "\n"
        "verb [2]\n"
        "  1. go after with the intent to catch; \"dogged by fear\"\n"
        "     syn: chase\n"
        "\n"
        "FORMS\n"
        "  [1] plural: dogs\n"
        "  [2] tenses: dogged, dogged; usage: They dog him\n"
        "\n"
        "ORIGIN: from Old English docga\n",
        std::string(page.GetView(CTextDefinition::kDictionary)));
    EXPECT_EQ(
        "LINKS: dog\n"
        "\n"
        "noun\n"
        "  synonym: domestic dog, frump\n"
        "  antonym: cat\n"
        "  more generic (hypernym): canid, canine\n"
        "  also see: hag\n"
        "\n"
        "verb\n"
        "  synonym: chase\n",
        std::string(page.GetView(CTextDefinition::kLinks)));
    EXPECT_EQ(
        "THESAURUS: dog\n"
        "\n"
        "synonym\n"
        "  hound, cur (informal) [rare]\n"
        "\n"
        "noun\n"
        "  mutt, pooch\n",
        std::string(page.GetView(CTextDefinition::kThesaurus)));
}

TEST(TextRender, OneSenseLinksAndNothingLeftFromTheRequestBefore) {
    CDogEntry dog;
    ASSERT_NE(nullptr, dog.records);
    CTextDefinition page;
    ASSERT_TRUE(dog.Render(&page, 0, 0));
    // Reference 3 is the sense in which "Dog" links to "cat".
    ASSERT_TRUE(dog.Render(&page, 3, 0));
    EXPECT_EQ(3, page.GetSingleSynset());
    EXPECT_EQ(
        "LINKS: dog\n"
        "\n"
        "noun\n"
        "  informal term for a man\n"
        "  antonym: cat\n",
        std::string(page.GetView(CTextDefinition::kLinks)));
    // A page of a word without records has no views at all.
    page.Reset("nothing", 0);
    page.Finish(76);
    for (auto view : {CTextDefinition::kDictionary, CTextDefinition::kLinks,
                      CTextDefinition::kThesaurus}) {
        EXPECT_FALSE(page.HasView(view));
        EXPECT_STREQ("", page.GetView(view));
    }
}

TEST(TextRender, AnOutputThatRefusesStopsTheRender) {
    CDogEntry dog;
    ASSERT_NE(nullptr, dog.records);
    for (int refuseFrom : {0, 1, 5, 20}) {
        COutputRecorder recorder;
        recorder.refuseFrom = refuseFrom;
        CTextRender render(COutputRecorder::Output, &recorder, dog.records);
        EXPECT_FALSE(render.Render("dog", dog.references.data(),
                                   static_cast<int>(dog.references.size()), 0))
            << refuseFrom;
        // The first refused call ends it: nothing more is asked for.
        EXPECT_EQ(1, recorder.refused) << refuseFrom;
    }
}

TEST(TextLayout, LinesWrapWithAHangingIndent) {
    const struct {
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"short line\n", 20, "short line\n"},
        {"no line end", 20, "no line end\n"},
        {"  1. one two three four five\n", 16, "  1. one two\n     three four\n     five\n"},
        {"  [12] alpha beta gamma\n", 14, "  [12] alpha\n       beta\n       gamma\n"},
        {"  plain words wrap here\n", 12, "  plain\n    words\n    wrap here\n"},
        // Tabs and other control bytes are spaces; runs of spaces collapse
        // after the indentation; trailing spaces go; blank lines stay.
        {"a\tb  \x01 c   \n\n", 0, "a b c\n\n"},
        // A UTF-8 sequence is one column.
        {"\xC3\xA6\xC3\xA6\xC3\xA6 \xC3\xA6\xC3\xA6\n", 6, "\xC3\xA6\xC3\xA6\xC3\xA6 \xC3\xA6\xC3\xA6\n"},
        {"averyveryverylongword x\n", 8, "averyveryverylongword\n  x\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, Wrapped(c.text, c.width)) << c.text;
}

TEST(TextLayout, NoLineOutgrowsTheByteLimitAndNoCharacterIsCut) {
    std::string word;
    for (int i = 0; i < 900; ++i) word += "\xC3\xA6";  // 1,800 bytes without a space
    for (int width : {0, 76}) {
        const std::string text = Wrapped("  2. " + word + " end\n", width);
        size_t start = 0;
        std::string joined;
        for (size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start)) {
            const std::string line = text.substr(start, end - start);
            EXPECT_LE(line.size(), static_cast<size_t>(kMaxLineBytes));
            for (char c : line) {
                if (c != ' ') joined += c;
            }
        }
        // Only line ends and spaces were added: the pieces rejoin, uncut.
        EXPECT_EQ("2." + word + "end", joined) << width;
    }
}
