// What the wording of a description hints at: the part of speech and the
// categories of the senses it looks for and the noun that named them, read
// from its opening words only.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "meaning/MeaningFormat.h"
#include "meaning/QueryHint.h"

namespace {

TEST(QueryHintTest, OpeningWordsHintAtPartOfSpeechAndCategory) {
    struct Case {
        const char* text;
        uint32_t partOfSpeech;
        std::vector<uint32_t> fits;  // every category that fits; the others do not
        const char* head;            // the noun that named a category
    };
    const Case cases[] = {
        {"a doctor who treats children", lxm::kSenseNoun, {lxm::kCategoryPerson}, ""},
        {"Someone who cuts hair", 0, {lxm::kCategoryPerson}, "someone"},
        {"to walk slowly", lxm::kSenseVerb, {}, ""},
        {"An ANIMAL that eats meat", lxm::kSenseNoun, {lxm::kCategoryAnimal}, "animal"},
        {"instrument for measuring heat", 0, {lxm::kCategoryArtifact}, "instrument"},
        {"the study of insects", lxm::kSenseNoun, {lxm::kCategoryDiscipline}, ""},
        {"a place where bees are kept",
         lxm::kSenseNoun,
         {lxm::kCategoryPlace, lxm::kCategoryArtifact},
         "place"},
        {"a period of ten years", lxm::kSenseNoun, {lxm::kCategoryTime}, "period"},
        {"a word that means the opposite", lxm::kSenseNoun, {lxm::kCategoryCommunication}, "word"},
        // "who" past the opening words, a head noun that is no category,
        // "study" not followed by "of", a lone article: no hint.
        {"fear of things that many people who live alone have", 0, {}, ""},
        {"a young cat", lxm::kSenseNoun, {}, ""},
        {"study hard", 0, {}, ""},
        {"a", 0, {}, ""},
        {"", 0, {}, ""},
        {"\xC3\xA9t\xC3\xA9 d'amour", 0, {}, ""},
    };
    for (const Case& c : cases) {
        const CQueryHint hint(c.text);
        EXPECT_EQ(c.partOfSpeech, hint.PartOfSpeech()) << c.text;
        EXPECT_EQ(c.head, hint.Head()) << c.text;
        for (uint32_t category = 0; category <= lxm::kCategoryCommunication; ++category) {
            const bool expected = std::find(c.fits.begin(), c.fits.end(), category) != c.fits.end();
            EXPECT_EQ(expected, hint.Fits(category)) << c.text << " category " << category;
        }
    }
    // An adjective or adverb: "feeling ...", an opening adverb in -ly; not a
    // noun in -ly before "of", nor a word later in the text.
    for (const auto& [text, describing] : {std::pair{"feeling sad", true},
                                           {"Extremely hungry", true},
                                           {"family of words", false},
                                           {"a very old man", false}}) {
        EXPECT_EQ(describing, CQueryHint(text).Describing()) << text;
    }
}

}  // namespace
