#include "render/FormOfRender.h"

#include <cstring>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/HtmlRender.h"
#include "render/SimpleString.h"

bool ReadFormOfNote(CCompressedData* records, uint32_t reference, CSimpleString* relation,
                    CSimpleString* base) {
    if (lxd::RefKind(reference) != lxd::kKindFormOf) return false;
    int32_t length = 0;
    const char* text = records->GetLine(lxd::RefPosition(reference), &length);
    if (text == nullptr || length <= 0) return false;
    const char* tab = static_cast<const char*>(memchr(text, '\t', static_cast<size_t>(length)));
    if (tab == nullptr || tab == text || tab == text + length - 1) return false;
    const int32_t relationLength = static_cast<int32_t>(tab - text);
    const int32_t baseLength = length - relationLength - 1;
    relation->Assign(text, relationLength);
    base->Assign(tab + 1, baseLength);
    // A failed allocation leaves a string shorter than its record.
    return relation->GetLength() == relationLength && base->GetLength() == baseLength;
}

namespace {

// One link per TAB-separated word of the base, parted by spaces. The base is
// cut into its words in place.
bool WriteBaseLinks(CHtmlRender* renderer, CSimpleString* base) {
    char* word = base->GetBuffer();
    char* const end = word + base->GetLength();
    for (;;) {
        char* tab = static_cast<char*>(memchr(word, '\t', static_cast<size_t>(end - word)));
        if (tab != nullptr) *tab = '\0';
        if (!renderer->WriteWordLink(word, true)) return false;
        if (tab == nullptr) return true;
        if (!renderer->WriteText(" ", 1)) return false;
        word = tab + 1;
    }
}

}  // namespace

bool RenderFormOfNotes(CHtmlRender* renderer, const uint32_t* references, int count) {
    CSimpleString relation, base;
    for (int i = 0; i < count; ++i) {
        if (!ReadFormOfNote(renderer->records, references[i], &relation, &base)) continue;
        static const char kOpen[] = "<p class=\"formof\">";
        static const char kOf[] = " of ";
        static const char kClose[] = "</p>";
        if (!renderer->WriteText(kOpen, sizeof kOpen - 1) ||
            !renderer->WriteText(relation.GetBuffer(), relation.GetLength()) ||
            !renderer->WriteText(kOf, sizeof kOf - 1) || !WriteBaseLinks(renderer, &base) ||
            !renderer->WriteText(kClose, sizeof kClose - 1)) {
            return false;
        }
    }
    return true;
}
