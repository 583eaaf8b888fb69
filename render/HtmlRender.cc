#include "render/HtmlRender.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "db/CompressedData.h"
#include "db/Format.h"
#include "render/DefinitionRecords.h"
#include "render/FormOfRender.h"
#include "render/SimpleString.h"
#include "render/WordCollection.h"

using lxd::RefKind;
using lxd::RefPosition;

namespace {

const PieceMarkup kSampleHtml = {" &#x2022; <span class=\"sample\">", "</span> "};
const PieceMarkup kOriginHtml = {"<p class=\"etym\">ORIGIN: ", "</p>"};
const PieceMarkup kHeadingHtml = {"<p class=\"wordtype\">", "</p>"};
const PieceMarkup kThesaurusLineHtml = {"<p class=\"thes\">", "</p>"};

// Record markup and the HTML written in its place.
const MarkupRule kOriginMarkup[] = {{'{', "<i>"}, {'}', "</i>"}, {'[', "<b>"}, {']', "</b>"}};

const MarkupRule kThesaurusMarkup[] = {{',', ", "},       {'{', "<i>("}, {'}', ")</i>"},
                                       {'(', "<i>"},      {')', "</i>"}, {'<', "<small>["},
                                       {'>', "]</small>"}};

}  // namespace

CHtmlRender::CHtmlRender(OutputFunction output, void* context, CCompressedData* records)
    : CRender(output, context, records) {
    for (int32_t& note : footnoteIndex) note = -1;
}

bool CHtmlRender::Render(const char* word, const uint32_t* references, int count,
                         int singleSynset) {
    count = StartRender(word, count);
    if (output(context, "", 0, OUTPUT_BEGIN_DICTIONARY) == 0) return false;
    if (!RenderInflections(references, count)) return false;
    if (!EmitPronunciations(this, references, count)) return false;
    if (!RenderFormOfNotes(this, references, count)) return false;
    if (!RenderDefinitionList(references, count)) return false;
    if (output(context, "", 0, OUTPUT_FOOTNOTE_TABLE) == 0) return false;
    if (!RenderEtymology(references, count)) return false;

    if (SelectsOneSense(references, count, singleSynset)) {
        RenderLinkDefinition(references[singleSynset - 1]);
    } else if (!RenderAllLinks(references, count)) {
        return false;
    }
    return RenderThesaurus(references, count);
}

bool CHtmlRender::RenderInflections(const uint32_t* references, int count) {
    for (int32_t& note : footnoteIndex) note = -1;
    CSimpleString plural, tense1, tense2, usage, adjectiveForms, adverbForms;

    for (int i = 0; i < count; ++i) {
        const uint32_t kind = RefKind(references[i]);
        CSimpleString* list = nullptr;
        const char* label = "";
        const char* separator = ", ";
        switch (kind) {
            case lxd::kKindPlural:
            case lxd::kKindPlural2:
                list = &plural;
                label = "Plural: ";
                break;
            case lxd::kKindTense1:
                list = &tense1;
                separator = "/";
                break;
            case lxd::kKindTense2:
                list = &tense2;
                separator = "/";
                break;
            case lxd::kKindUsage:
                list = &usage;
                break;
            case lxd::kKindAdjectiveForm:
            case lxd::kKindAdjectiveForm2:
                list = &adjectiveForms;
                label = "comparative: ";
                break;
            case lxd::kKindAdverbForm:
            case lxd::kKindAdverbForm2:
                list = &adverbForms;
                label = "comparative: ";
                break;
            default:
                continue;
        }
        int32_t length = 0;
        const char* text = records->GetLine(RefPosition(references[i]), &length);
        if (text == nullptr || length == 0) continue;
        if (list == &usage) {
            AddUsage(&usage, text, length);
        } else {
            AddForm(list, label, separator, text, length);
        }
    }

    if (plural.GetLength() > 0) {
        LowerCaseLetters(&plural);
        footnoteIndex[kNounNote] = AddFootnote(plural);
    }
    CSimpleString verb;
    if (tense1.GetLength() > 0 && tense2.GetLength() > 0) {
        LowerCaseLetters(&tense1);
        LowerCaseLetters(&tense2);
        verb.Append("Tenses: ");
        verb.Append(tense1.GetBuffer());
        verb.Append(", ");
        verb.Append(tense2.GetBuffer());
    }
    if (usage.GetLength() > 0) {
        if (verb.GetLength() > 0) verb.Append("<br>");
        verb.Append("Usage sample:<br>");
        verb.Append(usage.GetBuffer());
    }
    if (verb.GetLength() > 0) footnoteIndex[kVerbNote] = AddFootnote(verb);
    if (adjectiveForms.GetLength() > 0) {
        LowerCaseLetters(&adjectiveForms);
        footnoteIndex[kAdjectiveNote] = AddFootnote(adjectiveForms);
    }
    if (adverbForms.GetLength() > 0) {
        LowerCaseLetters(&adverbForms);
        footnoteIndex[kAdverbNote] = AddFootnote(adverbForms);
    }
    return true;
}

