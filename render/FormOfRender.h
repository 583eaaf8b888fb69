// The form-of lines of the dictionary view: for each record saying that the
// headword is also an inflected form of another headword ("past tense<TAB>eat"),
// one paragraph "past tense of <link to eat>" under the header line. A base of
// several words holds a TAB between them ("contraction<TAB>do<TAB>not"):
// each word is a link of its own, the links parted by spaces.
#ifndef LEXORA_RENDER_FORMOFRENDER_H
#define LEXORA_RENDER_FORMOFRENDER_H

#include <cstdint>

class CCompressedData;
class CHtmlRender;
class CSimpleString;

// Copies the relation and the base of the form-of record `reference` ("past
// tense", "eat"; the base keeps the TABs between its words); false when it is
// no form-of record or lacks either part.
bool ReadFormOfNote(CCompressedData* records, uint32_t reference, CSimpleString* relation,
                    CSimpleString* base);

// Writes one "<p class="formof">" paragraph per readable form-of reference,
// in reference order, through the renderer's text and word-link writers. A
// record without a relation, a TAB and a base is skipped. False when an output
// call returned 0; writes nothing when there is no such reference.
bool RenderFormOfNotes(CHtmlRender* renderer, const uint32_t* references, int count);

#endif  // LEXORA_RENDER_FORMOFRENDER_H
