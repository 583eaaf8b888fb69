// The answer to SearchDefinitions: senses found by a description of their
// meaning. Owns the meaning index and its search, opened by the first request
// once the dictionary is open; runs on the main thread only.
#ifndef LEXORA_HOST_MEANINGANSWER_H
#define LEXORA_HOST_MEANINGANSWER_H

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "meaning/MeaningSearch.h"

// Largest result count a request may ask for.
constexpr int kMaxMeaningResults = 100;

// Request code 8 (data1 the text, data2 the count): answers through
// "Callback_SearchDefinitions" with {"text", "results": [{"word", "sense",
// "gloss", "pos"}...]} ("pos": the part of speech, left out when unknown) and
// "truncated": true when part of the text was ignored.
void AnswerSearchDefinitions(const SDL_UserEvent& e);

// Writes the answer for `text` and its results.
void WriteMeaningResults(const char* text, const std::vector<MeaningResult>& results, bool cut,
                         FILE* out);

// Drops the index and its search; called before the dictionary is destroyed.
void ReleaseMeaningSearch();

#endif  // LEXORA_HOST_MEANINGANSWER_H
