#include "host/SearchMethods.h"

#include <syslog.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/MethodHandlers.h"
#include "host/RequestEvent.h"
#include "host/SearchAnswers.h"
#include "platform/PDL.h"

namespace {

// An integer parameter arrives as its decimal text; anything else is refused.
bool ReadInteger(PDL_JSParameters* params, int index, int32_t* value) {
    const char* text = PDL_GetJSParamString(params, index);
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    long number = strtol(text, &end, 10);
    if (*end != '\0') return false;
    if (errno == ERANGE || number > INT32_MAX || number < INT32_MIN) {
        number = number < 0 ? INT32_MIN : INT32_MAX;
    }
    *value = static_cast<int32_t>(number);
    return true;
}

PDL_bool RefuseType(PDL_JSParameters* params, const char* method) {
    syslog(LOG_INFO, "**** wrong type of parameters for %s", method);
    char message[64];
    snprintf(message, sizeof message, "wrong type of parameters for %s", method);
    PDL_JSException(params, message);
    return 0;
}

// Posts a search request whose word is parameter 0 and count parameter 1;
// `afterIndex` is the parameter naming the headword to start after, or -1.
PDL_bool PostSearch(PDL_JSParameters* params, const char* method, int code, int afterIndex) {
    int32_t count = 0;
    if (!ReadInteger(params, 1, &count)) return RefuseType(params, method);
    const char* after = afterIndex < 0 ? "" : PDL_GetJSParamString(params, afterIndex);
    if (after == nullptr) after = "";
    size_t afterLength = strlen(after);
    SearchArguments* arguments =
        static_cast<SearchArguments*>(malloc(sizeof(SearchArguments) + afterLength));
    if (arguments != nullptr) {
        arguments->count = count;
        memcpy(arguments->after, after, afterLength + 1);
    }
    char* word = strdup(PDL_GetJSParamString(params, 0));
    return PostRequest(params, code, word, arguments, word != nullptr && arguments != nullptr);
}

PDL_bool HandleGetSpellingSuggestions(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetSpellingSuggestions", 2, 2)) return 0;
    return PostSearch(params, "GetSpellingSuggestions", kRequestGetSpellingSuggestions, -1);
}

PDL_bool HandleGetSoundsLike(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetSoundsLike", 2, 2)) return 0;
    return PostSearch(params, "GetSoundsLike", kRequestGetSoundsLike, -1);
}

PDL_bool HandleGetWildcardWords(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetWildcardWords", 3, 3)) return 0;
    return PostSearch(params, "GetWildcardWords", kRequestGetWildcardWords, 2);
}

// Posts a request without parameters, or with the integer `value` in data2.
PDL_bool PostWordPick(PDL_JSParameters* params, int code, intptr_t value = 0) {
    char* none = strdup("");
    return PostRequest(params, code, none, reinterpret_cast<void*>(value), none != nullptr);
}

PDL_bool HandleGetRandomWord(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetRandomWord", 0, 0)) return 0;
    return PostWordPick(params, kRequestGetRandomWord);
}

PDL_bool HandleGetCommonWord(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetCommonWord", 0, 0)) return 0;
    return PostWordPick(params, kRequestGetCommonWord);
}

PDL_bool HandleGetWordOfTheDay(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "GetWordOfTheDay", 1, 1)) return 0;
    int32_t day = 0;
    if (!ReadInteger(params, 0, &day)) return RefuseType(params, "GetWordOfTheDay");
    return PostWordPick(params, kRequestGetWordOfTheDay, day);
}

PDL_bool HandleSetWordFilter(PDL_JSParameters* params) {
    if (!HasArgumentCount(params, "SetWordFilter", 1, 1)) return 0;
    int32_t on = 0;
    if (!ReadInteger(params, 0, &on) || (on != 0 && on != 1)) {
        return RefuseType(params, "SetWordFilter");
    }
    SetWordFilterEnabled(on == 1);
    return 1;
}

}  // namespace

void RegisterSearchMethods() {
    PDL_RegisterJSHandler("GetSpellingSuggestions", HandleGetSpellingSuggestions);
    PDL_RegisterJSHandler("GetSoundsLike", HandleGetSoundsLike);
    PDL_RegisterJSHandler("GetWildcardWords", HandleGetWildcardWords);
    PDL_RegisterJSHandler("GetRandomWord", HandleGetRandomWord);
    PDL_RegisterJSHandler("GetCommonWord", HandleGetCommonWord);
    PDL_RegisterJSHandler("GetWordOfTheDay", HandleGetWordOfTheDay);
    PDL_RegisterJSHandler("SetWordFilter", HandleSetWordFilter);
}
