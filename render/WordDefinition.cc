#include "render/WordDefinition.h"

namespace {

const char kHeaderPlaceholder[] = "<!-- ###HEADER### -->";
const char kViewOpening[] =
    "<div id=\"LXDefinition\"><p class=\"header\" id=\"header\"><!-- ###HEADER### --></p>";
const char kViewClosing[] = "</div>";

const char* TextOf(const CSimpleString& text) {
    return text.GetBuffer() != nullptr ? text.GetBuffer() : "";
}

}  // namespace

CWordDefinition::CWordDefinition() : singleSynset(0), currentView(&dictionaryHtml) {}

CWordDefinition::~CWordDefinition() {}

const char* CWordDefinition::GetDictionaryHtml() const {
    return TextOf(dictionaryHtml);
}
const char* CWordDefinition::GetLinksHtml() const {
    return TextOf(linksHtml);
}
const char* CWordDefinition::GetThesaurusHtml() const {
    return TextOf(thesaurusHtml);
}
const char* CWordDefinition::GetHeadword() const {
    return TextOf(headword);
}
const char* CWordDefinition::GetHyphenation() const {
    return TextOf(hyphenation);
}
const char* CWordDefinition::GetPronunciation() const {
    return TextOf(pronunciation);
}

void CWordDefinition::Reset(const char* word, int32_t synset) {
    headword.Assign(word, -1);
    singleSynset = synset;
    hyphenation.Clear();
    pronunciation.Clear();
    dictionaryHtml.Clear();
    linksHtml.Clear();
    thesaurusHtml.Clear();
    footnotes.Clear();
    currentView = &dictionaryHtml;
}

void CWordDefinition::BeginView(View view) {
    switch (view) {
        case kLinks:
            currentView = &linksHtml;
            break;
        case kThesaurus:
            currentView = &thesaurusHtml;
            break;
        default:
            currentView = &dictionaryHtml;
            break;
    }
    currentView->Append(kViewOpening);
}

void CWordDefinition::AppendToView(const char* text, int32_t length) {
    if (text == nullptr || length == 0) return;
    if (length < 0) {
        currentView->Append(text);
    } else {
        currentView->Append(text, length);
    }
}

// Keeps the hyphenated form only when it has at least one break point.
void CWordDefinition::SetHyphenation(const char* text, int32_t length) {
    hyphenation.Assign(text, length);
    if (hyphenation.ReplaceAll("*", "&middot;") == 0) hyphenation.Clear();
}

void CWordDefinition::SetPronunciationText(const char* text, int32_t length) {
    pronunciation.Assign(text, length);
}

int CWordDefinition::AddFootnote(const char* text, int32_t length) {
    return footnotes.Add(text, length < 0 ? -1 : length);
}

// The table always goes into the dictionary view; footnote i is labelled by
// the digit '1' + i.
void CWordDefinition::WriteFootnoteTable() {
    if (footnotes.Count() == 0) return;
    dictionaryHtml.Append("<table cellspacing=\"4\">");
    for (int i = 0; i < footnotes.Count(); ++i) {
        const char label = static_cast<char>('1' + i);
        dictionaryHtml.Append("<tr><td valign=top><b class=\"footnote\"><sup>");
        dictionaryHtml.Append(&label, 1);
        dictionaryHtml.Append("</sup></b></td><td><span class=\"footnote\" >");
        dictionaryHtml.Append(footnotes.Get(i));
        dictionaryHtml.Append("</span></td></tr>");
    }
    dictionaryHtml.Append("</table>");
}

// Fills the header of every begun view and closes it. With a hyphenated form
// or a pronunciation the header closes its paragraph early and opens the
// pronunciation paragraph, which the view's own "</p>" then closes.
void CWordDefinition::Finish(const CSimpleString& speakerHtml) {
    if (dictionaryHtml.GetLength() > 0) {
        header.Assign(TextOf(headword));
        if (hyphenation.GetLength() > 0 || pronunciation.GetLength() > 0) {
            header.Append("</p><p class=\"pron\"><a href=\"~showipa\">");
            header.Append(TextOf(hyphenation));
            if (pronunciation.GetLength() > 0) {
                header.Append(" /");
                header.Append(TextOf(pronunciation));
                header.Append("/");
            }
            header.Append("</a>");
        }
        header.Append(TextOf(speakerHtml));
        CloseView(dictionaryHtml, TextOf(header));
    }
    if (linksHtml.GetLength() > 0) CloseView(linksHtml, TextOf(headword));
    if (thesaurusHtml.GetLength() > 0) CloseView(thesaurusHtml, TextOf(headword));
}

void CWordDefinition::CloseView(CSimpleString& view, const char* headerText) {
    view.ReplaceAll(kHeaderPlaceholder, headerText);
    view.Append(kViewClosing);
}
