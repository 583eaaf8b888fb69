// Renders a headword's records as plain text for terminals and DICT clients,
// through the same output codes as the HTML renderer: the dictionary view
// (numbered senses with samples and synonyms, forms as numbered notes, the
// origin), the links view and the thesaurus view. Pieces carry no markup;
// each line starts with its indentation and ends with '\n', so a page can
// wrap it. Holds nothing but the note numbers of the current render.
#ifndef LEXORA_RENDER_TEXTRENDER_H
#define LEXORA_RENDER_TEXTRENDER_H

#include <cstdint>

#include "render/Render.h"

class CSimpleString;

class CTextRender : public CRender {
public:
    CTextRender(OutputFunction output, void* context, CCompressedData* records);
    ~CTextRender() override {}

    bool Render(const char* word, const uint32_t* references, int count, int singleSynset) override;

private:
    enum { kNounNote, kVerbNote, kAdjectiveNote, kAdverbNote, kNoteCount };

    // Each returns false when an output call returned 0.
    // One line "past tense of eat" per form-of record.
    bool WriteFormOfLines(const uint32_t* references, int count);
    bool WriteFormNotes(const uint32_t* references, int count);
    bool WriteSenses(const uint32_t* references, int count);
    bool WriteSense(uint32_t reference, int number);
    bool WriteAllLinks(const uint32_t* references, int count);
    bool WriteSenseLinks(uint32_t reference);
    bool WriteLinkTypes(CWordCollection* collection);
    bool WriteThesaurus(const uint32_t* references, int count);
    // A part-of-speech heading, after a blank line unless it is the first of its view.
    bool WriteHeading(uint32_t kind, bool first, int note);
    bool Write(const char* text, int32_t length);
    bool Write(const char* text);
    int32_t AddNote(const CSimpleString& text);
    int32_t NoteOf(uint32_t kind) const;

    int32_t noteIndex[kNoteCount];  // note number per part of speech, -1 for none
};

#endif  // LEXORA_RENDER_TEXTRENDER_H
