// The pronunciation audio cache "pron": answers GetAudioFile with the URL to
// download a recording from or the path of the playable file, stores a
// downloaded recording by inflating it, and empties the cache for CleanUp.
#ifndef LEXORA_HOST_AUDIOFILES_H
#define LEXORA_HOST_AUDIOFILES_H

#include <SDL.h>

#include <cstdio>

// Answers request code 3: data1 is the word, data2 the path of a downloaded
// recording or null. Delivers to "Callback_GetAudioFile" and frees data1 and
// data2. A downloaded file inside "downloads" is deleted in every case; a path
// anywhere else is refused ("audiofileerror") and left alone.
void AnswerGetAudioFile(const SDL_UserEvent& e);

// Removes the cache directory "pron" and everything in it. True when the
// directory was removed; false when it was missing or something stayed. The
// CleanUp method returns true to the script side whatever this returns.
bool CleanUpAudioCache();

// True when `path` can be opened for reading.
bool FileExists(const char* path);

// Inflates one zlib stream from `in` into `out`. True only when the stream
// ended properly; bytes after its end are not read.
bool InflateFile(FILE* in, FILE* out);

// Removes directory `path` and everything below it without following symbolic
// links (a link is removed, never its target). 0 on success, else -1; the walk
// stops at the first failure.
int RemoveDirectoryTree(const char* path);

#endif  // LEXORA_HOST_AUDIOFILES_H
