// Form-of notes, redirects for forms WordNet's morphology resolves, and GCIDE
// senses for the words and parts of speech WordNet lacks, on small lexicons.
#include <gtest/gtest.h>

#include "db/Format.h"
#include "tools/lxdbuild/EverydayWords.h"
#include "tools/lxdbuild/FormOfNotes.h"
#include "tools/lxdbuild/GcideReader.h"
#include "tools/lxdbuild/Report.h"

namespace lxdbuild {
namespace {

using Notes = std::vector<std::pair<std::string, std::string>>;

// Adds a headword with one sense of each part of speech in `positions` (n or v).
void AddWord(CLexicon& lexicon, const std::string& headword, const std::string& positions) {
    for (char pos : positions) {
        Synset synset;
        synset.pos = pos;
        synset.kind = pos == 'v' ? lxd::kKindVerb : lxd::kKindNoun;
        synset.members = {headword};
        lexicon.entries[headword].senses.push_back(static_cast<uint32_t>(lexicon.synsets.size()));
        lexicon.synsets.push_back(synset);
    }
}

TEST(FormOfNotes, FormsReachEveryBaseByNoteRedirectOrHeadwordOfNotes) {
    CLexicon lexicon;
    for (const char* word : {"saw", "woman", "fireman", "ax", "axe", "axis", "lie", "lay"}) {
        AddWord(lexicon, word, "n");
    }
    for (const char* word : {"see", "eat", "say", "lie", "lay", "bid", "bide", "fulfill"}) {
        AddWord(lexicon, word, "v");
    }
    AddWord(lexicon, "Ate", "n");
    lexicon.entries["see"].pastTenses = {"saw"};
    lexicon.entries["eat"].pastTenses = {"ate"};
    lexicon.entries["say"].pastTenses = {"said"};
    lexicon.entries["say"].pastParticiples = {"said"};
    lexicon.entries["ax"].plurals = {"axes"};
    lexicon.entries["axe"].plurals = {"axes"};
    lexicon.entries["ghost"].redirect = "see";  // a headword without senses is no base
    AddWord(lexicon, "curet", "n");
    AddWord(lexicon, "curette", "n");
    lexicon.entries["curettes"].redirect = "curet";  // from a verb exception: no verb curet
    lexicon.IndexVariants();
    const std::vector<IrregularForm> irregular = {
        {"axes", "axis", 'n'},         {"lay", "lie", 'v'},        {"lain", "lie", 'v'},
        {"ghosts", "ghost", 'n'},      {"curettes", "curet", 'v'}, {"ate", "eat", 'v'},
        {"bade", "bid", 'v'},          {"bade", "bide", 'v'},      {"fulfilling", "fulfil", 'v'},
        {"fulfilling", "fulfill", 'v'}};
    const std::unordered_set<std::string> words = {"saw",  "women",   "firemen", "said",
                                                   "sees", "lies",    "axes",    "ate",
                                                   "Ate",  "Firemen", "curettes"};
    CFormOfNotes notes(words, irregular);
    notes.AddTo(lexicon);

    // A form that is a headword of its own, even a capitalised one, gets notes.
    EXPECT_EQ(lexicon.entries["saw"].formOf, (Notes{{"past tense", "see"}}));
    EXPECT_EQ(lexicon.entries["Ate"].formOf, (Notes{{"past tense", "eat"}}));
    EXPECT_EQ(lexicon.entries["lay"].formOf, (Notes{{"past tense", "lie"}}));
    // "-men" plurals and forms the lookup misses are redirected to their base.
    EXPECT_EQ(lexicon.entries.at("women").redirect, "woman");
    EXPECT_EQ(lexicon.entries.at("firemen").redirect, "fireman");
    EXPECT_EQ(lexicon.entries.at("lain").redirect, "lie");
    EXPECT_EQ(lexicon.entries.at("curettes").redirect, "curette");
    // Two bases the lookup cannot reach: a headword of notes.
    EXPECT_EQ(lexicon.entries.at("bade").formOf,
              (Notes{{"past tense", "bid"}, {"past tense", "bide"}}));
    // The lookup already reaches these (sees: see, lies: lie) or one base of
    // several (axes: axe, not ax or axis; fulfilling: fulfill);
    // said reaches say by no rule, so it is redirected.
    EXPECT_EQ(lexicon.entries.count("sees") + lexicon.entries.count("lies"), 0u);
    EXPECT_EQ(lexicon.entries.count("axes"), 0u);
    EXPECT_EQ(notes.OneBaseReached(), std::vector<std::string>{"axes"});
    EXPECT_EQ(lexicon.entries.at("said").redirect, "say");
    EXPECT_EQ(lexicon.entries.count("ghosts"), 0u);
    EXPECT_EQ(CFormOfNotes::RelationText(CFormOfNotes::kPastTense | CFormOfNotes::kPastParticiple |
                                         CFormOfNotes::kPlural),
              "plural, past tense and past participle");
}

// A dictd index line: word, offset and length in base 64.
std::string IndexLine(const std::string& word, size_t offset, size_t length) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    auto encode = [](size_t value) {
        std::string text;
        do {
            text.insert(text.begin(), digits[value % 64]);
            value /= 64;
        } while (value != 0);
        return text;
    };
    return word + "\t" + encode(offset) + "\t" + encode(length) + "\n";
}

TEST(EverydayWords, GcideSensesForWordsAndPartsOfSpeechWordNetLacks) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> entries = {
        {{"my"}, "My \\My\\ (m[imac]), a. & poss. pron. [OE. mi.]\n   Of or belonging to me.\n"},
        {{"ours"},
         "Ours \\Ours\\, possessive pron.\n   That which belongs to us.\n\n"
         "   Note: [Written also our's.]\n         [1913 Webster]\n"},
        {{"among", "amongst"},
         "Among \\A*mong\"\\, Amongst \\A*mongst\"\\, prep. [OE. amonges.]\n"
         "   1. Mixed or mingled.\n      [1913 Webster]\n\n   2. In the number of.\n"},
        {{"would"}, "Would \\Would\\, imp. of {Will}.\n   Used as an auxiliary verb.\n"},
        {{"would"}, "Would \\Would\\, n.\n   See 2d {Weld}.\n"},
        {{"will"},
         "Will \\Will\\, v. t. [imp. {Would}.]\n   1. To wish.\n      [1913 Webster]\n\n"
         "   2. As an auxiliary, will denotes futurity.\n"},
        {{"he"}, "He \\He\\, pron. [AS. h[=e].]\n   1. The man.\n"},
        {{"women"}, "Women \\Wom\"en\\, n.,\n   pl. of {Woman}.\n"},
        {{"cannot"}, "Cannot \\Can\"not\\ [Can + not.]\n   Am not able.\n"},
        {{"xyzzy"}, "Xyzzy \\Xyz\"zy\\, n.\n   A [zzq] thing.\n"},
        {{"paris"}, "Paris \\Par\"is\\, n.\n   A city.\n"},
        // An obsolete homograph before the current one; a word of labelled senses only.
        {{"me"}, "Me \\Me\\, pron. [AS. mann.]\n   One. [Obs.] --Chaucer.\n"},
        {{"me"}, "Me \\Me\\, pers. pron. [AS. m[=e].]\n   The person speaking.\n"},
        {{"nope"}, "Nope \\Nope\\, n.\n   A bullfinch. [Prov. Eng.]\n"},
        {{"say"}, "Say \\Say\\, n. [OE. saie cloth.]\n   A kind of silk.\n"},
        {{"say"}, "Say \\Say\\, v. t. [OE. seggen.]\n   To utter.\n"},
    };
    std::string dictionary, index;
    for (const auto& entry : entries) {
        for (const auto& word : entry.first) {
            index += IndexLine(word, dictionary.size(), entry.second.size());
        }
        dictionary += entry.second;
    }
    CBuildReport report(true);
    CGcideReader gcide(report);
    gcide.Read(index, "gcide.index", dictionary);

