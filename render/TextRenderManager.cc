#include "render/TextRenderManager.h"

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "render/RenderManager.h"
#include "render/TextRender.h"

CTextRenderManager::CTextRenderManager(CDictDatabase* database, int width)
    : database(database), width(width) {}

CTextRenderManager::~CTextRenderManager() {}

bool CTextRenderManager::RenderWord(const char* word, uint32_t position) {
    char headword[lxd::kKeyBufferSize];
    int32_t singleSynset = 0;
    const bool found = LookupRequestWord(database, word, headword, &position, &singleSynset);
    definition.Reset(headword, singleSynset);
    if (found) {
        CTextRender render(CTextDefinition::Output, &definition, database->records);
        RenderEntryWith(database, &render, headword, position, singleSynset);
    }
    definition.Finish(width);
    return found;
}
