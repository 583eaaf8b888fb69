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

// "fish": a pronunciation, three noun senses (the headword is member 1, 1
// in other capitals, and 2; links from the whole sense, from member 2 and
// from member 1), a verb sense, every kind of form record, an origin, two
// thesaurus lines and a form-of note.
struct CFishEntry {
    CFishEntry() {
        references = {Ref(228, store.Line("fIS")),
                      Ref(132, store.Sense({"fish"},
                                           "any of various cold-blooded aquatic vertebrates$the "
                                           "fish swam$birds fly",
                                           {Link(140, "vertebrate")})),
                      Ref(132, store.Sense({"Fish", "Pisces"},
                                           "the twelfth sign of the zodiac$born under Fish")),
                      Ref(132, store.Sense({"angle", "fish"}, "a person who angles",
                                           {Link(200, "angler", 2), Link(140, "vertebrate", 1)})),
                      Ref(136, store.Sense({"fish", "angle"},
                                           "seek food by catching fish$they fished all day")),
                      Ref(180, store.Line("Fishes")),
                      Ref(192, store.Line("fished")),
                      Ref(196, store.Line("fished")),
                      Ref(208, store.Line("They %s in the lake")),
                      Ref(232, store.Line("from [Old English] {fisc}")),
                      Ref(236, store.Line("pisces,catch {informal} <rare>")),
                      Ref(240, store.Line("seafood, food")),
                      Ref(200, store.Line("plural\tfishes"))};
        store.Sense({"vertebrate", "craniate"}, "an animal with a backbone", {}, "vertebrate");
        store.Sense({"angler"}, "a fisherman", {}, "angler");
        records = store.Open();
    }

    // Renders into `page` as the text render manager does, with "f*ish" as
    // the hyphenated form; false when the renderer stopped.
    bool Render(CTextDefinition* page, int singleSynset, int width) {
        page->Reset("fish", singleSynset);
        CTextDefinition::Output(page, "f*ish", -1, OUTPUT_HYPHENATION);
        CTextRender render(CTextDefinition::Output, page, records);
        const bool done = render.Render("fish", references.data(),
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

// Samples show only when they mention a form, case and all ("born under
// Fish" does not; "fished" does, through the tense form); the headword is no
// synonym of itself in any capitals; headings carry their form notes.
TEST(TextRender, ThreeViewsOfAWholeEntryThenOneSenseAndAnOutputThatRefuses) {
    CFishEntry fish;
    ASSERT_NE(nullptr, fish.records);
    CTextDefinition page;
    ASSERT_TRUE(fish.Render(&page, 0, 0));
    EXPECT_EQ(
        "fish\n"
        "  f\xC2\xB7ish /fIS/\n"
        "\n"
        "plural of fishes\n"
        "\n"
        "noun [1]\n"
        "  1. any of various cold-blooded aquatic vertebrates; \"the fish swam\"\n"
        "  2. the twelfth sign of the zodiac\n"
        "     syn: Pisces\n"
        "  3. a person who angles\n"
        "     syn: angle\n"
        "\n"
        "verb [2]\n"
        "  1. seek food by catching fish; \"they fished all day\"\n"
        "     syn: angle\n"
        "\n"
        "FORMS\n"
        "  [1] plural: fishes\n"
        "  [2] tenses: fished, fished; usage: They fish in the lake\n"
        "\n"
        "ORIGIN: from Old English fisc\n",
        std::string(page.GetView(CTextDefinition::kDictionary)));
    EXPECT_EQ(
        "LINKS: fish\n"
        "\n"
        "noun\n"
        "  synonym: angle, Pisces\n"
        "  more generic (hypernym): craniate, vertebrate\n"
        "  also see: angler\n"
        "\n"
        "verb\n"
        "  synonym: angle\n",
        std::string(page.GetView(CTextDefinition::kLinks)));
    EXPECT_EQ(
        "THESAURUS: fish\n"
        "\n"
        "synonym\n"
        "  pisces, catch (informal) [rare]\n"
        "\n"
        "noun\n"
        "  seafood, food\n",
        std::string(page.GetView(CTextDefinition::kThesaurus)));

    // One sense, on the same page: nothing is left from the request before.
    // Reference 4 is the sense in which "fish" is member 2.
    ASSERT_TRUE(fish.Render(&page, 4, 0));
    EXPECT_EQ(4, page.GetSingleSynset());
    EXPECT_EQ(
        "LINKS: fish\n"
        "\n"
        "noun\n"
        "  a person who angles\n"
        "  synonym: angle\n"
        "  also see: angler\n",
        std::string(page.GetView(CTextDefinition::kLinks)));
    // A page of a word without records has no views at all.
    page.Reset("nothing", 0);
    page.Finish(76);
    for (auto view :
         {CTextDefinition::kDictionary, CTextDefinition::kLinks, CTextDefinition::kThesaurus}) {
        EXPECT_FALSE(page.HasView(view));
        EXPECT_STREQ("", page.GetView(view));
    }

    for (int refuseFrom : {0, 1, 5, 20}) {
        COutputRecorder recorder;
        recorder.refuseFrom = refuseFrom;
        CTextRender render(COutputRecorder::Output, &recorder, fish.records);
        EXPECT_FALSE(render.Render("fish", fish.references.data(),
                                   static_cast<int>(fish.references.size()), 0))
            << refuseFrom;
        // An output that refuses stops the render: nothing more is asked for.
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
        {"  plain words wrap here\n", 13, "  plain words\n    wrap here\n"},
        // Tabs and other control bytes are spaces; runs of spaces collapse
        // after the indentation; trailing spaces go; blank lines stay.
        {"a\tb  \x01 c   \n\n", 0, "a b c\n\n"},
        // A UTF-8 sequence is one column.
        {"\xC3\xA6\xC3\xA6\xC3\xA6 \xC3\xA6\xC3\xA6\n", 6,
         "\xC3\xA6\xC3\xA6\xC3\xA6 \xC3\xA6\xC3\xA6\n"},
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
