// Builds the dictionary from small sources in their own formats and reads the
// result back through the engine's own readers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Hyphenator.h"
#include "db/Lookup.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "render/DefinitionRecords.h"
#include "render/RenderManager.h"
#include "render/WordDefinition.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/lxdbuild/Builder.h"
#include "tools/lxdbuild/LookupMirror.h"

namespace lxdbuild {
namespace {

using Strings = std::vector<std::string>;
using Kinds = std::vector<uint32_t>;

using lxtest::ReadTextFile;
using Scratch = lxtest::TempDir;

BuildOptions FixtureOptions(const std::string& dir, const std::string& root = BUILDER_FIXTURES) {
    BuildOptions options;
    options.outDir = dir + "/data";
    options.sourceRoot = root;
    options.quiet = true;
    options.useEspeak = false;
    options.nodeModules = BUILDER_NODE_MODULES;
    return options;
}

struct SenseRecord {
    Strings members;
    std::string gloss;
    std::vector<SenseLink> links;  // those the engine takes for the member asked for
};

// One build of the fixture sources shared by all tests of the suite.
class FixtureBuild : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new Scratch();
        builder = new CBuilder(FixtureOptions(dir->Path()));
        status = builder->Run();
    }
    static void TearDownTestSuite() {
        delete builder;
        delete dir;
    }
    void SetUp() override {
        ASSERT_EQ(status, 0);
        ASSERT_TRUE(database.Open((dir->Path() + "/data/wordnet.lxd").c_str()));
    }

    // The references stored under a headword exactly as written.
    std::vector<uint32_t> RefsOf(const std::string& headword) {
        char key[lxd::kKeyBufferSize];
        std::strcpy(key, CTrieWriter::KeyOf(headword).c_str());
        uint32_t position = database.wordList->FindExactWord(key, 1);
        uint32_t refs[lxd::kMaxRenderedRefs];
        int count = position == 0 ? 0 : database.wordList->GetRecordRefs(position, refs, 128);
        return std::vector<uint32_t>(refs, refs + count);
    }
    Kinds KindsOf(const std::string& headword) {
        Kinds kinds;
        for (uint32_t ref : RefsOf(headword)) kinds.push_back(lxd::RefKind(ref));
        return kinds;
    }
    uint32_t Position(const std::string& headword) {
        std::vector<uint32_t> refs = RefsOf(headword);
        return refs.empty() ? 0 : lxd::RefPosition(refs[0]);
    }
    std::string Line(uint32_t ref) {
        int32_t length = 0;
        const char* line = database.records->GetLine(lxd::RefPosition(ref), &length);
        return line == nullptr ? std::string("<none>") : std::string(line, length);
    }
    Strings LinesOf(const std::string& headword, uint32_t kind) {
        Strings lines;
        for (uint32_t ref : RefsOf(headword)) {
            if (lxd::RefKind(ref) == kind) lines.push_back(Line(ref));
        }
        return lines;
    }
    // Reads a sense record as the engine does: member lines, the gloss, and
    // the links of the whole synset and of member `member`.
    SenseRecord Sense(uint32_t ref, int32_t member = 1) {
        SenseRecord sense;
        uint32_t p = lxd::RefPosition(ref);
        auto nextLine = [&](char* end) {
            int32_t length = 0;
            const char* line = database.records->GetLine(p, &length);
            *end = line == nullptr ? lxd::kRecordEndFF : line[length];
            p += static_cast<uint32_t>(length) + 1;
            return line == nullptr ? std::string("<none>") : std::string(line, length);
        };
        char end = lxd::kRecordEndCR;
        while (end == lxd::kRecordEndCR) {
            std::string text = nextLine(&end);
            (end == lxd::kRecordEndFF ? sense.gloss : sense.members.emplace_back()) = text;
        }
        if (end == lxd::kRecordEndLF) sense.gloss = nextLine(&end);
        sense.links.resize(lxd::kMaxLinksTaken);
        sense.links.resize(TakeLinks(database.records, p, member, sense.links.data(),
                                     static_cast<int>(lxd::kMaxLinksTaken)));
        return sense;
    }
    std::string Lookup(const char* typed) {
        char word[64];
        std::strcpy(word, typed);
        uint32_t position = 0;
        return LookupWord(&database, word, sizeof word, &position, true) ? word : "<not found>";
    }

