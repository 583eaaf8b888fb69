// Whole requests through RenderWord on a small written database; the DICT
// server's tests ask the same database through the whole server.

#include <fstream>

#include "CatDictionary.h"
#include "render/RenderManager.h"

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
