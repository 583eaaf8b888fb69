#include "render/TextRender.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/DefinitionRecords.h"
#include "render/FormOfRender.h"
#include "render/HtmlRender.h"
#include "render/SimpleString.h"
#include "render/WordCollection.h"

using lxd::RefKind;
using lxd::RefPosition;

namespace {

// Record markup in plain text: origins lose their emphasis marks; thesaurus
// notes keep their brackets, labels become parenthesised, rarity bracketed.
const MarkupRule kOriginRules[] = {{'{', ""}, {'}', ""}, {'[', ""}, {']', ""}};
const PieceMarkup kOriginText = {"\nORIGIN: ", "\n"};
const PieceMarkup kSampleText = {"; \"", "\""};
const PieceMarkup kHeadingText = {"", "\n"};
const PieceMarkup kThesaurusLineText = {"  ", "\n"};
const MarkupRule kThesaurusRules[] = {{',', ", "}, {'{', "("}, {'}', ")"}, {'<', "["}, {'>', "]"}};

// The lists a form record feeds and how the forms of one list are joined.
enum FormList { kPlurals, kTenses1, kTenses2, kUsages, kComparisons, kAdverbComparisons, kLists };
const char* const kJoiners[kLists] = {", ", "/", "/", "; ", ", ", ", "};

struct FormKind {
    uint32_t kind;
    FormList list;
};
const FormKind kFormKinds[] = {{lxd::kKindPlural, kPlurals},
                               {lxd::kKindPlural2, kPlurals},
                               {lxd::kKindTense1, kTenses1},
                               {lxd::kKindTense2, kTenses2},
                               {lxd::kKindUsage, kUsages},
                               {lxd::kKindAdjectiveForm, kComparisons},
                               {lxd::kKindAdjectiveForm2, kComparisons},
                               {lxd::kKindAdverbForm, kAdverbComparisons},
                               {lxd::kKindAdverbForm2, kAdverbComparisons}};

int FormListOf(uint32_t kind) {
    for (const FormKind& form : kFormKinds) {
        if (form.kind == kind) return form.list;
    }
    return -1;
}

// `label` followed by the list, or nothing for an empty list.
void Labelled(CSimpleString* note, const char* label, const CSimpleString& list) {
    if (list.GetLength() == 0) return;
    if (note->GetLength() > 0) note->Append("; ");
    note->Append(label);
    note->Append(list.GetBuffer(), list.GetLength());
}

}  // namespace

CTextRender::CTextRender(OutputFunction output, void* context, CCompressedData* records)
    : CRender(output, context, records) {
    for (int32_t& note : noteIndex) note = -1;
}

bool CTextRender::Render(const char* word, const uint32_t* references, int count,
                         int singleSynset) {
    count = StartRender(word, count);
    if (output(context, "", 0, OUTPUT_BEGIN_DICTIONARY) == 0 ||
        !WriteFormNotes(references, count) || !EmitPronunciations(this, references, count) ||
        !WriteFormOfLines(references, count) || !WriteSenses(references, count) ||
        output(context, "", 0, OUTPUT_FOOTNOTE_TABLE) == 0 ||
        !WriteOrigins(references, count, kOriginText, kOriginRules, std::size(kOriginRules))) {
        return false;
    }
    // As in the HTML views, the links of one sense do not end the render.
    if (SelectsOneSense(references, count, singleSynset)) {
        WriteSenseLinks(references[singleSynset - 1]);
    } else if (!WriteAllLinks(references, count)) {
        return false;
    }
    return WriteThesaurus(references, count);
}

bool CTextRender::WriteFormOfLines(const uint32_t* references, int count) {
    CSimpleString relation, base;
    bool written = false;
    for (int i = 0; i < count; ++i) {
        if (!ReadFormOfNote(records, references[i], &relation, &base)) continue;
        base.ReplaceAll("\t", " ");
        if (!Write(relation.GetBuffer(), relation.GetLength()) || !Write(" of ") ||
            !Write(base.GetBuffer(), base.GetLength()) || !Write("\n")) {
            return false;
        }
        written = true;
    }
    // A blank line parts the notes from the first heading.
    return !written || Write("\n");
}

bool CTextRender::WriteFormNotes(const uint32_t* references, int count) {
    for (int32_t& note : noteIndex) note = -1;
    CSimpleString lists[kLists];
    for (int i = 0; i < count; ++i) {
        const int list = FormListOf(RefKind(references[i]));
        if (list < 0) continue;
        int32_t length = 0;
        const char* text = records->GetLine(RefPosition(references[i]), &length);
        if (text == nullptr || length == 0) continue;
        CSimpleString& target = lists[list];
        if (target.GetLength() > 0) target.Append(kJoiners[list]);
        if (list == kUsages) {
            CSimpleString sample;
            sample.Assign(text, length);
            sample.ReplaceAll("%s", Headword());
            target.Append(sample.GetBuffer(), sample.GetLength());
        } else {
            wordForms.Add(text, length);
            target.Append(text, length);
        }
    }
    for (int list = 0; list < kLists; ++list) {
        if (list != kUsages) LowerCaseLetters(&lists[list]);
    }

    CSimpleString note;
    Labelled(&note, "plural: ", lists[kPlurals]);
    noteIndex[kNounNote] = AddNote(note);
    note.Clear();
    if (lists[kTenses1].GetLength() > 0 && lists[kTenses2].GetLength() > 0) {
        note.Append("tenses: ");
        note.Append(lists[kTenses1].GetBuffer());
        note.Append(", ");
        note.Append(lists[kTenses2].GetBuffer());
    }
    Labelled(&note, "usage: ", lists[kUsages]);
    noteIndex[kVerbNote] = AddNote(note);
    note.Clear();
    Labelled(&note, "comparison: ", lists[kComparisons]);
    noteIndex[kAdjectiveNote] = AddNote(note);
    note.Clear();
    Labelled(&note, "comparison: ", lists[kAdverbComparisons]);
    noteIndex[kAdverbNote] = AddNote(note);
    return true;
}