void CHtmlRender::AddForm(CSimpleString* list, const char* label, const char* separator,
                          const char* text, int32_t length) {
    wordForms.Add(text, length);
    list->Append(list->GetLength() == 0 ? label : separator);
    list->Append(text, length);
}

void CHtmlRender::AddUsage(CSimpleString* usage, const char* text, int32_t length) {
    CSimpleString sample;
    sample.Assign(text, length);
    sample.ReplaceAll("%s", Headword());
    if (usage->GetLength() > 0) usage->Append("\n");
    usage->Append(sample.GetBuffer(), sample.GetLength());
    usage->Append(". ");
}

int32_t CHtmlRender::AddFootnote(const CSimpleString& text) {
    return output(context, text.GetBuffer(), text.GetLength(), OUTPUT_FOOTNOTE);
}

int32_t CHtmlRender::NoteForHeading(uint32_t kind) const {
    switch (kind) {
        case lxd::kKindNoun:
            return footnoteIndex[kNounNote];
        case lxd::kKindVerb:
            return footnoteIndex[kVerbNote];
        case lxd::kKindAdjective:
            return footnoteIndex[kAdjectiveNote];
        case lxd::kKindAdverb:
            return footnoteIndex[kAdverbNote];
        default:
            return -1;
    }
}

bool CHtmlRender::RenderDefinitionList(const uint32_t* references, int count) {
    uint32_t previous = 0;
    bool open = false;
    for (int i = 0; i < count; ++i) {
        const uint32_t kind = RefKind(references[i]);
        if (!IsSenseKind(kind)) continue;
        if (kind != previous) {
            if (open && !WriteString("</ol>")) return false;
            if (!WriteString("<p class=\"wordtype\">") || !WriteString(GetPartOfSpeechName(kind)) ||
                !WriteFootnoteMark(NoteForHeading(kind)) || !WriteString("</p>") ||
                !WriteString("<ol>")) {
                return false;
            }
            open = true;
            previous = kind;
        }
        if (!RenderDefinition(references[i], i)) return false;
    }
    return !open || WriteString("</ol>");
}

bool CHtmlRender::RenderDefinition(uint32_t reference, int index) {
    WriteString("<li class=\"definition\">");

    CWordCollection members;
    int32_t headIndex = 0;
    const uint32_t glossPosition = ReadMembers(this, &members, reference, 0, 0, &headIndex);
    int32_t glossLength = 0;
    const char* gloss = records->GetLine(glossPosition, &glossLength);
    if (gloss == nullptr) glossLength = 0;
    if (!RenderGloss(gloss, glossLength, true)) return false;

    // The link list follows the gloss; without a readable gloss it cannot be found.
    SenseLink link;
    if (gloss != nullptr && headIndex > 0 &&
        TakeLinks(records, glossPosition + static_cast<uint32_t>(glossLength) + 1, headIndex, &link,
                  1) > 0 &&
        !WriteLinkIcon(index)) {
        return false;
    }

    if (members.Count() > 0) {
        if (!WriteString("<br><span class=\"syn\"><i style=\"color: #808080\">syn: </i>"))
            return false;
        for (int i = 0; i < members.Count(); ++i) {
            if (!WriteWordLink(members.Get(i), i == members.Count() - 1)) return false;
        }
        if (!WriteString("</span>")) return false;
    }
    return WriteString("</li>");
}

bool CHtmlRender::RenderGloss(const char* text, int32_t length, bool withSamples) {
    return WriteGloss(text, length, withSamples, kSampleHtml);
}

bool CHtmlRender::RenderEtymology(const uint32_t* references, int count) {
    return WriteOrigins(references, count, kOriginHtml, kOriginMarkup, std::size(kOriginMarkup));
}

bool CHtmlRender::RenderAllLinks(const uint32_t* references, int count) {
    CWordCollection groups[4];
    if (CollectAllLinks(references, count, groups) == 0) return true;

    if (output(context, "", 0, OUTPUT_BEGIN_LINKS) == 0) return false;
    for (int group = 0; group < 4; ++group) {
        if (groups[group].Count() > 0 && !RenderLinkGroups(&groups[group], kLinkGroupKinds[group]))
            return false;
    }
    return true;
}

bool CHtmlRender::RenderLinkDefinition(uint32_t reference) {
    if (output(context, "", 0, OUTPUT_BEGIN_LINKS) == 0) return false;
    if (!WriteString("<p class=\"wordtype\">") ||
        !WriteString(GetPartOfSpeechName(RefKind(reference))) || !WriteString("</p>")) {
        return false;
    }
    CWordCollection links;
    CSimpleString gloss;
    CollectLinks(this, &links, &gloss, reference);
    if (!WriteString("<p class=\"linkdefinition\">") ||
        !RenderGloss(gloss.GetBuffer(), gloss.GetLength(), false) || !WriteString("</p>")) {
        return false;
    }
    return RenderLinkGroups(&links, 0);
}

