// Readers of the definition records in the record store: the member list,
// gloss and link list of a sense record, and the pronunciation records. They
// keep no state; every walk stops at the end of the readable stream.
#ifndef LEXORA_RENDER_DEFINITIONRECORDS_H
#define LEXORA_RENDER_DEFINITIONRECORDS_H

#include <cstdint>

class CRender;
class CSimpleString;
class CWordCollection;
class CCompressedData;

// One entry taken from a sense record's link list.
struct SenseLink {
    uint32_t target;             // link kind in the top six bits, target position below
    unsigned char targetMember;  // 0: every member of the target synset
};

// Reads the member list of the sense record at `position` (low 26 bits).
// Members other than the headword (item 0 of the renderer's wordForms) are
// added to `collection`, preceded by `prefix` when it is nonzero; `wanted` n
// keeps member n only, 0 keeps all. `*headIndex` gets the headword's member
// number (1-based) when it is a member and is left alone otherwise. Returns
// where reading stopped: the gloss position once the whole list was read.
uint32_t ReadMembers(CRender* renderer, CWordCollection* collection, uint32_t position,
                     unsigned char wanted, unsigned char prefix, int32_t* headIndex);

// Walks the link list starting at `start`, which must lie in, or right after,
// the text the store has just read (the scan appends blocks as it goes). An
// entry is taken when its source member is 0 or `headIndex`; at most
// `maxTaken` entries are stored in `taken`. Returns the number taken.
int TakeLinks(CCompressedData* records, uint32_t start, int32_t headIndex, SenseLink* taken,
              int maxTaken);

// Fills `collection` with the other members of the sense at `reference` (prefix
// 132) and the words its headword's links lead to (prefix: the link kind), and
// `glossOut`, when not null, with the gloss. Links are followed only when the
// headword is a member. Returns the gloss position.
uint32_t CollectLinks(CRender* renderer, CWordCollection* collection, CSimpleString* glossOut,
                      uint32_t reference);

// Hands each readable pronunciation record among the references to the
// renderer's output. False when an output call returned 0.
bool EmitPronunciations(CRender* renderer, const uint32_t* references, int count);

// Compares at most n bytes of a and b with 'a'..'z' folded to capitals; stops
// at a NUL in a that b matches. Returns 0 when equal, else the difference of
// the first unequal folded pair (a minus b).
int CompareNoCase(const char* a, const char* b, int n);

#endif  // LEXORA_RENDER_DEFINITIONRECORDS_H
