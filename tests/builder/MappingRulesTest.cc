// The builder's mapping rules, one source format at a time; the cases the
// fixture build shows end to end (cat, stop, big, Paris, the) are checked there.
#include <gtest/gtest.h>

#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/HyphenationSource.h"
#include "tools/lxdbuild/InflectionMaker.h"
#include "tools/lxdbuild/IpaTable.h"
#include "tools/lxdbuild/PronunciationSource.h"
#include "tools/lxdbuild/SpeechPhonemes.h"
#include "tools/lxdbuild/ThesaurusReader.h"
#include "tools/lxdbuild/WordNetReader.h"

namespace lxdbuild {
namespace {

using Strings = std::vector<std::string>;

TEST(WordNetMapping, MembersGlossesAndPointerKinds) {
    EXPECT_EQ(CWordNetReader::ShowMember("galore(ip)"), "galore");
    EXPECT_EQ(CWordNetReader::ShowMember("asleep(p)"), "asleep");
    EXPECT_EQ(CWordNetReader::ShowMember("Adam's_apple"), "Adam's apple");
    EXPECT_EQ(CWordNetReader::ShowMember("(a)"), "(a)");  // nothing left to show otherwise

    EXPECT_EQ(CWordNetReader::ConvertGloss("no samples here"), "no samples here");
    // A quote inside the definition is not a sample; an attribution stays.
    EXPECT_EQ(CWordNetReader::ConvertGloss("the word \"yes\"; \"say yes\" - Shakespeare"),
              "the word \"yes\"$say yes - Shakespeare");
    EXPECT_EQ(CWordNetReader::ConvertGloss("\"only a sample\""), "$only a sample");

    EXPECT_EQ(CWordNetReader::LinkKind("~i", 'n'), 144u);
    EXPECT_EQ(CWordNetReader::LinkKind("\\", 'a'), 160u);  // pertainym
    EXPECT_EQ(CWordNetReader::LinkKind("%p", 'n'), 228u);
    EXPECT_EQ(CWordNetReader::LinkKind("?", 'n'), 0u);
}

TEST(InflectionRules, CandidatesFollowEnglishSpelling) {
    EXPECT_EQ(CInflectionMaker::PluralCandidates("church"), Strings{"churches"});
    EXPECT_EQ(CInflectionMaker::PluralCandidates("city"), Strings{"cities"});
    EXPECT_EQ(CInflectionMaker::PluralCandidates("day"), Strings{"days"});
    // Longer words try the plain form first (visited, not visitted).
    EXPECT_EQ(CInflectionMaker::PastCandidates("visit"), (Strings{"visited", "visitted"}));
    EXPECT_EQ(CInflectionMaker::PastCandidates("bake"), Strings{"baked"});
    EXPECT_EQ(CInflectionMaker::PastCandidates("carry"), Strings{"carried"});
    EXPECT_EQ(CInflectionMaker::PastCandidates("panic"), (Strings{"panicked", "paniced"}));
    EXPECT_EQ(CInflectionMaker::PastCandidates("play"), Strings{"played"});
    EXPECT_EQ(CInflectionMaker::ComparisonCandidates("happy", "est"), Strings{"happiest"});
    EXPECT_EQ(CInflectionMaker::ComparisonCandidates("late", "est"), Strings{"latest"});
}

TEST(PronunciationRules, CmuEntriesBecomeIpaWithStress) {
    std::string word, tag, ipa;
    ASSERT_TRUE(CPronunciationSource::ParseEntry("(\"cat\" nil (((k ae t) 1)))", word, tag, ipa));
    EXPECT_EQ(word, "cat");
    EXPECT_EQ(tag, "nil");
    EXPECT_EQ(ipa, "kæt");  // one syllable: no stress mark
    ASSERT_TRUE(CPronunciationSource::ParseEntry("(\"aardvark\" nil (((aa r d) 1) ((v aa r k) 1)))",
                                                 word, tag, ipa));
    EXPECT_EQ(ipa, "ˈɑɹdˌvɑɹk");  // first stress primary, later ones secondary
    ASSERT_TRUE(
        CPronunciationSource::ParseEntry("(\"butter\" n (((b ah) 1) ((t er) 0)))", word, tag, ipa));
    EXPECT_EQ(tag, "n");
    EXPECT_EQ(ipa, "ˈbʌtɚ");
    EXPECT_FALSE(CPronunciationSource::ParseEntry("(\"x\" nil (((q q) 1)))", word, tag, ipa));
    EXPECT_FALSE(CPronunciationSource::ParseEntry("(\"x\" nil (((k ae t)))", word, tag, ipa));
    EXPECT_FALSE(CPronunciationSource::ParseEntry("MNCL", word, tag, ipa));
}

// eSpeak NG's phonemes of words the CMU list knows, as eSpeak NG gives them,
// come out as the list's IPA: American vowels, the list's stress rule, the
// mark before the syllable's onset.
TEST(PronunciationRules, SpeechPhonemesBecomeTheListsIpa) {
    const std::pair<const char*, const char*> cases[] = {
        {"w_'O:_t#_3", "ˈwɔtɚ"},               // water: flap, length dropped
        {"a#_n_'aU_n_s_3", "əˈnaʊnsɚ"},        // announcer: reduced a
        {"m_I_s_t_'eI_k", "mɪˈsteɪk"},         // mistake: st begins the syllable
        {"I_k_s_p_l_'eI_n", "ɪkˈspleɪn"},      // explain: ks does not
        {"s_'I_N_3", "ˈsɪŋɚ"},                 // singer: ng begins no syllable
        {"b_'0_t#_@L", "ˈbɑtəl"},              // bottle: syllabic l
        {"b_'V_?_n-", "ˈbʌtən"},               // button: glottal stop, syllabic n
        {"f_'aI3_r-", "ˈfaɪɚ"},                // fire: r-coloured vowel, linking r
        {"n_'O@_T", "nɔɹθ"},                   // north: one syllable, no mark
        {"t_,i:_v_'i:_;", "ˈtiˌvi"},           // tv: first stress primary, pause
        {"@_h_'@_m", "əˈhʌm"},                 // ahem: stressed schwa
        {"r_'a_b_I_t", "ˈɹæbət"},              // rabbit: kit after the stress
        {"r_'eI_d_I2_;_,eI_t", "ˈɹeɪdiˌeɪt"},  // radiate: kit before a vowel
        {"m_'O:_r_@_l_,I_s_t", "ˈmɔɹəlɪst"},   // moralist: -ist unstressed
        {"k_'i:_n_oU_t", "ˈkiˌnoʊt"},          // keynote: compound stress
        {"E_k_s_p_l_'o@", "ɪkˈsplɔɹ"},         // explore: ex- is kit
        {"'e@_k_r_aa_f_t", "ˈɛɹˌkɹæft"},       // aircraft: full vowel stressed
        {"V_N_k_'E_m_p_t", "ənˈkɛmpt"},        // unkempt: prefix keeps n
        {"T_'I_N_k_I_N", "ˈθɪŋkɪŋ"},           // thinking: ng before unstressed k
        {"m_'a_dZ_I_k_l_i", "ˈmædʒɪkəli"},     // magically: -ically
        {"m_'E_d_l_I2_N", "ˈmɛdəlɪŋ"},         // meddling: -ling after a consonant
        {"s_l_'I_N", "slɪŋ"},                  // sling: no suffix
        {"h_'eI_s_t_i_l_i", "ˈheɪstəli"},      // hastily: -ily
        {"dZ_'u:_g_j_U_l_3", "ˈdʒuɡjəlɚ"},     // jugular: foot after y
    };
    for (const auto& [phonemes, ipa] : cases) {
        std::vector<Phone> phones;
        ASSERT_TRUE(CSpeechPhonemes::ToPhones(phonemes, phones)) << phonemes;
        EXPECT_EQ(CPhoneTranscriber::ToIpa(phones), ipa) << phonemes;
    }
    std::vector<Phone> phones;
    EXPECT_FALSE(CSpeechPhonemes::ToPhones("k_'a_Y", phones));  // no CMU counterpart
    EXPECT_EQ(CPhoneTranscriber::ToIpa({{"p", false}, {"s", false}, {"t", false}}), "pst");
    EXPECT_EQ(CPhoneTranscriber::ToIpa({{"k", false}, {"q", false}}), "");  // not a CMU phone
}

// A phrase takes the list's words from the list and the others from eSpeak NG.
TEST(PronunciationRules, PhrasesMixListAndSpeechWordByWord) {
    CSourceFiles sources(BUILDER_FIXTURES);
    CBuildReport report(true);
    CPronunciationSource source(sources, report, true);
    source.Load();
    std::string ipa = source.Pronounce("national podcast", 'n');
    if (source.Figures().silent != 0) {
        GTEST_SKIP() << "eSpeak NG is not available";
    }
    EXPECT_EQ(ipa, "ˈnæʃənəl ˈpɑdˌkæst");
    EXPECT_EQ(source.Pronounce("national capital", 'n'), "ˈnæʃənəl ˈkæpətəl");
    EXPECT_EQ(source.Figures().mixed, 1u);
    EXPECT_EQ(source.Figures().fromList, 1u);
}

TEST(IpaTableRules, LongerSymbolsComeFirstAndHtmlIsAscii) {
    CIpaTable table;
    table.AddPronunciation("ˈtʃɪps");
    table.AddPronunciation("ʃi");
    table.AddPronunciation("kæt");
    auto rows = table.Rows();
    std::vector<std::string> symbols;
    for (const auto& row : rows) {
        symbols.push_back(row.first);
    }
    EXPECT_EQ(symbols, (Strings{"tʃ", "æ", "ɪ", "ʃ", "ˈ"}));
    EXPECT_EQ(CIpaTable::ImageName("tʃ"), "0074-0283");
    std::string text = table.TableText();
    EXPECT_EQ(text[0], '#');
    EXPECT_NE(text.find("tʃ\t<img class=\"ipa\" src=\"images/ipa/0074-0283.svg\" />\n"),
              std::string::npos);
    // Later rows are applied to the HTML of earlier ones: it must hold no
    // symbol, so it is pure ASCII.
    for (const auto& row : rows) {
        size_t tab = text.find(row.first + "\t");
        std::string html = text.substr(tab + row.first.size() + 1,
                                       text.find('\n', tab) - tab - row.first.size() - 1);
        for (unsigned char c : html) {
            EXPECT_LT(c, 0x80) << row.first;
        }
    }
    EXPECT_NE(CIpaTable::SvgOf("ʃ").find(">ʃ</text>"), std::string::npos);
}

TEST(HyphenationRules, PatternsBecomeFragmentKeys) {
    CBuildReport report(true);
    CHyphenationSource source(report);
    // Kept: levels between letters, a trailing level, one letter. Dropped:
    // nine characters, eight plus the carried level, a non-ASCII letter.
    for (const char* kept : {"hy3ph", ".ab1c", "a1b", "x2y4", "4q"}) {
        EXPECT_TRUE(source.AddPattern(kept)) << kept;
    }
    for (const char* dropped : {"abcdefgh1i", "abcdefg1h2", "ab\xC3\xA9"}) {
        EXPECT_FALSE(source.AddPattern(dropped)) << dropped;
    }
    Strings keys = source.PatternKeys();
    auto has = [&](const std::string& key) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    // The trailing level rides on every possible next character, word end
    // included; a one-letter pattern gets every possible previous character.
    for (const char* key : {"hy3ph", "_ab1c", "a1b", "x2y4a", "x2y4z", "x2y4_", "_4q", "m4q"}) {
        EXPECT_TRUE(has(key)) << key;
    }
    for (const auto& key : keys) {
        EXPECT_FALSE(key.back() >= '0' && key.back() <= '9') << key;
    }
    // Patterns with the same letters merge into one key with the higher levels.
    EXPECT_TRUE(source.AddPattern("x3y"));
    keys = source.PatternKeys();
    EXPECT_TRUE(has("x3y"));
    EXPECT_FALSE(has("x2y"));
}

TEST(HyphenationRules, SyllablesContradictedByPatternsBecomeExceptions) {
    CBuildReport report(true);
    CHyphenationSource source(report);
    ASSERT_TRUE(source.AddPattern("e1f"));
    EXPECT_EQ(source.PatternBreaks("abcdefgh"), std::vector<size_t>{5});
    source.AddSyllables("abcdefgh", {2, 4});  // the patterns break where it does not
    source.AddSyllables("xxefxx", {3});       // the same break: no exception
    source.AddSyllables("abcdefg", {1, 5});   // both breaks lie in the margins
    EXPECT_EQ(source.ExceptionKeys(), (Strings{"abcdefg", "ab1cd1efgh"}));
    EXPECT_EQ(source.Figures().exceptions, 2u);
}

TEST(ThesaurusRules, MeaningLinesBecomeMarkedRecords) {
    std::string text;
    EXPECT_EQ(
        CThesaurusReader::ConvertMeaning(
            "(noun)|The Hague|city (generic term)|metropolis (generic term)|Delft (related term)",
            text),
        240u);
    // Only the first generic term stands for the broader synset.
    EXPECT_EQ(text, "The Hague,city {generic term},Delft {related term}");
    EXPECT_EQ(CThesaurusReader::ConvertMeaning("(adj)|glad|unhappy (antonym)|a,b {c}", text), 248u);
    EXPECT_EQ(text, "glad,unhappy {antonym},ab c");
    EXPECT_EQ(CThesaurusReader::ConvertMeaning("(verb)|x", text), 244u);
    EXPECT_EQ(CThesaurusReader::ConvertMeaning("(adv)|x", text), 252u);
    EXPECT_EQ(CThesaurusReader::ConvertMeaning("cat|2", text), 0u);
    EXPECT_EQ(CThesaurusReader::ConvertMeaning("(noun)|", text), 0u);
}

TEST(GcideRules, EtymologiesAndMinorPartsOfSpeech) {
    bool damaged = true;
    std::string entry =
        "Cat \\Cat\\ (k[a^]t), n. [AS. cat; akin to Icel. k[\"o]ttr,\n"
        "   G. katze. Cf. {Kitten}.]\n   1. A feline.\n      [1913 Webster]\n";
    EXPECT_EQ(CGcideReader::Etymology(entry, damaged),
              "AS. cat; akin to Icel. köttr, G. katze. Cf. {Kitten}.");
    EXPECT_FALSE(damaged);
    // The inflection bracket comes first; the etymology is the next one.
    std::string he =
        "He \\He\\ (h[=e]), pron. [nom. {He}; obj. {Him}.] [AS. h[=e], masc.]\n   1. The man.\n";
    EXPECT_EQ(CGcideReader::Etymology(he, damaged), "AS. hē, masc.");
    EXPECT_EQ(CGcideReader::MinorKind(he), 156u);
    // Characters lost as '?' (mouse, in the fixture build) or a character code
    // this reader does not know mark the etymology damaged.
    EXPECT_EQ(CGcideReader::Etymology("X \\X\\, n. [AS. [zzq] x.]\n", damaged), "");
    EXPECT_TRUE(damaged);
    EXPECT_EQ(CGcideReader::Etymology("Dog \\Dog\\, n.\n   1. A dog. [Obs.]\n", damaged), "");
    EXPECT_FALSE(damaged);

    std::string conj =
        "And \\And\\, conj. [AS. and.]\n   1. A particle {joining}.\n      [1913 Webster]\n\n"
        "   2. In order to.\n      [1913 Webster]\n";
    EXPECT_EQ(CGcideReader::MinorKind(conj), 160u);
    EXPECT_EQ(CGcideReader::Definitions(conj, 4), (Strings{"A particle joining.", "In order to."}));
    EXPECT_EQ(CGcideReader::Definitions(conj, 1).size(), 1u);
    EXPECT_EQ(CGcideReader::MinorKind("Of \\Of\\, prep. [AS. of.]\n"), 168u);
    EXPECT_EQ(CGcideReader::MinorKind(entry), 0u);

    // Grammar notes, labels and cross-references are no origins.
    EXPECT_EQ(CGcideReader::Etymology("Happy \\Hap\"py\\, a. [Compar. {Happier}; superl. "
                                      "{Happiest}.] [From {Hap} chance.]\n   1. Lucky.\n",
                                      damaged),
              "From {Hap} chance.");
    EXPECT_EQ(CGcideReader::Etymology("Can \\Can\\, v. t. [U. S.]\n   To put in a can.\n", damaged),
              "");
    EXPECT_EQ(CGcideReader::Etymology("Oh \\Oh\\, interj. [See {O}, interj.]\n   Alas.\n", damaged),
              "");

    std::vector<size_t> breaks;
    EXPECT_TRUE(CGcideReader::SyllableBreaks("Table \\Ta\"ble\\ (t[=a]\"b'l), n.", breaks));
    EXPECT_EQ(breaks, std::vector<size_t>{2});
    EXPECT_TRUE(CGcideReader::SyllableBreaks("Personal \\Per\"son*al\\, a.", breaks));
    EXPECT_EQ(breaks, (std::vector<size_t>{3, 6}));
    EXPECT_FALSE(CGcideReader::SyllableBreaks("Dog \\Dog\\, n.", breaks));
    EXPECT_FALSE(
        CGcideReader::SyllableBreaks("Cat o' nine tails \\Cat\" o' nine\" tails`\\", breaks));
}

TEST(GcideRules, SensesReadAsAModernDictionary) {
    const struct {
        const char* entry;
        const char* text;  // as labelled for a word without current senses
        bool empty;
    } cases[] = {
        // Citations and source tags go; the label decides the usage.
        {"Me \\Me\\ (m[-e]), pron.\n   One. See {Men}, pron. [Obs.] --Chaucer.\n   [1913 "
         "Webster]\n",
         "(obsolete) One. See Men, pron.", false},
        {"Hey \\Hey\\, interj.\n   1. An exclamation of joy. --Shak.\n      [1913 Webster]\n",
         "An exclamation of joy.", false},
        {"Who \\Who\\, pron.\n   1. One; any. [Obs., except in the archaic phrase, as who should "
         "say.]\n",
         "(obsolete) One; any.", false},
        {"nope \\nope\\, n. (Zool.)\n   A bullfinch. [Prov. Eng.]\n   [PJC]\n",
         "(regional) A bullfinch.", false},
        // A pronunciation over two lines, its mark on the next; an etymology
        // on the definition's first line.
        {"The \\The\\ ([th][=e], when emphatic; [th]e, obscure\n   before a consonant; 37),\n"
         "   definite article. [AS. [eth][=e]. See {That}.]\n   A word placed before nouns.\n",
         "A word placed before nouns.", false},
        {"They \\They\\ ([th][=a]), pron. pl.; obj. {Them}.\n   [Icel. [thorn]eir they. See "
         "{That}.]\n   The plural of he, she, or it.\n   [1913 Webster]\n",
         "The plural of he, she, or it.", false},
        // A question mark is kept; a lead-in with nothing after it is empty.
        {"What \\What\\, pron.\n   1. Used in asking; as, what is this? who?\n",
         "Used in asking; as, "
         "what is this? who?",
         false},
        {"What \\What\\, pron.\n   1. As a relative pronoun:\n      [1913 Webster]\n", "", true},
    };
    for (const auto& c : cases) {
        const std::vector<GcideSense> senses = CGcideReader::Senses(c.entry, 4);
        ASSERT_EQ(senses.size(), 1u) << c.entry;
        EXPECT_EQ(senses[0].empty, c.empty) << c.entry;
        EXPECT_FALSE(senses[0].garbled) << c.entry;
        if (!c.empty) {
            EXPECT_EQ(CGcideSenseText::Labelled(senses[0]), c.text);
        }
    }
    // Characters GCIDE lost damage a definition; stray parentheses garble it.
    uint64_t damaged = 0;
    EXPECT_TRUE(CGcideReader::Senses("X \\X\\, n.\n   Gr. ? thing.\n", 4, &damaged).empty());
    EXPECT_EQ(damaged, 1u);
    EXPECT_TRUE(CGcideSenseText::Clean("obscure; 37), definite article.").garbled);
    EXPECT_EQ(CGcideReader::MarkKind("A \\A\\ ([.a]).\n   1. An adjective, called the indefinite "
                                     "article.\n"),
              152u);
}

}  // namespace
}  // namespace lxdbuild
