// The result of one rendering: the headword, its hyphenated form and
// pronunciation, the selected sense number and the three HTML views with the
// footnotes. Emptied, not freed, between requests so its buffers are reused.
#ifndef LEXORA_RENDER_WORDDEFINITION_H
#define LEXORA_RENDER_WORDDEFINITION_H

#include <cstdint>

#include "render/SimpleString.h"
#include "render/WordCollection.h"

class CWordDefinition {
public:
    enum View { kDictionary, kLinks, kThesaurus };

    CWordDefinition();
    virtual ~CWordDefinition();
    CWordDefinition(const CWordDefinition&) = delete;
    CWordDefinition& operator=(const CWordDefinition&) = delete;

    const char* GetDictionaryHtml() const;
    const char* GetLinksHtml() const;
    const char* GetThesaurusHtml() const;
    bool HasDictionary() const { return dictionaryHtml.GetLength() > 0; }
    bool HasLinks() const { return linksHtml.GetLength() > 0; }
    bool HasThesaurus() const { return thesaurusHtml.GetLength() > 0; }
    bool IsSingleSynset() const { return singleSynset > 0; }
    int32_t GetSingleSynset() const { return singleSynset; }
    const char* GetHeadword() const;
    const char* GetHyphenation() const;
    const char* GetPronunciation() const;
    int FootnoteCount() const { return footnotes.Count(); }

    void Reset(const char* headword, int32_t singleSynset);
    void BeginView(View view);
    void AppendToView(const char* text, int32_t length);
    void SetHyphenation(const char* text, int32_t length);
    void SetPronunciationText(const char* text, int32_t length);
    int AddFootnote(const char* text, int32_t length);
    void WriteFootnoteTable();
    void Finish(const CSimpleString& speakerHtml);

private:
    CSimpleString headword;
    CSimpleString hyphenation;
    CSimpleString pronunciation;
    int32_t singleSynset;
    CSimpleString dictionaryHtml;
    CSimpleString linksHtml;
    CSimpleString thesaurusHtml;
    CWordCollection footnotes;
    CSimpleString* currentView;
    CSimpleString header;  // reused while the header is assembled

    void CloseView(CSimpleString& view, const char* headerText);
};

#endif  // LEXORA_RENDER_WORDDEFINITION_H
