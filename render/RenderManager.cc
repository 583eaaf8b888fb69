#include "render/RenderManager.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/Hyphenator.h"
#include "db/Lookup.h"
#include "db/WordList.h"
#include "render/HtmlRender.h"
#include "render/IPAConversion.h"

namespace {

constexpr size_t kWordBufferSize = lxd::kKeyBufferSize;

// The number after the first ':' of `word` by atoi's rules, clamped to the
// 32-bit range; the word is cut at that ':'. 0 when there is no ':'.
int32_t SplitSenseNumber(char* word) {
    char* colon = strchr(word, ':');
    if (colon == nullptr) return 0;
    *colon = '\0';
    const long number = strtol(colon + 1, nullptr, 10);
    if (number > INT32_MAX) return INT32_MAX;
    if (number < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(number);
}

int32_t BeginViewWith(CWordDefinition* definition, CWordDefinition::View view, const char* text,
                      int32_t length) {
    definition->BeginView(view);
    if (text != nullptr) definition->AppendToView(text, length);
    return 1;
}

}  // namespace

CRenderManager::CRenderManager(CDictDatabase* database)
    : database(database), ipaConversion(nullptr) {}

CRenderManager::~CRenderManager() {
    delete ipaConversion;
}

bool CRenderManager::SetSpeakerHtml(const char* html) {
    speakerHtml.Assign(html, -1);
    return html == nullptr || static_cast<size_t>(speakerHtml.GetLength()) == strlen(html);
}

bool CRenderManager::LoadIPATable(const char* path) {
    if (ipaConversion == nullptr) ipaConversion = new (std::nothrow) CIPAConversion();
    return ipaConversion != nullptr && ipaConversion->LoadTable(path);
}

void CRenderManager::SetPronunciation(const char* text, int32_t length) {
    if (ipaConversion == nullptr) {
        definition.SetPronunciationText(text, length);
        return;
    }
    CSimpleString converted;
    converted.Assign(text, length);
    ipaConversion->Convert(converted);
    definition.SetPronunciationText(converted.GetBuffer(), converted.GetLength());
}

bool CRenderManager::RenderWord(const char* word, uint32_t position) {
    char copy[kWordBufferSize];
    int32_t singleSynset = 0;
    const bool found = LookupRequestWord(database, word, copy, &position, &singleSynset);
    definition.Reset(copy, singleSynset);
    if (found) RenderEntry(database, OutputHandler, this, copy, position, singleSynset);
    definition.Finish(speakerHtml);
    return found;
}

// A word that does not fit the working copy is not found: cutting it would
// look up a different word.
bool LookupRequestWord(CDictDatabase* database, const char* word, char* copy, uint32_t* position,
                       int32_t* singleSynset) {
    copy[0] = '\0';
    *singleSynset = 0;
    if (word == nullptr || database == nullptr || strnlen(word, kWordBufferSize) >= kWordBufferSize)
        return false;
    strcpy(copy, word);
    *singleSynset = SplitSenseNumber(copy);
    return LookupWord(database, copy, kWordBufferSize, position, true);
}

int32_t OutputHandler(void* context, const char* text, int32_t length, int32_t code) {
    CRenderManager* manager = static_cast<CRenderManager*>(context);
    CWordDefinition* definition = manager->GetWordDefinition();
    switch (code) {
        case OUTPUT_HYPHENATION:
            definition->SetHyphenation(text, length);
            return 1;
        case OUTPUT_BEGIN_DICTIONARY:
            return BeginViewWith(definition, CWordDefinition::kDictionary, text, length);
        case OUTPUT_BEGIN_LINKS:
            return BeginViewWith(definition, CWordDefinition::kLinks, text, length);
        case OUTPUT_BEGIN_THESAURUS:
            return BeginViewWith(definition, CWordDefinition::kThesaurus, text, length);
        case OUTPUT_TEXT:
            definition->AppendToView(text, length);
            return 1;
        case OUTPUT_FOOTNOTE:
            return definition->AddFootnote(text, length);
        case OUTPUT_FOOTNOTE_TABLE:
            definition->WriteFootnoteTable();
            return 1;
        case OUTPUT_PRONUNCIATION:
            manager->SetPronunciation(text, length);
            return 1;
        default:
            return 0;
    }
}

bool RenderEntry(CDictDatabase* database, OutputFunction output, void* context,
                 const char* headword, uint32_t position, int32_t singleSynset) {
    CHtmlRender render(output, context, database->records);
    return RenderEntryWith(database, &render, headword, position, singleSynset);
}

bool RenderEntryWith(CDictDatabase* database, CRender* render, const char* headword,
                     uint32_t position, int32_t singleSynset) {
    if (database->hyphenator != nullptr) {
        char* hyphenated = database->hyphenator->Hyphenate(headword);
        if (hyphenated != nullptr) {
            const int32_t result =
                render->output(render->context, hyphenated, -1, OUTPUT_HYPHENATION);
            free(hyphenated);
            if (result == 0) return false;
        }
    }
    uint32_t references[lxd::kMaxRenderedRefs];
    const int count =
        database->wordList != nullptr
            ? database->wordList->GetRecordRefs(position, references, lxd::kMaxRenderedRefs)
            : 0;
    if (count == 0) return false;
    return render->Render(headword, references, count, singleSynset);
}