    static Scratch* dir;
    static CBuilder* builder;
    static int status;
    CDictDatabase database;
};

Scratch* FixtureBuild::dir = nullptr;
CBuilder* FixtureBuild::builder = nullptr;
int FixtureBuild::status = -1;

TEST_F(FixtureBuild, SenseRecordsKeepWordNetOrderGlossesAndLinks) {
    std::vector<uint32_t> refs = RefsOf("cat");
    ASSERT_GE(refs.size(), 2u);
    SenseRecord noun = Sense(refs[0]);
    EXPECT_EQ(noun.members, (Strings{"cat", "true cat"}));
    EXPECT_EQ(noun.gloss,
              "feline mammal usually having thick soft fur$the cat sat on the mat$cats purr");
    // Hypernym of the whole synset; derivation from member 1 to member 1 of
    // the verb synset, which member 2 does not take.
    ASSERT_EQ(noun.links.size(), 2u);
    EXPECT_EQ(noun.links[0].target, lxd::kLinkHypernym << 24 | Position("feline"));
    EXPECT_EQ(noun.links[0].targetMember, 0u);
    EXPECT_EQ(noun.links[1].target, 148u << 24 | lxd::RefPosition(refs[1]));
    EXPECT_EQ(noun.links[1].targetMember, 1u);
    EXPECT_EQ(Sense(refs[0], 2).links.size(), 1u);

    // Member 2 of stop/halt links to member 1 of big/large; member 1 does not.
    SenseRecord stop = Sense(RefsOf("halt")[0], 2);
    ASSERT_EQ(stop.links.size(), 1u);
    EXPECT_EQ(lxd::RefPosition(stop.links[0].target), Position("big"));
    EXPECT_EQ(stop.links[0].targetMember, 1u);
    EXPECT_TRUE(Sense(RefsOf("halt")[0], 1).links.empty());

    // Instance hypernym is stored as hypernym; the adverb's "\" as derived from.
    SenseRecord paris = Sense(RefsOf("Paris")[0]);
    EXPECT_EQ(lxd::RefKind(paris.links.at(0).target), 140u);
    EXPECT_EQ(lxd::RefKind(Sense(RefsOf("fast")[0]).links.at(0).target), 152u);
    EXPECT_EQ(paris.gloss,
              "the capital of France; costs \xEF\xBC\x84"
              "5 a day");
    // Another capitalisation is another headword with its own senses.
    EXPECT_EQ(RefsOf("Paris").size(), 1u);
    ASSERT_EQ(RefsOf("paris").size(), 1u);
    EXPECT_EQ(Sense(RefsOf("paris")[0]).gloss, "a genus of herbs");

    // Adjective markers go; every similar-to target lies at 2^24 or beyond.
    EXPECT_TRUE(RefsOf("big(a)").empty());
    EXPECT_EQ(KindsOf("huge")[0], 144u);
    EXPECT_EQ(KindsOf("small")[0], 140u);
    ASSERT_EQ(KindsOf("big").at(0), 140u);
    SenseRecord big = Sense(RefsOf("big")[0]);
    EXPECT_EQ(big.members, (Strings{"big", "large"}));
    int similar = 0;
    for (const auto& link : big.links) {
        if (lxd::RefKind(link.target) != lxd::kLinkSimilarTo) continue;
        ++similar;
        EXPECT_GE(lxd::RefPosition(link.target), 1u << 24);
        EXPECT_EQ(lxd::RefPosition(link.target), Position("huge"));
    }
    EXPECT_EQ(similar, 1);
}

