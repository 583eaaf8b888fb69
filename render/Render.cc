#include "render/Render.h"

#include <cstring>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/DefinitionRecords.h"
#include "render/SimpleString.h"

const uint32_t kLinkGroupKinds[4] = {lxd::kKindNoun, lxd::kKindVerb, lxd::kKindAdjective,
                                     lxd::kKindAdverb};

bool IsSenseKind(uint32_t kind) {
    return kind >= lxd::kFirstSenseKind && kind <= lxd::kLastSenseKind;
}

bool IsThesaurusKind(uint32_t kind) {
    return kind >= lxd::kKindThesaurusSynonym && kind <= lxd::kKindThesaurusAdverb;
}

int LinkGroupOf(uint32_t kind) {
    switch (kind) {
        case lxd::kKindNoun:
            return 0;
        case lxd::kKindVerb:
            return 1;
        case lxd::kKindAdjective:
        case lxd::kKindAdjectiveSatellite:
            return 2;
        case lxd::kKindAdverb:
            return 3;
        default:
            return -1;
    }
}

void LowerCaseLetters(CSimpleString* text) {
    char* p = text->GetBuffer();
    for (int32_t i = 0; i < text->GetLength(); ++i) {
        if (p[i] >= 'A' && p[i] <= 'Z') p[i] = static_cast<char>(p[i] + 32);
    }
}

int CRender::StartRender(const char* word, int count) {
    wordForms.Clear();
    wordForms.Add(word);
    return count < 0 ? 0 : count;
}

bool CRender::SelectsOneSense(const uint32_t* references, int count, int singleSynset) {
    return singleSynset >= 1 && singleSynset <= count &&
           IsSenseKind(lxd::RefKind(references[singleSynset - 1]));
}

bool CRender::MentionsWordForm(const char* piece, int32_t length) const {
    for (int i = 0; i < wordForms.Count(); ++i) {
        const char* form = wordForms.Get(i);
        if (memmem(piece, static_cast<size_t>(length), form, strlen(form)) != nullptr) return true;
    }
    return false;
}

bool CRender::WriteMarkedUp(const char* text, int32_t length, const MarkupRule* rules,
                            size_t count) {
    // Most bytes are no delimiter: one bit per byte value says which are.
    uint64_t delimiters[4] = {};
    for (size_t r = 0; r < count; ++r) {
        const unsigned char c = static_cast<unsigned char>(rules[r].delimiter);
        delimiters[c >> 6] |= uint64_t{1} << (c & 63);
    }
    int32_t runStart = 0;
    for (int32_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((delimiters[c >> 6] & (uint64_t{1} << (c & 63))) == 0) continue;
        const MarkupRule* rule = nullptr;
        for (size_t r = 0; r < count; ++r) {
            if (rules[r].delimiter == text[i]) rule = &rules[r];
        }
        if (i > runStart && output(context, text + runStart, i - runStart, OUTPUT_TEXT) == 0)
            return false;
        if (rule->replacement[0] != '\0' &&
            output(context, rule->replacement, static_cast<int32_t>(strlen(rule->replacement)),
                   OUTPUT_TEXT) == 0)
            return false;
        runStart = i + 1;
    }
    return length <= runStart ||
           output(context, text + runStart, length - runStart, OUTPUT_TEXT) != 0;
}

bool CRender::WriteGloss(const char* text, int32_t length, bool withSamples,
                         const PieceMarkup& sample) {
    if (length <= 0) return true;
    const char* end = text + length;
    const char* mark = static_cast<const char*>(memchr(text, '$', length));
    if (mark == nullptr) mark = end;
    if (mark > text && output(context, text, static_cast<int32_t>(mark - text), OUTPUT_TEXT) == 0)
        return false;
    if (!withSamples) return true;

    while (mark < end) {
        const char* piece = mark + 1;
        mark = static_cast<const char*>(memchr(piece, '$', end - piece));
        if (mark == nullptr) mark = end;
        const int32_t pieceLength = static_cast<int32_t>(mark - piece);
        if (!MentionsWordForm(piece, pieceLength)) continue;
        if (output(context, sample.open, static_cast<int32_t>(strlen(sample.open)), OUTPUT_TEXT) ==
                0 ||
            output(context, piece, pieceLength, OUTPUT_TEXT) == 0 ||
            output(context, sample.close, static_cast<int32_t>(strlen(sample.close)),
                   OUTPUT_TEXT) == 0) {
            return false;
        }
    }
    return true;
}

bool CRender::WriteOrigins(const uint32_t* references, int count, const PieceMarkup& origin,
                           const MarkupRule* rules, size_t ruleCount) {
    for (int i = 0; i < count; ++i) {
        if (lxd::RefKind(references[i]) != lxd::kKindOrigin) continue;
        int32_t length = 0;
        const char* text = records->GetLine(lxd::RefPosition(references[i]), &length);
        if (text == nullptr || length == 0) continue;
        if (output(context, origin.open, static_cast<int32_t>(strlen(origin.open)), OUTPUT_TEXT) ==
                0 ||
            !WriteMarkedUp(text, length, rules, ruleCount) ||
            output(context, origin.close, static_cast<int32_t>(strlen(origin.close)),
                   OUTPUT_TEXT) == 0) {
            return false;
        }
    }
    return true;
}

bool CRender::WriteThesaurusLines(const uint32_t* references, int count,
                                  const char* (*nameOf)(uint32_t), const PieceMarkup& heading,
                                  const char* separator, const PieceMarkup& line,
                                  const MarkupRule* rules, size_t ruleCount) {
    const auto write = [this](const char* text) {
        return output(context, text, static_cast<int32_t>(strlen(text)), OUTPUT_TEXT) != 0;
    };
    uint32_t previous = 0;
    for (int i = 0; i < count; ++i) {
        const uint32_t kind = lxd::RefKind(references[i]);
        if (!IsThesaurusKind(kind)) continue;
        if (previous == 0 && output(context, "", 0, OUTPUT_BEGIN_THESAURUS) == 0) return false;
        if (kind != previous) {
            if ((previous != 0 && separator[0] != '\0' && !write(separator)) ||
                !write(heading.open) || !write(nameOf(kind)) || !write(heading.close)) {
                return false;
            }
            previous = kind;
        }
        // An unreadable line is left out rather than shown empty.
        int32_t length = 0;
        const char* text = records->GetLine(lxd::RefPosition(references[i]), &length);
        if (text == nullptr) continue;
        if (!write(line.open) || !WriteMarkedUp(text, length, rules, ruleCount) ||
            !write(line.close)) {
            return false;
        }
    }
    return true;
}

int CRender::CollectAllLinks(const uint32_t* references, int count, CWordCollection* groups) {
    for (int i = 0; i < count; ++i) {
        const int group = LinkGroupOf(lxd::RefKind(references[i]));
        if (group >= 0) CollectLinks(this, &groups[group], nullptr, references[i]);
    }
    int filled = 0;
    for (int group = 0; group < 4; ++group) filled += groups[group].Count() > 0 ? 1 : 0;
    return filled;
}