    CLexicon lexicon;
    AddWord(lexicon, "will", "nv");
    AddWord(lexicon, "he", "n");
    AddWord(lexicon, "woman", "n");
    AddWord(lexicon, "say", "v");
    lexicon.IndexVariants();
    CEverydayWords everyday(
        {"my", "ours", "among", "amongst", "would", "women", "cannot", "xyzzy", "he", "me", "nope"},
        {});
    everyday.AddTo(gcide, lexicon);

    auto kinds = [&](const std::string& word) {
        std::vector<uint32_t> found;
        auto entry = lexicon.entries.find(word);
        if (entry == lexicon.entries.end()) return found;
        for (auto* list : {&entry->second.senses, &entry->second.minorSenses}) {
            for (uint32_t synset : *list) found.push_back(lexicon.synsets[synset].kind);
        }
        return found;
    };
    using Kinds = std::vector<uint32_t>;
    EXPECT_EQ(kinds("my"), Kinds{lxd::kKindDeterminer});
    EXPECT_EQ(kinds("ours"), Kinds{lxd::kKindPronoun});
    EXPECT_EQ(kinds("among"), (Kinds{lxd::kKindPreposition, lxd::kKindPreposition}));
    EXPECT_EQ(kinds("amongst"), kinds("among"));
    // The cross-reference noun of "would" is left out.
    EXPECT_EQ(kinds("would"), Kinds{lxd::kKindVerb});
    // WordNet's noun, then the modal's auxiliary sense before WordNet's verb.
    const Kinds will = kinds("will");
    ASSERT_EQ(will.size(), 3u);
    EXPECT_EQ(lexicon.synsets[lexicon.entries["will"].senses[1]].gloss,
              "As an auxiliary, will denotes futurity.");
    // A WordNet word gets the pronoun it lacks, not GCIDE's other senses.
    EXPECT_EQ(kinds("he"), (Kinds{lxd::kKindNoun, lxd::kKindPronoun}));
    // Inflected forms, unmarked, damaged and proper-name entries add nothing.
    for (const char* none : {"women", "cannot", "xyzzy", "paris"}) {
        EXPECT_TRUE(kinds(none).empty()) << none;
    }
    EXPECT_EQ(everyday.Figures().damaged, 1u);
    EXPECT_EQ(everyday.Figures().unmarked, 1u);
    EXPECT_EQ(everyday.Figures().words, 7u);
    // The current homograph's sense only; labelled senses when there is no other.
    auto glosses = [&](const std::string& word) {
        std::vector<std::string> found;
        for (uint32_t synset : lexicon.entries[word].minorSenses)
            found.push_back(lexicon.synsets[synset].gloss);
        return found;
    };
    EXPECT_EQ(glosses("me"), std::vector<std::string>{"The person speaking."});
    EXPECT_EQ(glosses("nope"), std::vector<std::string>{"(regional) A bullfinch."});
    const GcideSenseFigures& cleaning = everyday.Figures().cleaning;
    EXPECT_EQ(cleaning.dropped[static_cast<size_t>(GcideUsage::kObsolete)], 1u);
    EXPECT_EQ(cleaning.labelled[static_cast<size_t>(GcideUsage::kRegional)], 1u);
    EXPECT_EQ(cleaning.crossReferences, 1u);
    // The origin is that of the homograph of the first part of speech shown.
    gcide.AddTo(lexicon);
    EXPECT_EQ(lexicon.entries["say"].origin, "OE. seggen.");
    EXPECT_EQ(lexicon.entries["me"].origin, "AS. mē.");
    EXPECT_EQ(lexicon.entries["he"].origin, "AS. hē.");  // its noun has no entry: the pronoun's
}

}  // namespace
}  // namespace lxdbuild
