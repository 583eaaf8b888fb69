// Renders a headword's records into the dictionary, links and thesaurus views
// as HTML pieces passed to the output function in order. Holds nothing but the
// footnote numbers of the current render; every pass stops when output says 0.
#ifndef LEXORA_RENDER_HTMLRENDER_H
#define LEXORA_RENDER_HTMLRENDER_H

#include <cstdint>

#include "render/Render.h"

class CSimpleString;

class CHtmlRender : public CRender {
public:
    CHtmlRender(OutputFunction output, void* context, CCompressedData* records);
    ~CHtmlRender() override {}

    bool Render(const char* word, const uint32_t* references, int count, int singleSynset) override;

    // The passes of Render, in the order it runs them. Each returns false when
    // an output call returned 0.
    bool RenderInflections(const uint32_t* references, int count);
    bool RenderDefinitionList(const uint32_t* references, int count);
    bool RenderDefinition(uint32_t reference, int index);
    bool RenderGloss(const char* text, int32_t length, bool withSamples);
    bool RenderEtymology(const uint32_t* references, int count);
    bool RenderAllLinks(const uint32_t* references, int count);
    bool RenderLinkDefinition(uint32_t reference);
    bool RenderLinkGroups(CWordCollection* collection, uint32_t kind);
    bool RenderThesaurus(const uint32_t* references, int count);

    bool WriteText(const char* text, int32_t length);
    // A clickable word; "</a>, " follows unless it is the last of its list.
    bool WriteWordLink(const char* word, bool last);
    // Superscript number index + 1; nothing for index < 0.
    bool WriteFootnoteMark(int index);
    // Icon linking to headword:n, n = index + 1 in the whole reference array.
    bool WriteLinkIcon(int index);

    // Display names; "" and "other" for kinds without one.
    static const char* GetPartOfSpeechName(uint32_t kind);
    static const char* GetLinkTypeName(uint32_t kind);

private:
    enum { kNounNote, kVerbNote, kAdjectiveNote, kAdverbNote, kNoteCount };
    bool WriteString(const char* text);
    void AddForm(CSimpleString* list, const char* label, const char* separator, const char* text,
                 int32_t length);
    void AddUsage(CSimpleString* usage, const char* text, int32_t length);
    int32_t AddFootnote(const CSimpleString& text);
    int32_t NoteForHeading(uint32_t kind) const;

    int32_t footnoteIndex[kNoteCount];  // footnote number per part of speech, -1 for none
};

#endif  // LEXORA_RENDER_HTMLRENDER_H