TEST_F(FixtureBuild, InflectionsAndRedirects) {
    const struct {
        const char* headword;
        uint32_t kind;
        Strings lines;
    } forms[] = {
        {"cat", lxd::kKindPlural, {"cats"}},
        {"mouse", lxd::kKindPlural, {"mice"}},
        {"box", lxd::kKindPlural, {"boxes"}},
        {"cat", lxd::kKindTense1, {}},            // "catted" is not in the word list
        {"stop", lxd::kKindTense1, {"stopped"}},  // doubling wins over the plain form
        {"go", lxd::kKindTense1, {"went"}},
        {"go", lxd::kKindTense2, {"gone"}},
        {"big", lxd::kKindAdjectiveForm, {"bigger"}},
        {"big", lxd::kKindAdjectiveForm2, {"biggest"}},
        {"huge", lxd::kKindAdjectiveForm, {"huger"}},
        {"fast", lxd::kKindAdverbForm, {"faster"}},
        {"Paris", lxd::kKindPlural, {}},  // no forms for proper nouns or phrases
        {"national capital", lxd::kKindPlural, {}},
        {"go", lxd::kKindUsage, {"The children %s to the playground", "Somebody %s"}},
        // Redirects: irregular forms, every listed form, and regular forms the
        // lookup rules miss ("xes" has no rule).
        {"mice", lxd::kKindRedirect, {"mouse"}},
        {"going", lxd::kKindRedirect, {"go"}},
        {"boxes", lxd::kKindRedirect, {"box"}},
    };
    for (const auto& f : forms) {
        EXPECT_EQ(LinesOf(f.headword, f.kind), f.lines) << f.headword << " kind " << f.kind;
    }
    for (const char* redirect : {"mice", "going", "boxes"}) {
        EXPECT_EQ(KindsOf(redirect), Kinds{lxd::kKindRedirect}) << redirect;
    }
    // Forms the rules already reach get no redirect, nor does a plural that
    // is also the present tense of a verb the rules reach.
    for (const char* reached : {"cats", "stopped", "does"}) {
        EXPECT_TRUE(RefsOf(reached).empty()) << reached;
    }

    // The engine's lookup lands where the rules promise (null: no promise),
    // and the builder's model of that lookup agrees with it.
    CLookupMirror mirror(builder->Lexicon());
    const struct {
        const char* typed;
        const char* found;
    } lookups[] = {
        {"cats", "cat"},        {"Cats", "cat"},
        {"stopped", "stop"},    {"mice", "mouse"},
        {"went", "go"},         {"children", "child"},
        {"going", "go"},        {"boxes", "box"},
        {"uses", "use"},        {"does", "do"},
        {"Paris", "Paris"},     {"paris", "paris"},
        {"PARIS", "paris"},     {"national capital", "national capital"},
        {"bigger", nullptr},    {"huger", nullptr},
        {"faster", nullptr},    {"kids", nullptr},
        {"travelled", nullptr}, {"catses", nullptr},
        {"s", nullptr},         {"", nullptr},
    };
    for (const auto& l : lookups) {
        std::string found = Lookup(l.typed);
        if (l.found != nullptr) {
            EXPECT_EQ(found, l.found) << l.typed;
        }
        EXPECT_EQ(mirror.Resolve(l.typed), found == "<not found>" ? "" : found) << l.typed;
    }
}

TEST_F(FixtureBuild, CompanionRecords) {
    // Reference order: senses, then forms, pronunciation, origin, thesaurus;
    // the one-line records of a headword follow each other in the stream.
    EXPECT_EQ(KindsOf("cat"), (Kinds{132, 136, 180, 228, 232, 240, 244}));
    std::vector<uint32_t> cat = RefsOf("cat");
    for (size_t i = 3; i < 5 && i < cat.size(); ++i) {
        EXPECT_EQ(lxd::RefPosition(cat[i]),
                  lxd::RefPosition(cat[i - 1]) + Line(cat[i - 1]).size() + 1);
    }
    EXPECT_EQ(LinesOf("cat", lxd::kKindPronunciation), Strings{"kæt"});
    EXPECT_EQ(LinesOf("mouse", lxd::kKindPronunciation), Strings{"maʊs"});
    // A phrase is joined from its words.
    EXPECT_EQ(LinesOf("national capital", lxd::kKindPronunciation), Strings{"ˈnæʃənəl ˈkæpətəl"});
    EXPECT_EQ(LinesOf("cat", lxd::kKindOrigin),
              Strings{"AS. cat; akin to G. katze, köttr. Cf. {Kitten}."});
    EXPECT_TRUE(LinesOf("mouse", lxd::kKindOrigin).empty());  // damaged in the source
    EXPECT_EQ(LinesOf("cat", lxd::kKindThesaurusNoun), Strings{"true cat,feline {generic term}"});
    EXPECT_EQ(LinesOf("cat", lxd::kKindThesaurusVerb), Strings{"flog {generic term}"});
    EXPECT_TRUE(LinesOf("national capital", lxd::kKindThesaurusNoun).empty());
    ASSERT_EQ(KindsOf("the"), (Kinds{lxd::kKindArticle, lxd::kKindOrigin}));
    SenseRecord the = Sense(RefsOf("the")[0]);
    EXPECT_EQ(the.members, Strings{"the"});
    EXPECT_EQ(the.gloss, "A word placed before nouns to limit their meaning.");

    std::string table = ReadTextFile(dir->Path() + "/data/IPA_to_IMG.txt");
    EXPECT_NE(table.find("æ\t<img class=\"ipa\" src=\"images/ipa/00E6.svg\" />"),
              std::string::npos);
    EXPECT_FALSE(ReadTextFile(dir->Path() + "/images/ipa/00E6.svg").empty());

    // "ca4" outweighs "1pi"; "ap1i" breaks before i, and "pi3", whose level
    // stands after its last letter, before t. No break after the first letter
    // or before the last two.
    ASSERT_NE(database.hyphenator, nullptr);
    for (auto c : {std::make_pair("capital", "cap*i*tal"), std::make_pair("atte", "atte")}) {
        char* hyphenated = database.hyphenator->Hyphenate(c.first);
        ASSERT_NE(hyphenated, nullptr);
        EXPECT_STREQ(hyphenated, c.second);
        free(hyphenated);
    }
}

