// The answers to the search requests (request codes 16 to 21), run on the main
// thread: each delivers exactly one answer through "Callback_" + its method's
// name and frees the event's copies. The search data ("./data/search.lxs")
// is read on the first search request after the database opened and kept;
// without it the lists are empty.
#ifndef LEXORA_HOST_SEARCHANSWERS_H
#define LEXORA_HOST_SEARCHANSWERS_H

#include <SDL.h>

#include "db/WordFilter.h"

// Longest list each method answers; larger counts are cut to these.
constexpr int kMaxSuggestionCount = 50;
constexpr int kMaxWildcardCount = 200;

// Answers one search request; ignores codes that are not search requests
// (their copies are still freed).
void AnswerSearchRequest(const SDL_UserEvent& e);

// Switches the word filter; safe from any thread. Off at start.
void SetWordFilterEnabled(bool on);
bool IsWordFilterEnabled();

// The filter of the offered lists while it is on (reading the search data
// first when needed), else null. For the main thread, with the database open.
const CWordFilter* ActiveWordFilter();

// Drops the search data (before the database it belongs to is destroyed).
void ReleaseSearchData();

#endif  // LEXORA_HOST_SEARCHANSWERS_H
