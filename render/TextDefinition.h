// The plain-text page of one definition: collects the text renderer's output
// by its codes into the dictionary, links and thesaurus views, and finishes
// each begun view with its heading (the dictionary's carries the hyphenated
// form and the pronunciation) wrapped to a width. Emptied, not freed,
// between requests so its buffers are reused.
#ifndef LEXORA_RENDER_TEXTDEFINITION_H
#define LEXORA_RENDER_TEXTDEFINITION_H

#include <cstdint>

#include "render/SimpleString.h"
#include "render/WordCollection.h"

class CTextDefinition {
public:
    enum View { kDictionary, kLinks, kThesaurus, kViewCount };

    CTextDefinition();
    virtual ~CTextDefinition();
    CTextDefinition(const CTextDefinition&) = delete;
    CTextDefinition& operator=(const CTextDefinition&) = delete;

    // The output function for CTextRender; `context` is the CTextDefinition.
    // Files each piece by its code; an unknown code answers 0.
    static int32_t Output(void* context, const char* text, int32_t length, int32_t code);

    // Starts a new page for `headword`; every view is emptied.
    void Reset(const char* headword, int32_t singleSynset);
    // Adds the headings to every begun view and wraps it to `width` columns
    // (0: only overlong lines are broken).
    void Finish(int width);

    // A finished view: lines ending in '\n'; "" when the view was not begun.
    const char* GetView(View view) const;
    bool HasView(View view) const { return begun[view]; }
    const char* GetHeadword() const;
    int32_t GetSingleSynset() const { return singleSynset; }

private:
    void Append(const char* text, int32_t length);
    void SetHyphenation(const char* text, int32_t length);
    void WriteForms();
    void FinishView(View view, int width);

    CSimpleString headword;
    CSimpleString hyphenation;    // "·" at each break; empty without breaks
    CSimpleString pronunciation;  // the last pronunciation record, as stored
    int32_t singleSynset;         // n of a request word:n, else 0
    CSimpleString views[kViewCount];
    bool begun[kViewCount];  // the renderer began the view
    CWordCollection forms;   // notes on inflected forms, numbered from 1
    View current;            // where OUTPUT_TEXT appends
    CSimpleString scratch;   // reused while a view's heading and text are joined
};

#endif  // LEXORA_RENDER_TEXTDEFINITION_H
