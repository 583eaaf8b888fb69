// Small dictionaries written with the project's writer: the starting points of
// the database fuzzer's corpus and the dictionary the answer fuzzer serves.
// Each covers different parts of the format (capitals, redirects, inflection
// records, links between senses, records that cross blocks, hyphenation).
#ifndef LEXORA_FUZZ_SEEDDICTIONARIES_H
#define LEXORA_FUZZ_SEEDDICTIONARIES_H

#include <cstdint>
#include <string>
#include <vector>

#include "db/DictWriter.h"
#include "db/Format.h"

namespace lxfuzz {

// The words every fuzzed database is asked for; they name the seeds' headwords,
// their inflected forms and a few that no seed holds.
inline const std::vector<std::string>& ProbeWords() {
    static const std::vector<std::string> words = {"cat",     "cats",    "Paris", "paris", "ran",
                                                   "running", "geese",   "dog:2", "man",   "Mann",
                                                   "a",       "zyzzyva", "best",  "x-ray", ""};
    return words;
}

inline DictRecordRef AddLineRecord(CDictWriter& writer, uint32_t kind, const std::string& text) {
    uint32_t position = 0;
    writer.AddLine(text, &position);
    return {kind, position};
}

inline DictRecordRef AddSenseRecord(CDictWriter& writer, uint32_t kind, const DictSense& sense,
                                    const std::string& label = "") {
    uint32_t position = 0;
    writer.AddSense(sense, label, &position);
    return {kind, position};
}

// One headword, one sense: the smallest useful file.
inline bool WriteTinyDictionary(CDictWriter& writer) {
    DictSense sense;
    sense.members = {"cat"};
    sense.gloss = "feline mammal";
    return writer.AddHeadword("cat", {AddSenseRecord(writer, lxd::kKindNoun, sense)});
}

// Senses linked to each other by label, pronunciations, inflection records,
// thesaurus and origin lines, a redirect, capitals and hyphenation tries.
inline bool WriteLinkedDictionary(CDictWriter& writer) {
    DictSenseLink toMan;
    toMan.kind = 140;
    toMan.targetLabel = "man";
    DictSenseLink toFeline;
    toFeline.kind = lxd::kLinkSynonym;
    toFeline.targetLabel = "feline";
    toFeline.targetMember = 1;
    toFeline.sourceMember = 2;
    toFeline.fillerBefore = true;

    DictRecordRef man = AddSenseRecord(
        writer, lxd::kKindNoun, {{"man", "adult male"}, "an adult person who is male", {}}, "man");
    DictRecordRef feline =
        AddSenseRecord(writer, lxd::kKindNoun,
                       {{"cat", "true cat"}, "feline mammal$the cat sat", {toMan}}, "feline");
    DictSense guy{{"guy", "cat"}, "an informal term for a youth", {toFeline, toMan}, true};
    DictRecordRef informal = AddSenseRecord(writer, lxd::kKindNoun, guy);
    DictRecordRef hunt =
        AddSenseRecord(writer, lxd::kKindVerb, {{}, "to hunt as a cat does", {toFeline}});
    DictRecordRef run = AddSenseRecord(writer, lxd::kKindVerb, {{"run"}, "move fast", {}});
    bool ok = writer.AddHeadword(
        "cat", {AddLineRecord(writer, lxd::kKindPronunciation, "k@t"),
                AddLineRecord(writer, lxd::kKindPlural, "cats"), feline, informal, hunt,
                AddLineRecord(writer, lxd::kKindThesaurusNoun, "kitty, feline, puss"),
                AddLineRecord(writer, lxd::kKindOrigin, "Old English catt"),
                AddLineRecord(writer, lxd::kKindUsage, "informal")});
    ok = ok && writer.AddHeadword("man", {man});
    ok = ok && writer.AddHeadword("run", {run, AddLineRecord(writer, lxd::kKindTense1, "ran"),
                                          AddLineRecord(writer, lxd::kKindTense2, "running")});
    ok = ok && writer.AddHeadword("ran", {AddLineRecord(writer, lxd::kKindRedirect, "run")});
    ok = ok &&
         writer.AddHeadword("Paris", {AddSenseRecord(writer, lxd::kKindNoun,
                                                     {{"Paris"}, "the capital of France", {}}),
                                      AddLineRecord(writer, lxd::kKindPronunciation, "pa-ris")});
    ok = ok && writer.AddHeadword(
                   "good", {AddSenseRecord(writer, lxd::kKindAdjective, {{"good"}, "fine", {}}),
                            AddLineRecord(writer, lxd::kKindAdjectiveForm, "better"),
                            AddLineRecord(writer, lxd::kKindAdjectiveForm2, "best")});
    ok = ok && writer.SetHyphenPatterns({"c1a", "1ri", "a1n", "2n1n"});
    ok = ok && writer.SetHyphenExceptions({"pa1ris"});
    writer.SetAuxValue(7);
    return ok;
}

// Many headwords (a walk over several sibling lists and depths, a key of the
// longest enumerated length) and a record stream padded across several
// blocks so that a record crosses a block boundary.
inline bool WriteListingDictionary(CDictWriter& writer) {
    const char* const words[] = {"a",       "aa",    "ab", "abc", "b",     "ba",      "Bach", "cat",
                                 "catalog", "catch", "d",  "dog", "x-ray", "zyzzyva", "Zz"};
    bool ok = true;
    for (const char* word : words) {
        DictSense sense;
        sense.members = {word};
        sense.gloss = std::string("the word ") + word;
        ok = ok && writer.AddHeadword(word, {AddSenseRecord(writer, lxd::kKindNoun, sense)});
    }
    ok = ok && writer.PadTo(lxd::kBlockSize - 10);
    ok = ok && writer.AddHeadword("geese", {AddLineRecord(writer, lxd::kKindNoun,
                                                          std::string(40, 'g') + " across")});
    ok = ok && writer.AddHeadword(std::string(lxd::kMaxEnumeratedKey, 'q'),
                                  {AddLineRecord(writer, lxd::kKindUsage, "longest key")});
    ok = ok && writer.PadTo(3 * lxd::kBlockSize + 5);
    ok = ok && writer.AddHeadword("zebra", {AddLineRecord(writer, lxd::kKindOrigin, "far")});
    return ok;
}

}  // namespace lxfuzz

#endif  // LEXORA_FUZZ_SEEDDICTIONARIES_H
