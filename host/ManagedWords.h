// The user's word lists: one file per list name in the application data
// directory, stored and returned verbatim; a store replaces a list atomically.
#ifndef LEXORA_HOST_MANAGEDWORDS_H
#define LEXORA_HOST_MANAGEDWORDS_H

#include <SDL.h>

#include <cstddef>
#include <cstdio>

// Answers request code 1: data1 is the list name. Delivers the list (or "[]")
// to "Callback_GetManagedWords", or the "databaseerror" answer when the
// dictionary cannot be opened, and frees data1.
void AnswerGetManagedWords(const SDL_UserEvent& e);

// Stores `text` (null reads as "") as list `name`. Returns false with
// *exception set to a static message when the name is refused (empty, holding
// '/' or a control byte, or beginning with '.'); nothing is written then.
// Otherwise true, also when the file could not be written: a reader then still
// sees the previous list whole.
bool StoreManagedWords(const char* name, const char* text, const char** exception);

// True when `name` may name a list file.
bool IsValidListName(const char* name);

// Appends the whole content of the file at `path` to `out`; returns the
// number of bytes copied, 0 when the file is missing or empty.
size_t CopyFileToStream(const char* path, FILE* out);

#endif  // LEXORA_HOST_MANAGEDWORDS_H
