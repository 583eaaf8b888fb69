// Builds the dictionary from small sources in their own formats and reads the
// result back through the engine's own readers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Hyphenator.h"
#include "db/Lookup.h"
#include "db/TrieWriter.h"
#include "db/WordList.h"
#include "tools/lxdbuild/Builder.h"
#include "tools/lxdbuild/LookupMirror.h"

namespace lxdbuild {
namespace {

std::string MakeTempDir() {
    char pattern[] = "/tmp/lxdbuild-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made == nullptr ? std::string() : std::string(made);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

BuildOptions FixtureOptions(const std::string& dir, const std::string& root = BUILDER_FIXTURES) {
    BuildOptions options;
    options.outDir = dir + "/data";
    options.sourceRoot = root;
    options.quiet = true;
    options.useEspeak = false;
    return options;
}

struct SenseRecord {
    std::vector<std::string> members;
    std::string gloss;
    struct LinkEntry {
        uint32_t kind, target;
        unsigned targetMember, sourceMember;
    };
    std::vector<LinkEntry> links;
};

class FixtureBuild : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new std::string(MakeTempDir());
        builder = new CBuilder(FixtureOptions(*dir));
        status = builder->Run();
        malformed = builder->Report().MalformedCount();
    }
    static void TearDownTestSuite() {
        std::string command = "rm -rf '" + *dir + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        delete dir;
        delete builder;
    }
    void SetUp() override {
        ASSERT_EQ(status, 0);
        ASSERT_TRUE(database.Open((*dir + "/data/wordnet.lxd").c_str()));
    }

    // The references stored under a headword exactly as written.
    std::vector<uint32_t> RefsOf(const std::string& headword) {
        char key[lxd::kKeyBufferSize];
        std::string encoded = CTrieWriter::KeyOf(headword);
        std::strcpy(key, encoded.c_str());
        uint32_t position = database.wordList->FindExactWord(key, 1);
        uint32_t refs[lxd::kMaxRenderedRefs];
        int count = position == 0 ? 0 : database.wordList->GetRecordRefs(position, refs, 128);
        return std::vector<uint32_t>(refs, refs + count);
    }
    std::vector<uint32_t> KindsOf(const std::string& headword) {
        std::vector<uint32_t> kinds;
        for (uint32_t ref : RefsOf(headword)) {
            kinds.push_back(lxd::RefKind(ref));
        }
        return kinds;
    }
    std::string Line(uint32_t ref) {
        int32_t length = 0;
        const char* line = database.records->GetLine(lxd::RefPosition(ref), &length);
        return line == nullptr ? std::string("<none>") : std::string(line, length);
    }
    std::vector<std::string> LinesOf(const std::string& headword, uint32_t kind) {
        std::vector<std::string> lines;
        for (uint32_t ref : RefsOf(headword)) {
            if (lxd::RefKind(ref) == kind) {
                lines.push_back(Line(ref));
            }
        }
        return lines;
    }
    SenseRecord Sense(uint32_t ref) {
        SenseRecord sense;
        uint32_t p = lxd::RefPosition(ref);
        for (;;) {
            int32_t length = 0;
            const char* line = database.records->GetLine(p, &length);
            if (line == nullptr) {
                return sense;
            }
            char end = line[length];
            std::string text(line, length);
            p += length + 1;
            if (end == '\f') {
                sense.gloss = text;
                break;
            }
            sense.members.push_back(text);
            if (end == '\n') {
                sense.gloss = Line(p);
                p += static_cast<uint32_t>(sense.gloss.size()) + 1;
                break;
            }
        }
        for (;;) {
            unsigned char first = database.records->GetByte(p, true);
            if (first < 0x80) {
                return sense;
            }
            if (first == lxd::kLinkFiller) {
                ++p;
                continue;
            }
            unsigned char b[6];
            for (int i = 0; i < 6; ++i) {
                b[i] = database.records->GetByte(p + i, true);
            }
            uint32_t value = (uint32_t(b[0]) << 24) | b[1] | (b[2] << 8) | (b[3] << 16);
            sense.links.push_back({lxd::RefKind(value), lxd::RefPosition(value), b[4], b[5]});
            p += 6;
        }
    }
    std::string Lookup(const char* typed) {
        char word[64];
        std::strcpy(word, typed);
        uint32_t position = 0;
        return LookupWord(&database, word, sizeof word, &position, true) ? word : "<not found>";
    }

