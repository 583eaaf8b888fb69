// Whole requests through RenderWord on a small written database; the DICT
// server's tests ask the same database through the whole server.

#include <fstream>

#include "CatDictionary.h"
#include "render/RenderManager.h"
#include "render/SimpleString.h"

using namespace expected;

class RenderManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteCatDictionary(data);
        database = data.Open();
        ASSERT_NE(database, nullptr);
        manager.reset(new CRenderManager(database.get()));
        manager->SetSpeakerHtml(kSpeaker.c_str());
        std::ofstream(data.Dir() + "/ipa.txt") << kIPATable;
        ASSERT_TRUE(manager->LoadIPATable((data.Dir() + "/ipa.txt").c_str()));
        definition = manager->GetWordDefinition();
    }

    lxtest::TestDatabase data;
    std::unique_ptr<CDictDatabase> database;
    std::unique_ptr<CRenderManager> manager;
    CWordDefinition* definition = nullptr;
};

TEST_F(RenderManagerTest, SenseNumberSelectsTheLinksView) {
    ASSERT_TRUE(manager->RenderWord("cats:4", 0));  // found through the plural rule
    EXPECT_EQ(definition->GetSingleSynset(), 4);
    EXPECT_STREQ(definition->GetHeadword(), "cat");
    EXPECT_EQ(std::string(definition->GetLinksHtml()), CatLinks("an informal term for a youth"));
    EXPECT_EQ(std::string(definition->GetThesaurusHtml()), CatThesaurus());

    // Without a number that selects a reference the whole links view is rendered.
    const std::pair<const char*, int> requests[] = {
        {"cat:0", 0}, {"cat:", 0}, {"cat:x", 0}, {"cat:99", 99}, {"cat:-2", -2}};
    for (const auto& [request, number] : requests) {
        ASSERT_TRUE(manager->RenderWord(request, 0)) << request;
        EXPECT_STREQ(definition->GetHeadword(), "cat") << request;
        EXPECT_EQ(definition->GetSingleSynset(), number) << request;
        EXPECT_EQ(std::string(definition->GetLinksHtml()), CatLinks()) << request;
        EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary()) << request;
    }
}

TEST_F(RenderManagerTest, NothingOfOneRequestSurvivesIntoTheNext) {
    ASSERT_TRUE(manager->RenderWord("cat", 0));
    ASSERT_TRUE(manager->RenderWord("dog", 0));
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()), DogDictionary());
    EXPECT_FALSE(definition->HasLinks() || definition->HasThesaurus());
    EXPECT_EQ(definition->FootnoteCount(), 0);
    EXPECT_STREQ(definition->GetPronunciation(), "");
    EXPECT_STREQ(definition->GetHyphenation(), "");

    // Not found, or longer than the working copy rather than cut: every view empty.
    const std::string longWord = "cat" + std::string(200, 's');
    for (const char* missing : {"zebra", longWord.c_str(), ""}) {
        EXPECT_FALSE(manager->RenderWord(missing, 0));
        EXPECT_FALSE(definition->HasDictionary() || definition->HasLinks() ||
                     definition->HasThesaurus());
    }
    // The buffers are reused: the same request gives the same page again.
    ASSERT_TRUE(manager->RenderWord("cat", 0));
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary());
}

// The page assembly driven through the output function, without a database.
namespace {

int32_t Send(CRenderManager* manager, int32_t code, const char* text = "") {
    return OutputHandler(manager, text, -1, code);
}

// Resets the definition, begins the dictionary view with one piece of text,
// sends the optional hyphenation and pronunciation and finishes the page.
std::string DictionaryView(const char* hyphenation, const char* pronunciation,
                           const char* speaker) {
    CRenderManager manager(nullptr);
    CWordDefinition* definition = manager.GetWordDefinition();
    definition->Reset("table", 0);
    if (hyphenation != nullptr) {
        EXPECT_EQ(Send(&manager, 1, hyphenation), 1);
    }
    EXPECT_EQ(Send(&manager, 2), 1);
    if (pronunciation != nullptr) {
        EXPECT_EQ(Send(&manager, 10, pronunciation), 1);
    }
    EXPECT_EQ(Send(&manager, 5, "<ol></ol>"), 1);
    CSimpleString speakerHtml;
    speakerHtml.Assign(speaker);
    definition->Finish(speakerHtml);
    return definition->GetDictionaryHtml();
}

}  // namespace

