#include "host/SearchAnswers.h"

#include <syslog.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <vector>

#include "db/DictDatabase.h"
#include "db/SmartFile.h"
#include "db/WordList.h"
#include "host/Engine.h"
#include "host/JsonAnswer.h"
#include "host/RequestEvent.h"
#include "search/ProfanityFilter.h"
#include "search/RandomWord.h"
#include "search/SearchData.h"
#include "search/SoundsLike.h"
#include "search/SpellingSuggester.h"
#include "search/WildcardSearch.h"

namespace {

const char kSearchDataPath[] = "./data/search.lxs";

std::atomic<bool> filterEnabled{false};
CSearchData* searchData = nullptr;
CRandomWord* randomWord = nullptr;

// Reads the search data of the open database and loads its filter list into
// the database's filter slot. Null when the file is missing, damaged or made
// for another dictionary; the next request tries again.
const CSearchData* EnsureSearchData(CDictDatabase* database) {
    if (searchData != nullptr) return searchData;
    CSmartFile file;
    CSearchData* loaded = new (std::nothrow) CSearchData();
    CRandomWord* picker = new (std::nothrow) CRandomWord();
    int32_t dictionarySize = database->file->GetSize();
    if (loaded == nullptr || picker == nullptr || !file.Open(kSearchDataPath) ||
        !loaded->Load(&file, static_cast<uint32_t>(dictionarySize),
                      database->wordList->GetEntryCount()) ||
        !CProfanityFilter::LoadInto(database, loaded->FilterWords())) {
        syslog(LOG_ERR, "*** cannot read the search data %s", kSearchDataPath);
        delete loaded;
        delete picker;
        return nullptr;
    }
    searchData = loaded;
    randomWord = picker;
    return searchData;
}

const char* Text(void* data) {
    return data == nullptr ? "" : static_cast<const char*>(data);
}

const SearchArguments& Arguments(const SDL_UserEvent& e) {
    static const SearchArguments none{0, {'\0'}};
    return e.data2 == nullptr ? none : *static_cast<const SearchArguments*>(e.data2);
}

size_t ListCount(int32_t count, int limit) {
    return count <= 0 ? 0 : static_cast<size_t>(std::min(count, limit));
}

void WriteWordList(const char* word, const std::vector<uint32_t>& found, const CSearchData* data,
                   FILE* out) {
    fputs("{\"word\":", out);
    WriteJsonString(word, out);
    fputs(",\"words\":[", out);
    for (size_t i = 0; i < found.size(); ++i) {
        if (i > 0) fputc(',', out);
        WriteJsonString(data->Word(found[i]), out);
    }
    fputs("]}", out);
}

std::vector<uint32_t> Search(const SDL_UserEvent& e, const SearchSource& source) {
    const char* word = Text(e.data1);
    const SearchArguments& arguments = Arguments(e);
    switch (e.code) {
        case kRequestGetSpellingSuggestions:
            return CSpellingSuggester(source).Suggest(
                word, ListCount(arguments.count, kMaxSuggestionCount));
        case kRequestGetSoundsLike:
            return FindSoundsLike(source, word, ListCount(arguments.count, kMaxSuggestionCount));
        case kRequestGetWildcardWords:
            return FindWildcardWords(source, word, ListCount(arguments.count, kMaxWildcardCount),
                                     arguments.after);
    }
    return {};
}

void WriteRandomWord(const SearchSource& source, FILE* out) {
    uint32_t index = source.data == nullptr ? CRandomWord::kNone : randomWord->Pick(source);
    fputs("{\"word\":", out);
    WriteJsonString(index == CRandomWord::kNone ? "" : source.data->Word(index), out);
    fputs("}", out);
}

const char* CallbackName(int code) {
    switch (code) {
        case kRequestGetSpellingSuggestions:
            return "Callback_GetSpellingSuggestions";
        case kRequestGetSoundsLike:
            return "Callback_GetSoundsLike";
        case kRequestGetWildcardWords:
            return "Callback_GetWildcardWords";
        case kRequestGetRandomWord:
            return "Callback_GetRandomWord";
    }
    return nullptr;
}

}  // namespace

void AnswerSearchRequest(const SDL_UserEvent& e) {
    const char* callback = CallbackName(e.code);
    if (callback != nullptr) {
        CAnswer answer;
        if (!EnsureDatabaseOpen()) {
            fputs(kDatabaseErrorAnswer, answer.Stream());
        } else {
            CDictDatabase* database = GetDatabase();
            const CSearchData* data = EnsureSearchData(database);
            SearchSource source{data, filterEnabled ? database->wordFilter : nullptr};
            if (e.code == kRequestGetRandomWord) {
                WriteRandomWord(source, answer.Stream());
            } else {
                std::vector<uint32_t> found;
                if (data != nullptr) found = Search(e, source);
                WriteWordList(Text(e.data1), found, data, answer.Stream());
            }
        }
        answer.Deliver(callback);
    }
    FreeRequestCopies(e);
}

void SetWordFilterEnabled(bool on) {
    filterEnabled = on;
}

bool IsWordFilterEnabled() {
    return filterEnabled;
}

void ReleaseSearchData() {
    delete randomWord;
    randomWord = nullptr;
    delete searchData;
    searchData = nullptr;
}
