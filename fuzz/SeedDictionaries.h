// The dictionary the answer fuzzer and the fault tests serve, written with the
// project's writer (it is also linked.lxd of the database fuzzer's committed
// corpus): capitals, a redirect, inflection records, links between senses and
// hyphenation; and the words every fuzzed database is asked for.
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

}  // namespace lxfuzz

#endif  // LEXORA_FUZZ_SEEDDICTIONARIES_H
