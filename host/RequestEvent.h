// The request events that the method handlers post to the SDL queue and the
// event loop hands to the answer routines.
#ifndef LEXORA_HOST_REQUESTEVENT_H
#define LEXORA_HOST_REQUESTEVENT_H

#include <SDL.h>

#include <cstdint>

// SDL user-event codes of the four answered requests. data1 is always a heap
// copy of the first argument; data2 as noted.
enum RequestCode {
    kRequestGetIndexWords = 0,      // data2: the packed listing word, not a pointer
    kRequestGetManagedWords = 1,    // data2: unused
    kRequestGetDefinition = 2,      // data2: unused
    kRequestGetAudioFile = 3,       // data2: heap copy of the downloaded file's path, or null
    kRequestSearchDefinitions = 8,  // data2: the result count, an integer, not a pointer
    kRequestFindHeadwords = 9,      // data1: the lines to check; data2: unused
    // The search requests, numbered apart from the others.
    kRequestGetSpellingSuggestions = 16,  // data2: heap SearchArguments
    kRequestGetSoundsLike = 17,           // data2: heap SearchArguments
    kRequestGetWildcardWords = 18,        // data2: heap SearchArguments
    kRequestGetRandomWord = 19,           // data1: empty copy; data2: unused
    kRequestGetCommonWord = 20,           // data1: empty copy; data2: unused
    kRequestGetWordOfTheDay = 21,         // data1: empty copy; data2: the day, an integer
};
constexpr uint32_t kLastRequestCode = kRequestFindHeadwords;

// True for the codes of the requests the engine answers (others are ignored).
inline bool IsRequestCode(uint32_t code) {
    return code <= kLastRequestCode ||
           (code >= kRequestGetSpellingSuggestions && code <= kRequestGetWordOfTheDay);
}

// The further arguments of a search request, in one heap block (malloc) that
// FreeRequestCopies releases.
struct SearchArguments {
    int32_t count;  // as received
    char after[1];  // NUL-terminated, extends past the struct
};

// Packed listing word of a GetIndexWords request.
constexpr uint32_t kListForward = 0x80000000u;
constexpr uint32_t kListExclusive = 0x40000000u;
constexpr uint32_t kListCountMask = 0x00FFFFFFu;

inline uint32_t PackedListing(const SDL_UserEvent& e) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e.data2));
}

// Frees the argument copies a request event carries (data2 only where it is
// a string).
void FreeRequestCopies(const SDL_UserEvent& e);

#endif  // LEXORA_HOST_REQUESTEVENT_H