    static std::string* dir;
    static CBuilder* builder;
    static int status;
    static long malformed;
    CDictDatabase database;
};

std::string* FixtureBuild::dir = nullptr;
CBuilder* FixtureBuild::builder = nullptr;
int FixtureBuild::status = -1;
long FixtureBuild::malformed = 0;

TEST_F(FixtureBuild, SenseRecordsKeepWordNetOrderGlossesAndLinks) {
    std::vector<uint32_t> refs = RefsOf("cat");
    ASSERT_GE(refs.size(), 2u);
    EXPECT_EQ(lxd::RefKind(refs[0]), 132u);
    EXPECT_EQ(lxd::RefKind(refs[1]), 136u);
    SenseRecord noun = Sense(refs[0]);
    EXPECT_EQ(noun.members, (std::vector<std::string>{"cat", "true cat"}));
    EXPECT_EQ(noun.gloss,
              "feline mammal usually having thick soft fur$the cat sat on the mat$cats purr");
    ASSERT_EQ(noun.links.size(), 2u);
    // Hypernym of the whole synset, to both members of feline/felid.
    EXPECT_EQ(noun.links[0].kind, 140u);
    EXPECT_EQ(noun.links[0].target, lxd::RefPosition(RefsOf("feline")[0]));
    EXPECT_EQ(noun.links[0].sourceMember, 0u);
    EXPECT_EQ(noun.links[0].targetMember, 0u);
    // Derivation from member 1 to member 1 of the verb synset.
    EXPECT_EQ(noun.links[1].kind, 148u);
    EXPECT_EQ(noun.links[1].target, lxd::RefPosition(refs[1]));
    EXPECT_EQ(noun.links[1].sourceMember, 1u);
    EXPECT_EQ(noun.links[1].targetMember, 1u);

    // Member 2 of stop/halt links to member 1 of big/large.
    SenseRecord stop = Sense(RefsOf("halt")[0]);
    ASSERT_EQ(stop.links.size(), 1u);
    EXPECT_EQ(stop.links[0].sourceMember, 2u);
    EXPECT_EQ(stop.links[0].target, lxd::RefPosition(RefsOf("big")[0]));

    // Instance hypernym is stored as hypernym; the adverb's "\" as derived from.
    EXPECT_EQ(Sense(RefsOf("Paris")[0]).links.at(0).kind, 140u);
    EXPECT_EQ(Sense(RefsOf("fast")[0]).links.at(0).kind, 152u);
    EXPECT_EQ(Sense(RefsOf("Paris")[0]).gloss,
              "the capital of France; costs \xEF\xBC\x84"
              "5 a day");
}

TEST_F(FixtureBuild, AdjectivesLoseMarkersAndSimilarTargetsLieHigh) {
    EXPECT_TRUE(RefsOf("big(a)").empty());
    std::vector<uint32_t> big = KindsOf("big");
    ASSERT_FALSE(big.empty());
    EXPECT_EQ(big[0], 140u);
    EXPECT_EQ(Sense(RefsOf("big")[0]).members, (std::vector<std::string>{"big", "large"}));
    EXPECT_EQ(KindsOf("huge")[0], 144u);
    EXPECT_EQ(KindsOf("small")[0], 140u);
    SenseRecord bigSense = Sense(RefsOf("big")[0]);
    int similar = 0;
    for (const auto& link : bigSense.links) {
        if (link.kind == lxd::kLinkSimilarTo) {
            ++similar;
            EXPECT_GE(link.target, 1u << 24);
            EXPECT_EQ(link.target, lxd::RefPosition(RefsOf("huge")[0]));
        }
    }
    EXPECT_EQ(similar, 1);
}

TEST_F(FixtureBuild, CapitalVariantsAreSeparateHeadwords) {
    std::vector<uint32_t> capital = RefsOf("Paris");
    std::vector<uint32_t> genus = RefsOf("paris");
    ASSERT_EQ(capital.size(), 1u);
    ASSERT_EQ(genus.size(), 1u);
    EXPECT_EQ(Sense(capital[0]).gloss.substr(0, 15), "the capital of ");
    EXPECT_EQ(Sense(genus[0]).gloss, "a genus of herbs");
    EXPECT_EQ(Lookup("Paris"), "Paris");
    EXPECT_EQ(Lookup("paris"), "paris");
    EXPECT_EQ(Lookup("PARIS"), "paris");
    EXPECT_EQ(Lookup("national capital"), "national capital");
}

TEST_F(FixtureBuild, InflectionsRedirectsAndRejectedForms) {
    EXPECT_EQ(LinesOf("cat", lxd::kKindPlural), std::vector<std::string>{"cats"});
    EXPECT_EQ(LinesOf("mouse", lxd::kKindPlural), std::vector<std::string>{"mice"});
    // "catted" is not in the word list: the verb gets no tense forms.
    EXPECT_TRUE(LinesOf("cat", lxd::kKindTense1).empty());
    // Doubling wins over the plain form the word list also knows.
    EXPECT_EQ(LinesOf("stop", lxd::kKindTense1), std::vector<std::string>{"stopped"});
    EXPECT_EQ(LinesOf("go", lxd::kKindTense1), std::vector<std::string>{"went"});
    EXPECT_EQ(LinesOf("go", lxd::kKindTense2), std::vector<std::string>{"gone"});
    EXPECT_EQ(LinesOf("big", lxd::kKindAdjectiveForm), std::vector<std::string>{"bigger"});
    EXPECT_EQ(LinesOf("big", lxd::kKindAdjectiveForm2), std::vector<std::string>{"biggest"});
    EXPECT_EQ(LinesOf("huge", lxd::kKindAdjectiveForm), std::vector<std::string>{"huger"});
    EXPECT_EQ(LinesOf("fast", lxd::kKindAdverbForm), std::vector<std::string>{"faster"});
    // No forms for proper nouns or phrases.
    EXPECT_TRUE(LinesOf("Paris", lxd::kKindPlural).empty());
    EXPECT_TRUE(LinesOf("national capital", lxd::kKindPlural).empty());
    // Verb frames hold "%s" for the headword.
    EXPECT_EQ(LinesOf("go", lxd::kKindUsage),
              (std::vector<std::string>{"The children %s to the playground", "Somebody %s"}));

    std::vector<uint32_t> mice = RefsOf("mice");
    ASSERT_EQ(mice.size(), 1u);
    EXPECT_EQ(lxd::RefKind(mice[0]), lxd::kKindRedirect);
    EXPECT_EQ(Line(mice[0]), "mouse");
    EXPECT_EQ(Lookup("mice"), "mouse");
    EXPECT_EQ(Lookup("went"), "go");
    EXPECT_EQ(Lookup("children"), "child");
    // Every listed form redirects, also those the tense lists leave out.
    EXPECT_EQ(KindsOf("going"), std::vector<uint32_t>{lxd::kKindRedirect});
    EXPECT_EQ(LinesOf("going", lxd::kKindRedirect), std::vector<std::string>{"go"});
    EXPECT_EQ(Lookup("cats"), "cat");
    EXPECT_EQ(Lookup("Cats"), "cat");
    EXPECT_EQ(Lookup("stopped"), "stop");
}

TEST_F(FixtureBuild, RegularFormsTheLookupRulesMissRedirect) {
    // No rule turns "xes" into "x": the plural gets a redirect.
    EXPECT_EQ(LinesOf("box", lxd::kKindPlural), std::vector<std::string>{"boxes"});
    EXPECT_EQ(KindsOf("boxes"), std::vector<uint32_t>{lxd::kKindRedirect});
    EXPECT_EQ(Lookup("boxes"), "box");
    // "ses" to "s" lands on US before "s" to "" reaches use.
    EXPECT_EQ(Lookup("uses"), "use");
    // Forms the rules already reach are left alone, and so is a plural that
    // is also the present tense of the verb the rules reach.
    EXPECT_TRUE(RefsOf("cats").empty());
    EXPECT_TRUE(RefsOf("stopped").empty());
    EXPECT_TRUE(RefsOf("does").empty());
    EXPECT_EQ(Lookup("does"), "do");

    // The builder's model of the lookup agrees with the engine's.
    CLookupMirror mirror(builder->Lexicon());
    for (const char* typed :
         {"cats", "Cats", "boxes", "uses", "does", "mice", "going", "stopped", "bigger", "huger",
          "faster", "paris", "PARIS", "Paris", "kids", "travelled", "catses", "s", ""}) {
        std::string expected = Lookup(typed);
        EXPECT_EQ(mirror.Resolve(typed), expected == "<not found>" ? "" : expected) << typed;
    }
}

TEST_F(FixtureBuild, AHeadwordsOneLineRecordsLieTogether) {
    // Plural, pronunciation and origin of cat follow each other in the stream.
    std::vector<uint32_t> lines;
    for (uint32_t ref : RefsOf("cat")) {
        uint32_t kind = lxd::RefKind(ref);
        if (kind >= lxd::kKindPlural && kind <= lxd::kKindOrigin) {
            lines.push_back(ref);
        }
    }
    ASSERT_EQ(lines.size(), 3u);
    for (size_t i = 1; i < lines.size(); ++i) {
        uint32_t previous = lxd::RefPosition(lines[i - 1]);
        EXPECT_EQ(lxd::RefPosition(lines[i]), previous + Line(lines[i - 1]).size() + 1);
    }
}

TEST_F(FixtureBuild, CompanionRecords) {
    EXPECT_EQ(LinesOf("cat", lxd::kKindPronunciation), std::vector<std::string>{"kæt"});
    EXPECT_EQ(LinesOf("mouse", lxd::kKindPronunciation), std::vector<std::string>{"maʊs"});
    // A phrase is joined from its words.
    EXPECT_EQ(LinesOf("national capital", lxd::kKindPronunciation),
              std::vector<std::string>{"ˈnæʃənəl ˈkæpətəl"});
    EXPECT_EQ(LinesOf("cat", lxd::kKindOrigin),
              std::vector<std::string>{"AS. cat; akin to G. katze, köttr. Cf. {Kitten}."});
    EXPECT_TRUE(LinesOf("mouse", lxd::kKindOrigin).empty());  // damaged in the source
    EXPECT_EQ(LinesOf("cat", lxd::kKindThesaurusNoun),
              std::vector<std::string>{"true cat,feline {generic term}"});
    EXPECT_EQ(LinesOf("cat", lxd::kKindThesaurusVerb),
              std::vector<std::string>{"flog {generic term}"});
    EXPECT_TRUE(LinesOf("national capital", lxd::kKindThesaurusNoun).empty());
    std::vector<uint32_t> the = RefsOf("the");
    ASSERT_EQ(the.size(), 1u);
    EXPECT_EQ(lxd::RefKind(the[0]), lxd::kKindArticle);
    EXPECT_EQ(Sense(the[0]).members, std::vector<std::string>{"the"});
    EXPECT_EQ(Sense(the[0]).gloss, "A word placed before nouns to limit their meaning.");
    // Reference order: senses, then forms, pronunciation, origin, thesaurus.
    EXPECT_EQ(KindsOf("cat"), (std::vector<uint32_t>{132, 136, 180, 228, 232, 240, 244}));

    std::string table = ReadFile(*dir + "/data/IPA_to_IMG.txt");
    EXPECT_NE(table.find("æ\t<img class=\"ipa\" src=\"images/ipa/00E6.svg\" />"),
              std::string::npos);
    EXPECT_FALSE(ReadFile(*dir + "/images/ipa/00E6.svg").empty());
}

TEST_F(FixtureBuild, HyphenationFollowsThePatterns) {
    ASSERT_NE(database.hyphenator, nullptr);
    char* capital = database.hyphenator->Hyphenate("capital");
    ASSERT_NE(capital, nullptr);
    // "ca4" outweighs "1pi"; "ap1i" breaks before i, and "pi3", whose level
    // stands after its last letter, before t.
    EXPECT_STREQ(capital, "cap*i*tal");
    free(capital);
    // The file's margins: no break after the first letter or before the last two.
    char* short_word = database.hyphenator->Hyphenate("atte");
    ASSERT_NE(short_word, nullptr);
    EXPECT_STREQ(short_word, "atte");
    free(short_word);
}

TEST_F(FixtureBuild, ReportsMalformedLinesAndIsDeterministic) {
    // A data line, a pointer to no synset, a lexicon entry, a dictionary index line.
    EXPECT_EQ(malformed, 4);
    std::string again = MakeTempDir();
    CBuilder builder(FixtureOptions(again));
    ASSERT_EQ(builder.Run(), 0);
    EXPECT_EQ(ReadFile(again + "/data/wordnet.lxd"), ReadFile(*dir + "/data/wordnet.lxd"));
    EXPECT_EQ(ReadFile(again + "/data/IPA_to_IMG.txt"), ReadFile(*dir + "/data/IPA_to_IMG.txt"));
    std::string command = "rm -rf '" + again + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST(MissingSources, NameThePackageToInstall) {
    std::string empty = MakeTempDir();
    CSourceFiles sources(empty);
    try {
        sources.Require("mythes-en-us", "usr/share/mythes/th_en_US_v2.dat");
        FAIL() << "a missing file was accepted";
    } catch (const CBuildError& error) {
        EXPECT_NE(std::string(error.what()).find("apt-get install mythes-en-us"),
                  std::string::npos);
    }
    CBuilder builder(FixtureOptions(empty, empty));
    EXPECT_EQ(builder.Run(), 1);
    EXPECT_EQ(access((empty + "/data/wordnet.lxd").c_str(), F_OK), -1);
    std::string command = "rm -rf '" + empty + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace lxdbuild