// GCIDE's interjections and the everyday list's open under their own heading,
// the list's sense in place of GCIDE's; a contraction's note links each word
// of its reading, and one whose words are no headwords (it's) is left out.
TEST_F(FixtureBuild, InterjectionsAndContractions) {
    EXPECT_EQ(KindsOf("ahoy"), Kinds{lxd::kKindInterjection});
    ASSERT_EQ(KindsOf("hello"), Kinds{lxd::kKindInterjection});
    EXPECT_EQ(Sense(RefsOf("hello")[0]).gloss.substr(0, 20), "used as a greeting, ");
    EXPECT_EQ(LinesOf("don't", lxd::kKindFormOf), Strings{"contraction\tdo\tnot"});
    EXPECT_TRUE(RefsOf("it's").empty());
    EXPECT_EQ(Lookup("don\u2019t"), "don't");

    const std::string link = "<a style=\"text-decoration: none; color: #2040C0; \" href=\"";
    CRenderManager manager(&database);
    const char* rendered[][2] = {
        {"ahoy", "<p class=\"wordtype\">interjection</p><ol><li class=\"definition\">A call"},
        {"don't", "<p class=\"formof\">contraction of "}};
    for (const auto& word : rendered) {
        ASSERT_TRUE(manager.RenderWord(word[0], 0)) << word[0];
        EXPECT_NE(std::string(manager.GetWordDefinition()->GetDictionaryHtml()).find(word[1]),
                  std::string::npos)
            << word[0];
    }
    EXPECT_NE(std::string(manager.GetWordDefinition()->GetDictionaryHtml())
                  .find(link + "do\">do</a> " + link + "not\">not</a></p>"),
              std::string::npos);
}

TEST_F(FixtureBuild, ReportsMalformedLinesAndIsDeterministic) {
    // A data line, a pointer to no synset, a lexicon entry, a dictionary index
    // line, a Brill lexicon line.
    EXPECT_EQ(builder->Report().MalformedCount(), 5);
    Scratch again;
    CBuilder second(FixtureOptions(again.Path()));
    ASSERT_EQ(second.Run(), 0);
    for (const char* file : {"/data/wordnet.lxd", "/data/IPA_to_IMG.txt"}) {
        EXPECT_EQ(ReadTextFile(again.Path() + file), ReadTextFile(dir->Path() + file)) << file;
    }
}

TEST(MissingSources, NameThePackageToInstall) {
    Scratch empty;
    CSourceFiles sources(empty.Path());
    try {
        sources.Require("mythes-en-us", "usr/share/mythes/th_en_US_v2.dat");
        FAIL() << "a missing file was accepted";
    } catch (const CBuildError& error) {
        EXPECT_NE(std::string(error.what()).find("apt-get install mythes-en-us"),
                  std::string::npos);
    }
    CBuilder builder(FixtureOptions(empty.Path(), empty.Path()));
    EXPECT_EQ(builder.Run(), 1);
    EXPECT_EQ(access((empty.Path() + "/data/wordnet.lxd").c_str(), F_OK), -1);
}

}  // namespace
}  // namespace lxdbuild
