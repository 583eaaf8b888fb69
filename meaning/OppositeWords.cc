#include "meaning/OppositeWords.h"

#include <algorithm>
#include <cstring>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Lookup.h"
#include "db/WordList.h"
#include "meaning/MeaningFormat.h"
#include "meaning/TermMaker.h"
#include "render/DefinitionRecords.h"

namespace {

// WordNet's antonym link ("!") between two members.
constexpr uint32_t kLinkAntonym = 136;
// References and member lines read per word, and links per sense.
constexpr int kMaxReferences = 16;
constexpr int kMaxMembers = 255;
constexpr int kMaxLinks = 64;

bool IsOneOf(const std::string& word, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* item) { return word == item; });
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Words whose negation is an idiom, not their antonym: "not even", "no more".
bool IsIdiomAfterNegation(const std::string& word) {
    return IsOneOf(word, {"even", "more", "less", "most", "least"});
}

bool IsDescribingKind(uint32_t kind) {
    return kind == lxd::kKindAdjective || kind == lxd::kKindAdjectiveSatellite ||
           kind == lxd::kKindAdverb;
}

}  // namespace

COppositeWords::COppositeWords(CDictDatabase* database) : database(database) {}

std::vector<COppositeWords::Span> COppositeWords::WordSpans(const char* text, size_t length) {
    std::vector<Span> spans;
    size_t i = 0;
    while (i < length) {
        while (i < length && !CTermMaker::IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
        const size_t start = i;
        while (i < length && CTermMaker::IsWordByte(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) spans.push_back({start, i, Lower(std::string(text + start, i - start))});
    }
    return spans;
}

COppositeWords::Asking COppositeWords::OpposedWord(const std::vector<Span>& spans, size_t at,
                                                   size_t* opposed) {
    size_t next = at + 1;
    Asking asking = Asking::kNothing;
    if (IsOneOf(spans[at].lower, {"not", "no", "never", "cannot"})) {
        asking = Asking::kNegated;
        // "cannot be avoided", "not being able".
        if (next < spans.size() && IsOneOf(spans[next].lower, {"be", "being"})) {
            asking = Asking::kNegatedBe;
            ++next;
        }
    } else if (spans[at].lower == "opposite" && next < spans.size() && spans[next].lower == "of") {
        asking = Asking::kOpposite;
        ++next;
        if (next < spans.size() && IsOneOf(spans[next].lower, {"a", "an", "the"})) ++next;
    }
    *opposed = next;
    return next < spans.size() ? asking : Asking::kNothing;
}

std::string COppositeWords::OppositeOf(const std::string& word, Asking asking) {
    if (asking == Asking::kOpposite) return AntonymOf(word, false);
    if (IsIdiomAfterNegation(word)) return "";
    std::string antonym = AntonymOf(word, true);
    if (antonym.empty() && asking == Asking::kNegatedBe) antonym = AntonymOf(AbleForm(word), true);
    return antonym;
}

std::string COppositeWords::AbleForm(const std::string& word) {
    uint32_t position = 0;
    std::string base = Headword(word, true, &position);
    if (!base.empty() && base.back() == 'e') base.pop_back();
    return base.empty() ? "" : base + "able";
}

std::string COppositeWords::Headword(const std::string& word, bool inflected, uint32_t* position) {
    char buffer[2 * lxm::kMaxTermLength + 2];
    if (word.size() > lxm::kMaxTermLength) return "";
    memcpy(buffer, word.c_str(), word.size() + 1);
    *position = 0;
    return LookupWord(database, buffer, sizeof buffer, position, inflected) ? Lower(buffer) : "";
}

std::string COppositeWords::Rewrite(const char* text, size_t length) {
    const std::vector<Span> spans = WordSpans(text, length);
    std::string rewritten;
    size_t copied = 0;  // text before this is in `rewritten`
    for (size_t at = 0; at < spans.size(); ++at) {
        size_t opposed = 0;
        const Asking asking = OpposedWord(spans, at, &opposed);
        if (asking == Asking::kNothing) continue;
        const std::string antonym = OppositeOf(spans[opposed].lower, asking);
        if (antonym.empty()) continue;
        rewritten.append(text + copied, spans[at].start - copied);
        rewritten += antonym;
        copied = spans[opposed].end;
        at = opposed;
    }
    rewritten.append(text + copied, length - copied);
    return rewritten;
}

std::string COppositeWords::AntonymOf(const std::string& word, bool negated) {
    // A negated word is taken as written: "no longer" is no negated "long".
    uint32_t position = 0;
    const std::string headword = Headword(word, !negated, &position);
    if (headword.empty()) return "";
    uint32_t refs[kMaxReferences];
    const int count = database->wordList->GetRecordRefs(position, refs, kMaxReferences);
    for (int i = 0; i < count; ++i) {
        const uint32_t kind = lxd::RefKind(refs[i]);
        if (kind < lxd::kFirstSenseKind || kind > lxd::kLastSenseKind ||
            (negated && !IsDescribingKind(kind))) {
            continue;
        }
        std::string antonym = AntonymInSense(headword, lxd::RefPosition(refs[i]));
        if (!antonym.empty()) return antonym;
    }
    return "";
}

bool COppositeWords::ReadMembers(uint32_t position, std::vector<std::string>* members,
                                 uint32_t* gloss) {
    int32_t length = 0;
    for (int line = 1; line <= kMaxMembers; ++line) {
        const char* text = database->records->GetLine(position, &length);
        if (text == nullptr) return false;
        const unsigned char end = static_cast<unsigned char>(text[length]);
        if (end == lxd::kRecordEndFF) break;  // no member lines: this is the gloss
        members->emplace_back(text, static_cast<size_t>(length));
        position += static_cast<uint32_t>(length) + 1;
        if (end == lxd::kRecordEndLF) break;
    }
    *gloss = position;
    return true;
}

std::string COppositeWords::AntonymInSense(const std::string& word, uint32_t position) {
    std::vector<std::string> members;
    uint32_t gloss = 0;
    if (!ReadMembers(position, &members, &gloss)) return "";
    const auto named = std::find_if(members.begin(), members.end(), [&](const std::string& member) {
        return Lower(member) == word;
    });
    if (named == members.end()) return "";
    // A cluster's antonym is linked from its first member alone ("evitable",
    // not "avoidable"): the others share it.
    for (const int member : {static_cast<int>(named - members.begin()) + 1, 1}) {
        const SenseLink antonym = AntonymLink(gloss, member);
        std::vector<std::string> targets;
        uint32_t unused = 0;
        if (antonym.target == 0 ||
            !ReadMembers(lxd::RefPosition(antonym.target), &targets, &unused)) {
            continue;
        }
        const size_t wanted = antonym.targetMember == 0 ? 0 : antonym.targetMember - 1u;
        if (wanted < targets.size()) return targets[wanted];
    }
    return "";
}

SenseLink COppositeWords::AntonymLink(uint32_t gloss, int member) {
    int32_t length = 0;
    if (database->records->GetLine(gloss, &length) == nullptr) return {0, 0};
    SenseLink links[kMaxLinks];
    const int count = TakeLinks(database->records, gloss + static_cast<uint32_t>(length) + 1,
                                member, links, kMaxLinks);
    for (int i = 0; i < count; ++i) {
        if (lxd::RefKind(links[i].target) == kLinkAntonym) return links[i];
    }
    return {0, 0};
}
