// Turns a requested word into the finished plain-text views of its
// definition: the lookup and entry walk of the HTML render manager, with the
// text renderer and page. Holds the database without owning it; one request
// at a time.
#ifndef LEXORA_RENDER_TEXTRENDERMANAGER_H
#define LEXORA_RENDER_TEXTRENDERMANAGER_H

#include <cstdint>

#include "render/TextDefinition.h"

class CDictDatabase;

class CTextRenderManager {
public:
    // Lines are wrapped to `width` columns (0: only overlong lines are broken).
    CTextRenderManager(CDictDatabase* database, int width);
    virtual ~CTextRenderManager();
    CTextRenderManager(const CTextRenderManager&) = delete;
    CTextRenderManager& operator=(const CTextRenderManager&) = delete;

    // Renders `word` (optionally "word:n" for the links of sense n) found by
    // the lookup with its inflection rules; `position` is a trie position
    // already found, or 0 to search. True when the word was found.
    bool RenderWord(const char* word, uint32_t position);
    // The result of the last RenderWord, valid until the next one.
    const CTextDefinition& GetDefinition() const { return definition; }

private:
    CDictDatabase* database;     // not owned
    int width;                   // wrapping width of the views
    CTextDefinition definition;  // reused for every request
};

#endif  // LEXORA_RENDER_TEXTRENDERMANAGER_H
