#include "render/TextDefinition.h"

#include <cstdio>
#include <initializer_list>

#include "render/Render.h"
#include "render/TextLayout.h"

namespace {

// U+00B7 MIDDLE DOT between the syllables of the hyphenated form.
const char kSyllableBreak[] = "\xC2\xB7";

const char* TextOf(const CSimpleString& text) {
    return text.GetBuffer() != nullptr ? text.GetBuffer() : "";
}

}  // namespace

CTextDefinition::CTextDefinition() : singleSynset(0), begun{}, current(kDictionary) {}

CTextDefinition::~CTextDefinition() {}

int32_t CTextDefinition::Output(void* context, const char* text, int32_t length, int32_t code) {
    CTextDefinition* page = static_cast<CTextDefinition*>(context);
    switch (code) {
        case OUTPUT_HYPHENATION:
            page->SetHyphenation(text, length);
            return 1;
        case OUTPUT_BEGIN_DICTIONARY:
        case OUTPUT_BEGIN_LINKS:
        case OUTPUT_BEGIN_THESAURUS:
            page->current = static_cast<View>(code - OUTPUT_BEGIN_DICTIONARY);
            page->begun[page->current] = true;
            page->Append(text, length);
            return 1;
        case OUTPUT_TEXT:
            page->Append(text, length);
            return 1;
        case OUTPUT_FOOTNOTE:
            return page->forms.Add(text, length < 0 ? -1 : length);
        case OUTPUT_FOOTNOTE_TABLE:
            page->WriteForms();
            return 1;
        case OUTPUT_PRONUNCIATION:
            page->pronunciation.Assign(text, length);
            return 1;
        default:
            return 0;
    }
}

void CTextDefinition::Reset(const char* word, int32_t synset) {
    headword.Assign(word, -1);
    singleSynset = synset;
    hyphenation.Clear();
    pronunciation.Clear();
    for (CSimpleString& view : views) view.Clear();
    for (bool& flag : begun) flag = false;
    forms.Clear();
    current = kDictionary;
}

void CTextDefinition::Append(const char* text, int32_t length) {
    if (text == nullptr || length == 0) return;
    views[current].Append(text, length);
}

// Keeps the hyphenated form only when it has at least one break point.
void CTextDefinition::SetHyphenation(const char* text, int32_t length) {
    hyphenation.Assign(text, length);
    if (hyphenation.ReplaceAll("*", kSyllableBreak) == 0) hyphenation.Clear();
}

// The notes go into the dictionary view whatever view is current.
void CTextDefinition::WriteForms() {
    if (forms.Count() == 0) return;
    CSimpleString& view = views[kDictionary];
    view.Append("\nFORMS\n");
    for (int i = 0; i < forms.Count(); ++i) {
        char label[24];
        snprintf(label, sizeof(label), "  [%d] ", i + 1);
        view.Append(label);
        view.Append(forms.Get(i));
        view.Append("\n");
    }
}

void CTextDefinition::Finish(int width) {
    if (begun[kDictionary]) {
        scratch.Assign(TextOf(headword));
        scratch.Append("\n");
        if (hyphenation.GetLength() > 0 || pronunciation.GetLength() > 0) {
            scratch.Append("  ");
            scratch.Append(TextOf(hyphenation));
            if (hyphenation.GetLength() > 0 && pronunciation.GetLength() > 0) scratch.Append(" ");
            if (pronunciation.GetLength() > 0) {
                scratch.Append("/");
                scratch.Append(TextOf(pronunciation));
                scratch.Append("/");
            }
            scratch.Append("\n");
        }
        FinishView(kDictionary, width);
    }
    const char* const titles[kViewCount] = {"", "LINKS: ", "THESAURUS: "};
    for (View view : {kLinks, kThesaurus}) {
        if (!begun[view]) continue;
        scratch.Assign(titles[view]);
        scratch.Append(TextOf(headword));
        scratch.Append("\n");
        FinishView(view, width);
    }
}

// The heading already in `scratch`, a blank line, then the view, all wrapped.
void CTextDefinition::FinishView(View view, int width) {
    scratch.Append("\n");
    scratch.Append(TextOf(views[view]), views[view].GetLength());
    views[view].Clear();
    WrapText(TextOf(scratch), scratch.GetLength(), width, &views[view]);
}

const char* CTextDefinition::GetView(View view) const {
    return TextOf(views[view]);
}

const char* CTextDefinition::GetHeadword() const {
    return TextOf(headword);
}