TEST(WordDefinition, HeaderCarriesHyphenationPronunciationAndSpeaker) {
    const std::string pron = "</p><p class=\"pron\"><a href=\"~showipa\">";
    const std::string tail = "</p><ol></ol></div>";
    // Neither form: the speaker link stays in the header paragraph.
    EXPECT_EQ(DictionaryView(nullptr, nullptr, kSpeaker.c_str()),
              kOpening + "table" + kSpeaker + tail);
    // A hyphenation without a break point counts as none.
    EXPECT_EQ(DictionaryView("table", nullptr, ""), kOpening + "table" + tail);
    EXPECT_EQ(DictionaryView("ta*ble", nullptr, kSpeaker.c_str()),
              kOpening + "table" + pron + "ta&middot;ble</a>" + kSpeaker + tail);
    EXPECT_EQ(DictionaryView(nullptr, "tabl", kSpeaker.c_str()),
              kOpening + "table" + pron + " /tabl/</a>" + kSpeaker + tail);
    EXPECT_EQ(DictionaryView("ta*ble", "tabl", ""),
              kOpening + "table" + pron + "ta&middot;ble /tabl/</a>" + tail);
}

TEST(WordDefinition, ViewsFootnotesAndCodes) {
    CRenderManager manager(nullptr);
    CWordDefinition* definition = manager.GetWordDefinition();
    definition->Reset("cat", 2);

    // Text sent before any view is begun goes to the dictionary view.
    EXPECT_EQ(Send(&manager, 5, "x"), 1);
    EXPECT_EQ(Send(&manager, 2, "<p>"), 1);
    EXPECT_EQ(Send(&manager, 6, "plural: cats"), 0);
    EXPECT_EQ(Send(&manager, 6, "tenses: a, b"), 1);
    EXPECT_EQ(Send(&manager, 6, "plural: cats"), 0);
    EXPECT_EQ(OutputHandler(&manager, "comparative: more and more", 20, 6), 2);
    EXPECT_EQ(Send(&manager, 3), 1);
    EXPECT_EQ(OutputHandler(&manager, "links-ignored", 5, 5), 1);
    EXPECT_EQ(OutputHandler(&manager, "never", 0, 5), 1);
    // The table goes to the dictionary view although the links view is current.
    EXPECT_EQ(Send(&manager, 9), 1);
    EXPECT_EQ(Send(&manager, 4), 1);
    EXPECT_EQ(Send(&manager, 5, "thes"), 1);
    for (int32_t code : {0, 7, 8, 11, -1}) EXPECT_EQ(Send(&manager, code, "?"), 0) << code;

    definition->Finish(CSimpleString());
    const std::string row = "<tr><td valign=top><b class=\"footnote\"><sup>";
    const std::string cell = "</sup></b></td><td><span class=\"footnote\" >";
    const std::string end = "</span></td></tr>";
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()),
              "x" + kOpening + "cat</p><p><table cellspacing=\"4\">" + row + "1" + cell +
                  "plural: cats" + end + row + "2" + cell + "tenses: a, b" + end + row + "3" +
                  cell + "comparative: more an" + end + "</table></div>");
    EXPECT_EQ(std::string(definition->GetLinksHtml()), kOpening + "cat</p>links</div>");
    EXPECT_EQ(std::string(definition->GetThesaurusHtml()), kOpening + "cat</p>thes</div>");

    // A reset leaves nothing of the previous page behind.
    definition->Reset("dog", 0);
    EXPECT_EQ(Send(&manager, 5, "y"), 1);
    definition->Finish(CSimpleString());
    EXPECT_STREQ(definition->GetDictionaryHtml(), "y</div>");
    EXPECT_STREQ(definition->GetLinksHtml(), "");
    EXPECT_STREQ(definition->GetThesaurusHtml(), "");
}
