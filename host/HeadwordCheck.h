// FindHeadwords: the batch check behind importing a word list. One request
// carries every line of the list and answers, line by line, the headword a
// lookup finds for it, so that a thousand lines cost one round trip.
#ifndef LEXORA_HOST_HEADWORDCHECK_H
#define LEXORA_HOST_HEADWORDCHECK_H

#include <SDL.h>

#include <cstdio>

// Most lines one request checks; the answer leaves out those after them.
constexpr size_t kMaxHeadwordLines = 10000;

// Registers FindHeadwords(text): `text` holds words one a line ("\n" or
// "\r\n"). Call with the other methods, before registration completes.
void RegisterHeadwordCheck();

// Request code 9 (data1 the text): answers through "Callback_FindHeadwords".
void AnswerFindHeadwords(const SDL_UserEvent& e);

// Writes {"words": [...]}: for each line of `text`, the headword a lookup
// (as GetDefinition's) finds for it, a ":n" sense suffix kept, or "" when it
// finds none; or the database error answer.
void WriteHeadwords(const char* text, FILE* out);

#endif  // LEXORA_HOST_HEADWORDCHECK_H
