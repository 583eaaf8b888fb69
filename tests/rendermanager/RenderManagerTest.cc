// Whole requests through RenderWord on a small written database.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "CatDatabase.h"
#include "ExpectedHtml.h"
#include "db/DictDatabase.h"
#include "render/RenderManager.h"
#include "tests/support/TestDatabase.h"

using namespace expected;

namespace {

class RenderManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteCatDictionary(data, "kitty,puss {informal}");
        database = data.Open();
        ASSERT_NE(database, nullptr);
        manager.reset(new CRenderManager(database.get()));
        manager->SetSpeakerHtml(kSpeaker.c_str());
        const std::string table = tableDir.File("IPA_to_IMG.txt");
        FILE* file = fopen(table.c_str(), "w");
        fputs(("# symbol, TAB, image\n" + kSchwaRow).c_str(), file);
        fclose(file);
        ASSERT_TRUE(manager->LoadIPATable(table.c_str()));
    }

    static std::string CatThesaurus() {
        return kOpening +
               "cat</p><p class=\"wordtype\">noun</p><p class=\"thes\">kitty, puss "
               "<i>(informal)</i></p></div>";
    }

    lxtest::TestDatabase data;
    lxtest::TempDir tableDir;
    std::unique_ptr<CDictDatabase> database;
    std::unique_ptr<CRenderManager> manager;
};

}  // namespace

TEST_F(RenderManagerTest, FullDefinitionHasEveryFinishedView) {
    ASSERT_TRUE(manager->RenderWord("cats", 0));  // found through the plural rule
    CWordDefinition* definition = manager->GetWordDefinition();
    EXPECT_STREQ(definition->GetHeadword(), "cat");
    EXPECT_EQ(definition->GetSingleSynset(), 0);
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary());
    EXPECT_EQ(std::string(definition->GetLinksHtml()), CatLinks());
    EXPECT_EQ(std::string(definition->GetThesaurusHtml()), CatThesaurus());
}

TEST_F(RenderManagerTest, SenseNumberSelectsTheLinksView) {
    ASSERT_TRUE(manager->RenderWord("cat:4", 0));
    CWordDefinition* definition = manager->GetWordDefinition();
    EXPECT_EQ(definition->GetSingleSynset(), 4);
    EXPECT_STREQ(definition->GetHeadword(), "cat");
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary());
    EXPECT_EQ(std::string(definition->GetLinksHtml()), CatSenseFourLinks());
    EXPECT_EQ(std::string(definition->GetThesaurusHtml()), CatThesaurus());

    // Without a number that selects a reference the whole links view is rendered.
    for (const char* request : {"cat:0", "cat:", "cat:x", "cat:99", "cat:-2"}) {
        ASSERT_TRUE(manager->RenderWord(request, 0)) << request;
        EXPECT_STREQ(definition->GetHeadword(), "cat") << request;
        EXPECT_EQ(std::string(definition->GetLinksHtml()), CatLinks()) << request;
        EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary()) << request;
    }
    ASSERT_TRUE(manager->RenderWord("cat:0", 0));
    EXPECT_EQ(definition->GetSingleSynset(), 0);
    ASSERT_TRUE(manager->RenderWord("cat:x", 0));
    EXPECT_EQ(definition->GetSingleSynset(), 0);
}

TEST_F(RenderManagerTest, NothingOfOneRequestSurvivesIntoTheNext) {
    ASSERT_TRUE(manager->RenderWord("cat", 0));
    ASSERT_TRUE(manager->RenderWord("dog", 0));
    CWordDefinition* definition = manager->GetWordDefinition();
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()),
              kOpening + "dog" + kSpeaker + "</p><p class=\"wordtype\">noun</p><ol>" +
                  "<li class=\"definition\">a canine</li></ol></div>");
    EXPECT_FALSE(definition->HasLinks());
    EXPECT_FALSE(definition->HasThesaurus());
    EXPECT_EQ(definition->FootnoteCount(), 0);
    EXPECT_STREQ(definition->GetPronunciation(), "");
    EXPECT_STREQ(definition->GetHyphenation(), "");

    // Not found: every view empty.
    EXPECT_FALSE(manager->RenderWord("zebra", 0));
    EXPECT_FALSE(definition->HasDictionary());
    EXPECT_FALSE(definition->HasLinks());
    EXPECT_FALSE(definition->HasThesaurus());

    // A word longer than the working copy is not found rather than cut.
    const std::string longWord = "cat" + std::string(200, 's');
    EXPECT_FALSE(manager->RenderWord(longWord.c_str(), 0));
    EXPECT_FALSE(definition->HasDictionary());
    EXPECT_FALSE(manager->RenderWord("", 0));

    // The buffers are reused: the same request gives the same page again.
    ASSERT_TRUE(manager->RenderWord("cat", 0));
    EXPECT_EQ(std::string(definition->GetDictionaryHtml()), CatDictionary());
}
