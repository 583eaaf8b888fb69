// The answers to the two dictionary requests: a run of index words and the
// definition of a word. Each runs on the main thread, delivers exactly one
// answer and frees the event's argument copies.
#ifndef LEXORA_HOST_DICTIONARYANSWERS_H
#define LEXORA_HOST_DICTIONARYANSWERS_H

#include <SDL.h>

#include <cstdint>
#include <cstdio>

// The working buffer of a definition request; the lookup rewrites it in place.
constexpr size_t kDefinitionWordSize = 57;

// State that the index answer hands to the listing through AddIndexWord.
struct IndexWordSink {
    bool first;         // no word written yet
    int32_t remaining;  // words still wanted
    FILE* out;          // the answer stream
};

// Listing visitor: writes `word` to the sink's stream as a JSON string, after
// a comma unless it is the first. Returns 1 while more words are wanted, else
// 0; a count of 0 therefore still yields one word.
int32_t AddIndexWord(void* sink, const char* word, uint32_t position);

// Request code 0 (data1 anchor, data2 packed listing word): answers through
// "Callback_GetIndexWords".
void AnswerGetIndexWords(const SDL_UserEvent& e);
// Request code 2 (data1 word, optionally ending in ":n"): answers through
// "Callback_GetDefinition".
void AnswerGetDefinition(const SDL_UserEvent& e);

// Looks `word` up into `buffer` (kDefinitionWordSize bytes) as a definition
// request does: a sense suffix ":n" is kept out of the lookup, which could
// otherwise not match a headword with capitals, and put back behind the
// headword found. False when the word is not found or does not fit.
bool FindDefinitionWord(const char* word, char* buffer, uint32_t* position);

// Writes the whole answer to a definition request for `word` (optionally
// "word:n"): the definition, "nodefinition" or "databaseerror". True when a
// definition was written.
bool WriteDefinitionAnswer(const char* word, FILE* out);

// The "nodefinition" answer for `word`, as received.
void WriteNoDefinition(const char* word, FILE* out);

#endif  // LEXORA_HOST_DICTIONARYANSWERS_H
