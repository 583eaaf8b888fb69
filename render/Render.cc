#include "render/Render.h"

#include <cstring>

#include "db/Format.h"
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

bool CRender::MentionsWordForm(const char* piece, int32_t length) const {
    for (int i = 0; i < wordForms.Count(); ++i) {
        const char* form = wordForms.Get(i);
        if (memmem(piece, static_cast<size_t>(length), form, strlen(form)) != nullptr) return true;
    }
    return false;
}

bool CRender::WriteMarkedUp(const char* text, int32_t length, const MarkupRule* rules,
                            size_t count) {
    int32_t runStart = 0;
    for (int32_t i = 0; i < length; ++i) {
        const MarkupRule* rule = nullptr;
        for (size_t r = 0; r < count; ++r) {
            if (rules[r].delimiter == text[i]) rule = &rules[r];
        }
        if (rule == nullptr) continue;
        if (i > runStart && output(context, text + runStart, i - runStart, OUTPUT_TEXT) == 0) return false;
        if (rule->replacement[0] != '\0' &&
            output(context, rule->replacement, static_cast<int32_t>(strlen(rule->replacement)),
                   OUTPUT_TEXT) == 0)
            return false;
        runStart = i + 1;
    }
    return length <= runStart || output(context, text + runStart, length - runStart, OUTPUT_TEXT) != 0;
}