int32_t CTextRender::AddNote(const CSimpleString& text) {
    if (text.GetLength() == 0) return -1;
    return output(context, text.GetBuffer(), text.GetLength(), OUTPUT_FOOTNOTE);
}

int32_t CTextRender::NoteOf(uint32_t kind) const {
    const int group = kind == lxd::kKindAdjectiveSatellite ? -1 : LinkGroupOf(kind);
    return group < 0 ? -1 : noteIndex[group];
}

bool CTextRender::WriteSenses(const uint32_t* references, int count) {
    uint32_t previous = 0;
    int number = 0;
    for (int i = 0; i < count; ++i) {
        const uint32_t kind = RefKind(references[i]);
        if (!IsSenseKind(kind)) continue;
        if (kind != previous) {
            if (!WriteHeading(kind, previous == 0, NoteOf(kind))) return false;
            previous = kind;
            number = 0;
        }
        if (!WriteSense(references[i], ++number)) return false;
    }
    return true;
}

bool CTextRender::WriteHeading(uint32_t kind, bool first, int note) {
    char mark[24] = "";
    if (note >= 0) snprintf(mark, sizeof(mark), " [%d]", note + 1);
    return (first || Write("\n")) && Write(CHtmlRender::GetPartOfSpeechName(kind)) && Write(mark) &&
           Write("\n");
}

// "  n. gloss; "sample"" and, under the gloss, "syn: " with the other members.
bool CTextRender::WriteSense(uint32_t reference, int number) {
    CWordCollection members;
    int32_t headIndex = 0;
    const uint32_t glossPosition = ReadMembers(this, &members, reference, 0, 0, &headIndex);
    int32_t glossLength = 0;
    const char* gloss = records->GetLine(glossPosition, &glossLength);
    if (gloss == nullptr) glossLength = 0;

    char label[24];
    const int labelLength = snprintf(label, sizeof(label), "  %d. ", number);
    if (!Write(label) || !WriteGloss(gloss, glossLength, true, kSampleText) || !Write("\n"))
        return false;
    if (members.Count() == 0) return true;

    char indent[24];
    snprintf(indent, sizeof(indent), "%*s", labelLength, "");
    if (!Write(indent) || !Write("syn: ")) return false;
    for (int i = 0; i < members.Count(); ++i) {
        if (!Write(members.Get(i)) || !Write(i + 1 < members.Count() ? ", " : "\n")) return false;
    }
    return true;
}

bool CTextRender::WriteAllLinks(const uint32_t* references, int count) {
    CWordCollection groups[4];
    if (CollectAllLinks(references, count, groups) == 0) return true;

    if (output(context, "", 0, OUTPUT_BEGIN_LINKS) == 0) return false;
    bool first = true;
    for (int group = 0; group < 4; ++group) {
        if (groups[group].Count() == 0) continue;
        if (!WriteHeading(kLinkGroupKinds[group], first, -1) || !WriteLinkTypes(&groups[group]))
            return false;
        first = false;
    }
    return true;
}

bool CTextRender::WriteSenseLinks(uint32_t reference) {
    if (output(context, "", 0, OUTPUT_BEGIN_LINKS) == 0) return false;
    CWordCollection links;
    CSimpleString gloss;
    CollectLinks(this, &links, &gloss, reference);
    return WriteHeading(RefKind(reference), true, -1) && Write("  ") &&
           WriteGloss(gloss.GetBuffer(), gloss.GetLength(), false, kSampleText) && Write("\n") &&
           WriteLinkTypes(&links);
}

// One line per link type, "  type: word, word", in the order of the sorted
// collection, whose items each begin with their link kind byte.
bool CTextRender::WriteLinkTypes(CWordCollection* collection) {
    collection->Sort();
    const int count = collection->Count();
    for (int i = 0; i < count; ++i) {
        const char* item = collection->Get(i);
        const unsigned char type = static_cast<unsigned char>(item[0]);
        const bool opens = i == 0 || static_cast<unsigned char>(collection->Get(i - 1)[0]) != type;
        const bool closes =
            i + 1 == count || static_cast<unsigned char>(collection->Get(i + 1)[0]) != type;
        if (opens && (!Write("  ") || !Write(CHtmlRender::GetLinkTypeName(type)) || !Write(": ")))
            return false;
        if (!Write(item + 1) || !Write(closes ? "\n" : ", ")) return false;
    }
    return true;
}

bool CTextRender::WriteThesaurus(const uint32_t* references, int count) {
    return WriteThesaurusLines(references, count, CHtmlRender::GetPartOfSpeechName, kHeadingText,
                               "\n", kThesaurusLineText, kThesaurusRules,
                               std::size(kThesaurusRules));
}

bool CTextRender::Write(const char* text, int32_t length) {
    return length <= 0 || output(context, text, length, OUTPUT_TEXT) != 0;
}

bool CTextRender::Write(const char* text) {
    return Write(text, static_cast<int32_t>(strlen(text)));
}
