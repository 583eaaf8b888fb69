// The renderer interface: turns the record references of one headword into
// HTML pieces handed, in order, to an output function with a code saying where
// each piece goes. The renderer builds no page itself.
#ifndef LEXORA_RENDER_RENDER_H
#define LEXORA_RENDER_RENDER_H

#include <cstddef>
#include <cstdint>

#include "render/WordCollection.h"

class CCompressedData;
class CSimpleString;

// Receives every piece of output. `length` < 0: `text` is NUL-terminated; 0:
// nothing to write; > 0: exactly that many bytes, not terminated. Returns 0 to
// stop the render; for OUTPUT_FOOTNOTE it returns the footnote's index or -1.
typedef int32_t (*OutputFunction)(void* context, const char* text, int32_t length, int32_t code);

enum OutputCode : int32_t {
    OUTPUT_HYPHENATION = 1,       // the headword with "*" at each hyphenation point
    OUTPUT_BEGIN_DICTIONARY = 2,  // begin the dictionary view
    OUTPUT_BEGIN_LINKS = 3,       // begin the links view
    OUTPUT_BEGIN_THESAURUS = 4,   // begin the thesaurus view
    OUTPUT_TEXT = 5,              // HTML for the view begun last
    OUTPUT_FOOTNOTE = 6,          // one footnote's HTML; answers its index or -1
    OUTPUT_FOOTNOTE_TABLE = 9,    // place the footnote table in the dictionary view
    OUTPUT_PRONUNCIATION = 10,    // the text of one pronunciation record
};

// A character of record markup and the text written in its place.
struct MarkupRule {
    char delimiter;
    const char* replacement;
};

// Markup a renderer puts around a piece that CRender writes for it.
struct PieceMarkup {
    const char* open;
    const char* close;
};

// Kinds the renderers act on: sense records and thesaurus lines.
bool IsSenseKind(uint32_t kind);
bool IsThesaurusKind(uint32_t kind);
// Which of the four link collections (noun, verb, adjective, adverb) a sense
// kind feeds, or -1; kLinkGroupKinds names the heading kind of each.
int LinkGroupOf(uint32_t kind);
extern const uint32_t kLinkGroupKinds[4];
// Lower-cases 'A'..'Z' in place; other bytes stay.
void LowerCaseLetters(CSimpleString* text);

// Base of the renderers. Holds the output function with its context and the
// record store (not owned); wordForms holds the headword as item 0 during a render.
class CRender {
public:
    CRender(OutputFunction output, void* context, CCompressedData* records)
        : output(output), context(context), records(records) {}
    virtual ~CRender() {}
    CRender(const CRender&) = delete;
    CRender& operator=(const CRender&) = delete;

    // Renders the definition of `word` (NUL-terminated headword) from
    // references[0 .. count-1]. `singleSynset` n in 1..count selects
    // references[n-1] for the links view; anything else renders all links.
    // False when an output call returned 0 and stopped the render.
    virtual bool Render(const char* word, const uint32_t* references, int count,
                        int singleSynset) = 0;

    // Starts a render of `word`: wordForms holds the headword alone. Returns
    // the reference count, negative counts as 0.
    int StartRender(const char* word, int count);
    // True when `singleSynset` n selects a sense record, references[n-1],
    // whose own links view is wanted; any other selection shows every link.
    static bool SelectsOneSense(const uint32_t* references, int count, int singleSynset);
    // Item 0 of wordForms, or "" before the first render.
    const char* Headword() const { return wordForms.Count() > 0 ? wordForms.Get(0) : ""; }
    // True when one of the word forms occurs in the piece (an empty form
    // always does): only such sample sentences are shown.
    bool MentionsWordForm(const char* piece, int32_t length) const;
    // Writes the text as OUTPUT_TEXT run by run: each delimiter of `rules`
    // ends the pending run and is replaced by its text; all other bytes are
    // written as they are. False when an output call returned 0.
    bool WriteMarkedUp(const char* text, int32_t length, const MarkupRule* rules, size_t count);
    // Writes a gloss line up to its first "$" (the definition) and, with
    // samples, each later "$" piece that mentions a word form, between the
    // markup's open and close texts. False when an output call returned 0.
    bool WriteGloss(const char* text, int32_t length, bool withSamples, const PieceMarkup& sample);
    // Writes each readable, non-empty origin record among the references
    // between the markup's texts, its own markup replaced by `rules`.
    bool WriteOrigins(const uint32_t* references, int count, const PieceMarkup& origin,
                      const MarkupRule* rules, size_t ruleCount);
    // Writes the thesaurus lines among the references: begins the thesaurus
    // view before the first, writes heading.open, the name `nameOf` gives
    // the kind and heading.close whenever the kind changes (after
    // `separator` unless it is the first heading), then each readable line
    // between line.open and line.close, its markup replaced by `rules`.
    bool WriteThesaurusLines(const uint32_t* references, int count, const char* (*nameOf)(uint32_t),
                             const PieceMarkup& heading, const char* separator,
                             const PieceMarkup& line, const MarkupRule* rules, size_t ruleCount);
    // Fills groups[0..3] (see LinkGroupOf) with the links of every sense
    // among the references; returns how many groups are not empty.
    int CollectAllLinks(const uint32_t* references, int count, CWordCollection* groups);

    OutputFunction output;      // where every piece of output goes
    void* context;              // first argument of every output call
    CCompressedData* records;   // the record store, not owned
    CWordCollection wordForms;  // the headword, then the inflected forms found
};

#endif  // LEXORA_RENDER_RENDER_H
