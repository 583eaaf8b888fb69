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
#include "search/CommonWords.h"
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
CCommonWords* commonWords = nullptr;

// Reads the search data of the open database and loads its filter list into
// the database's filter slot. Null when the file is missing, damaged or made
// for another dictionary; the next request tries again.
const CSearchData* EnsureSearchData(CDictDatabase* database) {
    if (searchData != nullptr) return searchData;
    CSmartFile file;
    CSearchData* loaded = new (std::nothrow) CSearchData();
    CRandomWord* picker = new (std::nothrow) CRandomWord();
    int32_t dictionarySize = database->file->GetSize();
    CCommonWords* common = nullptr;
    if (loaded != nullptr && picker != nullptr && file.Open(kSearchDataPath) &&
        loaded->Load(&file, static_cast<uint32_t>(dictionarySize),
                     database->wordList->GetEntryCount()) &&
        CProfanityFilter::LoadInto(database, loaded->FilterWords())) {
        try {
            common = new CCommonWords(*loaded);
        } catch (const std::bad_alloc&) {
            common = nullptr;
        }
    }
    if (common == nullptr) {
        syslog(LOG_ERR, "*** cannot read the search data %s", kSearchDataPath);
        delete loaded;
        delete picker;
        return nullptr;
    }
    searchData = loaded;
    randomWord = picker;
    commonWords = common;
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

// The day a GetWordOfTheDay request carries in data2.
int32_t DayOf(const SDL_UserEvent& e) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(e.data2));
}

// The word a pick request asks for: a uniform draw, a draw among the common
// words, or the word of the day (never one on the filter list, whether the
// filter is on or not).
uint32_t PickWord(const SDL_UserEvent& e, const SearchSource& source, const CWordFilter* list) {
    if (source.data == nullptr) return CRandomWord::kNone;
    switch (e.code) {
        case kRequestGetRandomWord:
            return randomWord->Pick(source);
        case kRequestGetCommonWord:
            return randomWord->PickAmong(commonWords->Words(), source);
    }
    return commonWords->OfDay(DayOf(e), list);
}

void WritePickedWord(const SDL_UserEvent& e, const SearchSource& source, const CWordFilter* list,
                     FILE* out) {
    uint32_t index = PickWord(e, source, list);
    fputs("{", out);
    if (e.code == kRequestGetWordOfTheDay) {
        fprintf(out, "\"day\":%d,", DayOf(e));
    }
    fputs("\"word\":", out);
    WriteJsonString(index == CRandomWord::kNone ? "" : source.data->Word(index), out);
    fputs("}", out);
}

bool IsPickRequest(int code) {
    return code == kRequestGetRandomWord || code == kRequestGetCommonWord ||
           code == kRequestGetWordOfTheDay;
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
        case kRequestGetCommonWord:
            return "Callback_GetCommonWord";
        case kRequestGetWordOfTheDay:
            return "Callback_GetWordOfTheDay";
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
            if (IsPickRequest(e.code)) {
                WritePickedWord(e, source, database->wordFilter, answer.Stream());
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

const CWordFilter* ActiveWordFilter() {
    CDictDatabase* database = GetDatabase();
    if (!filterEnabled || EnsureSearchData(database) == nullptr) return nullptr;
    return database->wordFilter;
}

void ReleaseSearchData() {
    delete commonWords;
    commonWords = nullptr;
    delete randomWord;
    randomWord = nullptr;
    delete searchData;
    searchData = nullptr;
}
