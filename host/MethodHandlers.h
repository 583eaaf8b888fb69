// The six script-callable methods. The four requests only check, copy and
// post their arguments (run on the plug-in library's thread); SetManagedWords
// and CleanUp do their file work at once.
#ifndef LEXORA_HOST_METHODHANDLERS_H
#define LEXORA_HOST_METHODHANDLERS_H

#include <chrono>

#include "platform/PDL.h"

// Registers GetIndexWords, GetManagedWords, SetManagedWords, GetDefinition,
// GetAudioFile and CleanUp, in this order, then SearchDefinitions.
void RegisterMethods();

// Logs and raises the exception for a call with an argument count outside
// [least, most]; true when the count is accepted.
bool HasArgumentCount(PDL_JSParameters* params, const char* method, int least, int most);

// Posts request `code`; the copies pass to the event or, when it cannot be
// posted (or `copiesMade` is false), are freed and the call fails with a
// script exception.
PDL_bool PostRequest(PDL_JSParameters* params, int code, void* data1, void* data2, bool copiesMade);

// How long a request waits for room in a full event queue before it is
// refused with the script exception "request queue full" (default 5 s).
void SetPostWaitLimit(std::chrono::milliseconds limit);

#endif  // LEXORA_HOST_METHODHANDLERS_H
