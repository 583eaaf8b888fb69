// The small dictionary the render manager tests share: "cat" with a
// pronunciation, a plural, two noun senses (the second linked to "man") and
// optionally a thesaurus line; "man" and "dog" with one sense each. The
// hyphenation patterns break "cat" after its first letter.
#ifndef LEXORA_TESTS_RENDERMANAGER_CATDATABASE_H
#define LEXORA_TESTS_RENDERMANAGER_CATDATABASE_H

#include <string>

#include "db/Format.h"
#include "tests/support/TestDatabase.h"

inline void WriteCatDictionary(lxtest::TestDatabase& db, const std::string& thesaurusLine) {
    const uint32_t man =
        db.Sense({{"man", "adult male"}, "an adult person who is male", {}}, "man");
    DictSenseLink hypernym;
    hypernym.kind = 140;
    hypernym.targetLabel = "man";
    const uint32_t feline =
        db.Sense({{"cat", "true cat"}, "feline mammal$the cat sat$a dog barked", {}});
    const uint32_t guy = db.Sense({{"guy", "cat"}, "an informal term for a youth", {hypernym}});
    std::vector<DictRecordRef> cat = {{lxd::kKindPronunciation, db.Line("k@t")},
                                      {lxd::kKindPlural, db.Line("cats")},
                                      {lxd::kKindNoun, feline},
                                      {lxd::kKindNoun, guy}};
    if (!thesaurusLine.empty()) cat.push_back({lxd::kKindThesaurusNoun, db.Line(thesaurusLine)});
    db.Word("cat", cat);
    db.Word("man", {{lxd::kKindNoun, man}});
    db.Word("dog", {{lxd::kKindNoun, db.Sense({{"dog"}, "a canine", {}})}});
    db.Writer().SetHyphenPatterns({"c1a"});
}

#endif  // LEXORA_TESTS_RENDERMANAGER_CATDATABASE_H
