// Checks on the dictionary built from the installed sources; skipped until
// the application directory holds one (./lexora builds it before ctest).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/Trie.h"
#include "db/WordList.h"
#include "render/RenderManager.h"
#include "render/WordDefinition.h"

namespace {

std::string RealDataPath() {
    const char* appdir = std::getenv("LEXORA_APPDIR");
    std::string path = std::string(appdir == nullptr ? "" : appdir) + "/data/wordnet.lxd";
    struct stat info;
    return appdir != nullptr && stat(path.c_str(), &info) == 0 ? path : std::string();
}

class RealData : public ::testing::Test {
protected:
    void SetUp() override {
        path = RealDataPath();
        if (path.empty()) {
            GTEST_SKIP() << "no built dictionary in $LEXORA_APPDIR/data";
        }
        ASSERT_TRUE(database.Open(path.c_str()));
    }
    std::string Lookup(const char* typed) {
        char word[64];
        std::strcpy(word, typed);
        uint32_t position = 0;
        return LookupWord(&database, word, sizeof word, &position, true) ? word : "<not found>";
    }
    std::string path;
    CDictDatabase database;
};

TEST_F(RealData, EveryWordNetLemmaIsAHeadwordOrACaseVariant) {
    long lemmas = 0;
    std::vector<std::string> missing;
    for (const char* pos : {"noun", "verb", "adj", "adv"}) {
        std::ifstream index(std::string("/usr/share/wordnet/index.") + pos);
        ASSERT_TRUE(index) << "wordnet-base is not installed";
        std::string line;
        while (std::getline(index, line)) {
            if (line.empty() || line[0] == ' ') {
                continue;
            }
            std::string lemma = line.substr(0, line.find(' '));
            for (char& c : lemma) {
                c = c == '_' ? ' ' : c;
            }
            char key[lxd::kKeyBufferSize];
            std::strcpy(key, lemma.c_str());
            uint32_t position = database.wordList->FindWord(key, 1, true);
            uint32_t refs[4];
            if (position == 0 || database.wordList->GetRecordRefs(position, refs, 4) == 0) {
                missing.push_back(lemma);
            }
            ++lemmas;
        }
    }
    EXPECT_GT(lemmas, 140000);
    EXPECT_TRUE(missing.empty()) << missing.size() << " lemmas missing, first: " << missing[0];
}

TEST_F(RealData, LookupRulesFindTheRightHeadwords) {
    EXPECT_EQ(Lookup("cats"), "cat");
    EXPECT_EQ(Lookup("Cats"), "cat");
    EXPECT_EQ(Lookup("mice"), "mouse");
    EXPECT_EQ(Lookup("went"), "go");
    EXPECT_EQ(Lookup("children"), "child");
    EXPECT_EQ(Lookup("stopped"), "stopped");  // an adjective headword of its own
    EXPECT_EQ(Lookup("paris"), "Paris");
    EXPECT_EQ(Lookup("the"), "the");
    EXPECT_EQ(Lookup("which"), "which");
    // Regular forms the rules miss or send elsewhere come back by redirect.
    EXPECT_EQ(Lookup("boxes"), "box");
    EXPECT_EQ(Lookup("matchboxes"), "matchbox");
    EXPECT_EQ(Lookup("uses"), "use");
    EXPECT_EQ(Lookup("saves"), "save");
    EXPECT_EQ(Lookup("does"), "do");
    EXPECT_EQ(Lookup("cutest"), "cute");
}

TEST_F(RealData, DefinitionsRender) {
    CRenderManager manager(&database);
    ASSERT_TRUE(manager.RenderWord("cat:2", 0));
    CWordDefinition* definition = manager.GetWordDefinition();
    EXPECT_EQ(definition->GetSingleSynset(), 2);
    EXPECT_TRUE(definition->HasLinks());
    for (const char* word : {"cat", "mice", "happy", "run", "quickly", "and", "of", "he"}) {
        ASSERT_TRUE(manager.RenderWord(word, 0)) << word;
        std::string html = manager.GetWordDefinition()->GetDictionaryHtml();
        EXPECT_NE(html.find("<li class=\"definition\">"), std::string::npos) << word;
    }
    ASSERT_TRUE(manager.RenderWord("happy", 0));
    EXPECT_TRUE(manager.GetWordDefinition()->HasThesaurus());
    EXPECT_NE(std::string(manager.GetWordDefinition()->GetPronunciation()), "");
}

TEST_F(RealData, FileStaysWithinItsSizeBudget) {
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_LE(info.st_size, 16000000);
}

}  // namespace
