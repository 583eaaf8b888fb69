// Arbitrary words through the answers that take a word: the definition, a
// run of index words, the pronunciation recording, the search by meaning,
// spelling suggestions, sounds-like and wildcard words (the word as pattern
// and as the headword to start after), and a random word. Every request must
// deliver exactly one answer to its callback, and the answer must be valid
// JSON.
//
// Input: one byte of options, then the word (it ends at its first NUL, as a
// string from the script side does). Option bits 0-5 give the listing count
// and the search by meaning's result count (the other searches' count is
// that minus 4, so zero and negative counts occur too), bit 6 the listing's
// direction and the word filter, bit 7 whether a recording is offered for
// the word.
#include <SDL.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "db/SmartFile.h"
#include "db/Trie.h"
#include "db/WordList.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/SeedDictionaries.h"
#include "host/AudioFiles.h"
#include "host/DictionaryAnswers.h"
#include "host/MeaningAnswer.h"
#include "host/RequestEvent.h"
#include "host/SearchAnswers.h"
#include "meaning/MeaningFormat.h"
#include "meaning/MeaningIndex.h"
#include "meaning/MeaningIndexWriter.h"
#include "platform/PDLFake.h"
#include "search/SearchDataWriter.h"

namespace {

const char kIPATable[] = "k\t<i>k</i>\n@\t&#601;\n# comment\nr\t&#633;\n";
// "sound", compressed: what a finished download holds.
const uint8_t kRecording[] = {0x78, 0x9c, 0x2b, 0xce, 0x2f, 0xcd, 0x4b,
                              0x01, 0x00, 0x06, 0x9f, 0x02, 0x2a};

bool IsUtf8(const std::string& text) {
    try {
        nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::exception&) {
        return false;
    }
}

// A word that is not UTF-8 is echoed as received (the bridge repairs the
// text on its way out), so only the JSON structure of its answer is checked.
bool IsValidAnswer(std::string answer, bool strictUtf8) {
    if (!strictUtf8) {
        for (char& c : answer) {
            if (static_cast<unsigned char>(c) >= 0x80) c = 'x';
        }
    }
    return nlohmann::json::accept(answer);
}

void ExpectOneAnswer(const char* callback, bool strictUtf8) {
    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    if (calls.size() != 1 || calls[0].function != callback || calls[0].params.size() != 1 ||
        !IsValidAnswer(calls[0].params[0], strictUtf8)) {
        fprintf(stderr, "bad answer to %s: %zu calls\n", callback, calls.size());
        for (const pdlfake::ScriptCall& call : calls) {
            fprintf(stderr, "  %s(%s)\n", call.function.c_str(),
                    call.params.empty() ? "" : call.params[0].c_str());
        }
        abort();
    }
}

SDL_UserEvent Request(int code, const char* word, void* data2) {
    SDL_UserEvent e{};
    e.type = SDL_USEREVENT;
    e.code = code;
    e.data1 = strdup(word);
    e.data2 = data2;
    return e;
}

int32_t CollectHeadword(void* context, const char* word, uint32_t) {
    static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

// The search data of data/wordnet.lxd, every headword with one sense and
// every third one on the filter list, a third of them everyday words.
bool WriteSearchData() {
    CDictDatabase database;
    if (!database.Open("data/wordnet.lxd")) return false;
    std::vector<std::string> headwords;
    ListIndexWords(&database, CollectHeadword, &headwords, "", true, false);
    CSearchDataWriter writer(static_cast<uint32_t>(database.file->GetSize()),
                             database.wordList->GetEntryCount());
    for (size_t i = 0; i < headwords.size(); ++i) {
        SearchWord word;
        word.headword = headwords[i];
        word.senseCount = 1;
        word.tagCount = static_cast<uint32_t>(i);
        word.tier = static_cast<uint32_t>(i % 3);
        if (!writer.AddWord(word)) return false;
        if (i % 3 == 0) writer.AddFilterWord(headwords[i]);
    }
    std::vector<unsigned char> bytes;
    return writer.Finish(&bytes) &&
           lxfuzz::WriteFile("data/search.lxs", bytes.data(), bytes.size());
}

SearchArguments* SearchArgumentsFor(int32_t count, const std::string& after) {
    SearchArguments* arguments =
        static_cast<SearchArguments*>(malloc(sizeof(SearchArguments) + after.size()));
    if (arguments == nullptr) abort();
    arguments->count = count;
    memcpy(arguments->after, after.c_str(), after.size() + 1);
    return arguments;
}

void AskSearches(const std::string& word, int32_t count, bool strict) {
    const std::pair<int, const char*> searches[] = {
        {kRequestGetSpellingSuggestions, "Callback_GetSpellingSuggestions"},
        {kRequestGetSoundsLike, "Callback_GetSoundsLike"},
        {kRequestGetWildcardWords, "Callback_GetWildcardWords"}};
    for (const auto& search : searches) {
        AnswerSearchRequest(Request(search.first, word.c_str(), SearchArgumentsFor(count, word)));
        ExpectOneAnswer(search.second, strict);
    }
    AnswerSearchRequest(Request(kRequestGetRandomWord, "", nullptr));
    ExpectOneAnswer("Callback_GetRandomWord", true);
    AnswerSearchRequest(Request(kRequestGetCommonWord, "", nullptr));
    ExpectOneAnswer("Callback_GetCommonWord", true);
    // The count stands for a day, before and after 1970.
    AnswerSearchRequest(
        Request(kRequestGetWordOfTheDay, "", reinterpret_cast<void*>(intptr_t{count})));
    ExpectOneAnswer("Callback_GetWordOfTheDay", true);
}

// A meaning index over the senses of a few headwords of the dictionary,
// each found by its headword and a word of its definition.
void WriteMeaningIndex() {
    CDictDatabase dictionary;
    uint32_t size = 0, check = 0;
    if (!dictionary.Open("data/wordnet.lxd") ||
        !CMeaningIndex::IdentifyDictionary(&dictionary, &size, &check)) {
        abort();
    }
    CMeaningIndexWriter writer;
    writer.SetDictionary(size, check);
    const char* const words[][2] = {{"cat", "feline"},
                                    {"man", "male"},
                                    {"run", "fast"},
                                    {"Paris", "capital"},
                                    {"good", "fine"}};
    for (const auto& word : words) {
        char key[lxd::kKeyBufferSize];
        snprintf(key, sizeof key, "%s", word[0]);
        uint32_t refs[16];
        const int count = dictionary.wordList->GetRecordRefs(
            dictionary.wordList->FindWord(key, 1, true), refs, 16);
        for (int i = 0; i < count; ++i) {
            if (lxd::RefKind(refs[i]) < lxd::kFirstSenseKind ||
                lxd::RefKind(refs[i]) > lxd::kLastSenseKind) {
                continue;
            }
            writer.AddSense({lxd::RefPosition(refs[i]) | lxm::kSenseNoun, 1,
                             static_cast<uint8_t>(i + 1), static_cast<uint8_t>(40 * i)});
            writer.AddTerm(key, lxm::kFieldMember);
            writer.AddTerm(word[1], lxm::kFieldGloss);
        }
    }
    if (!writer.WriteFile("data/meaning.lxm")) abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lxfuzz::EnterScratchDirectory();
    mkdir("downloads", 0700);
    CDictWriter writer;
    if (!lxfuzz::WriteLinkedDictionary(writer) || !writer.WriteFile("data/wordnet.lxd") ||
        !WriteSearchData()) {
        fprintf(stderr, "cannot write the dictionary: %s\n", writer.GetError().c_str());
        abort();
    }
    WriteMeaningIndex();
    lxfuzz::WriteFile("data/IPA_to_IMG.txt", reinterpret_cast<const uint8_t*>(kIPATable),
                      sizeof kIPATable - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t options = data[0];
    std::string word(reinterpret_cast<const char*>(data) + 1, size - 1);
    word.resize(strlen(word.c_str()));
    const bool strict = IsUtf8(word);

    AnswerGetDefinition(Request(kRequestGetDefinition, word.c_str(), nullptr));
    ExpectOneAnswer("Callback_GetDefinition", strict);

    uint32_t packed = (options & 0x3F) | ((options & 0x40) ? kListForward | kListExclusive : 0);
    AnswerGetIndexWords(
        Request(kRequestGetIndexWords, word.c_str(), reinterpret_cast<void*>(uintptr_t{packed})));
    ExpectOneAnswer("Callback_GetIndexWords", strict);

    void* download = nullptr;
    if (options & 0x80) {
        if (!lxfuzz::WriteFile("downloads/recording", kRecording, sizeof kRecording)) abort();
        download = strdup("downloads/recording");
    }
    AnswerGetAudioFile(Request(kRequestGetAudioFile, word.c_str(), download));
    ExpectOneAnswer("Callback_GetAudioFile", strict);

    AnswerSearchDefinitions(Request(kRequestSearchDefinitions, word.c_str(),
                                    reinterpret_cast<void*>(uintptr_t{options & 0x3Fu})));
    ExpectOneAnswer("Callback_SearchDefinitions", strict);
    if (download != nullptr) CleanUpAudioCache();

    SetWordFilterEnabled((options & 0x40) != 0);
    AskSearches(word, static_cast<int32_t>(options & 0x3F) - 4, strict);
    return 0;
}
