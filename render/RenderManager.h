// Turns a requested word into the three finished HTML views of its
// definition. Owns the reused CWordDefinition, the speaker-link HTML and the
// IPA table; holds the database without owning it.
#ifndef LEXORA_RENDER_RENDERMANAGER_H
#define LEXORA_RENDER_RENDERMANAGER_H

#include <cstdint>

#include "render/Render.h"
#include "render/SimpleString.h"
#include "render/WordDefinition.h"

class CDictDatabase;
class CIPAConversion;

// The output function given to the renderer; `context` is the CRenderManager.
// Files each piece into the manager's definition by its output code.
int32_t OutputHandler(void* context, const char* text, int32_t length, int32_t code);

// Runs one render of the entry at trie `position`: the hyphenated headword
// (code 1), then the HTML renderer over the entry's record references. False
// when the entry has no references or an output call stopped the render.
bool RenderEntry(CDictDatabase* database, OutputFunction output, void* context,
                 const char* headword, uint32_t position, int32_t singleSynset);
// The same with any renderer, which brings its own output function.
bool RenderEntryWith(CDictDatabase* database, CRender* render, const char* headword,
                     uint32_t position, int32_t singleSynset);

// Looks up a request word ("word" or "word:n") as RenderWord does: `copy`
// (lxd::kKeyBufferSize bytes) gets the word without ":n", rewritten to the
// headword found; `*singleSynset` gets n (0 without it). False when the word
// is not found or does not fit; `copy` then holds what the lookup left.
bool LookupRequestWord(CDictDatabase* database, const char* word, char* copy, uint32_t* position,
                       int32_t* singleSynset);

class CRenderManager {
public:
    explicit CRenderManager(CDictDatabase* database);
    virtual ~CRenderManager();
    CRenderManager(const CRenderManager&) = delete;
    CRenderManager& operator=(const CRenderManager&) = delete;

    // Stores a copy of the speaker-link HTML; null empties it. False when
    // the copy could not be made (the link is then empty).
    bool SetSpeakerHtml(const char* html);
    // Loads the IPA substitution table; false when the file cannot be read.
    bool LoadIPATable(const char* path);
    // Stores the pronunciation in the definition, converted through the table.
    void SetPronunciation(const char* text, int32_t length);
    // Renders `word` (optionally "word:n"); `position` is the trie position the
    // caller's lookup found, or 0 to search. True when the word was found.
    bool RenderWord(const char* word, uint32_t position);
    // The result of the last RenderWord, valid until the next one.
    CWordDefinition* GetWordDefinition() { return &definition; }

private:
    CDictDatabase* database;        // not owned
    CIPAConversion* ipaConversion;  // owned, null until LoadIPATable
    CWordDefinition definition;     // reused for every request
    CSimpleString speakerHtml;      // appended to the dictionary header
};

#endif  // LEXORA_RENDER_RENDERMANAGER_H