bool CHtmlRender::RenderLinkGroups(CWordCollection* collection, uint32_t kind) {
    if (kind != 0 && (!WriteString("<p class=\"wordtype\">") ||
                      !WriteString(GetPartOfSpeechName(kind)) || !WriteString("</p>"))) {
        return false;
    }
    collection->Sort();
    unsigned char previous = 0;
    const int count = collection->Count();
    for (int i = 0; i < count; ++i) {
        const char* item = collection->Get(i);
        const unsigned char type = static_cast<unsigned char>(item[0]);
        if (type != previous) {
            if (previous != 0 && !WriteString("</p>")) return false;
            if (!WriteString("<p class=\"link\"><i>") || !WriteString(GetLinkTypeName(type)) ||
                !WriteString(":</i> ")) {
                return false;
            }
            previous = type;
        }
        const bool last =
            i == count - 1 || static_cast<unsigned char>(collection->Get(i + 1)[0]) != type;
        if (!WriteWordLink(item + 1, last)) return false;
    }
    return true;
}

bool CHtmlRender::RenderThesaurus(const uint32_t* references, int count) {
    return WriteThesaurusLines(references, count, GetPartOfSpeechName, kHeadingHtml, "",
                               kThesaurusLineHtml, kThesaurusMarkup, std::size(kThesaurusMarkup));
}

bool CHtmlRender::WriteText(const char* text, int32_t length) {
    return output(context, text, length, OUTPUT_TEXT) != 0;
}

bool CHtmlRender::WriteString(const char* text) {
    return WriteText(text, static_cast<int32_t>(strlen(text)));
}

bool CHtmlRender::WriteWordLink(const char* word, bool last) {
    return WriteString("<a style=\"text-decoration: none; color: #2040C0; \" href=\"") &&
           WriteString(word) && WriteString("\">") && WriteString(word) &&
           WriteString(last ? "</a>" : "</a>, ");
}

bool CHtmlRender::WriteFootnoteMark(int index) {
    if (index < 0) return true;
    char mark[96];
    snprintf(mark, sizeof(mark),
             "&nbsp;<sup><smaller><b><font color=#808080>%d</font></b></smaller></sup>", index + 1);
    return WriteString(mark);
}

bool CHtmlRender::WriteLinkIcon(int index) {
    char tail[80];
    snprintf(tail, sizeof(tail), "%%3A%d\"><img src=\"images/link.png\" border=0 /></a>",
             index + 1);
    return WriteString("&nbsp;<a href=\"") && WriteString(Headword()) && WriteString(tail);
}

const char* CHtmlRender::GetPartOfSpeechName(uint32_t kind) {
    switch (kind) {
        case lxd::kKindInterjection:
            return "interjection";
        case lxd::kKindNoun:
        case lxd::kKindThesaurusNoun:
            return "noun";
        case lxd::kKindVerb:
        case lxd::kKindThesaurusVerb:
            return "verb";
        case lxd::kKindAdjective:
        case lxd::kKindThesaurusAdjective:
            return "adjective";
        case lxd::kKindAdjectiveSatellite:
            return "adjective satellite";
        case lxd::kKindAdverb:
        case lxd::kKindThesaurusAdverb:
            return "adverb";
        case lxd::kKindArticle:
            return "article";
        case lxd::kKindPronoun:
            return "pronoun";
        case lxd::kKindConjunction:
            return "conjunction";
        case lxd::kKindDeterminer:
            return "determiner";
        case lxd::kKindPreposition:
            return "preposition";
        case lxd::kKindParticle:
            return "particle";
        case lxd::kKindThesaurusSynonym:
            return "synonym";
        default:
            return "";
    }
}

const char* CHtmlRender::GetLinkTypeName(uint32_t kind) {
    // Link kinds 132 to 232 in steps of 4.
    static const char* const kNames[] = {
        "synonym",
        "antonym",
        "more generic (hypernym)",
        "more specific (hyponym)",
        "derivationally related",
        "derived from",
        "participle of verb",
        "pertaining to (pertainym)",
        "domain of category",
        "member of category",
        "domain of region",
        "member of domain region",
        "domain of usage",
        "member of domain usage",
        "entailment",
        "cause",
        "verb group",
        "also see",
        "similar to",
        "member of (holonym)",
        "substance of (holonym)",
        "part of (holonym)",
        "members (meronym)",
        "substances (meronym)",
        "parts (meronym)",
        "attribute",
    };
    const uint32_t kFirst = 132;
    const uint32_t index = (kind - kFirst) / 4;
    if (kind < kFirst || kind % 4 != 0 || index >= sizeof(kNames) / sizeof(kNames[0]))
        return "other";
    return kNames[index];
}
