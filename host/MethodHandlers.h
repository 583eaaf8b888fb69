// The six script-callable methods. The four requests only check, copy and
// post their arguments (run on the plug-in library's thread); SetManagedWords
// and CleanUp do their file work at once.
#ifndef LEXORA_HOST_METHODHANDLERS_H
#define LEXORA_HOST_METHODHANDLERS_H

#include <chrono>

// Registers GetIndexWords, GetManagedWords, SetManagedWords, GetDefinition,
// GetAudioFile and CleanUp, in this order, then SearchDefinitions.
void RegisterMethods();

// How long a request waits for room in a full event queue before it is
// refused with the script exception "request queue full" (default 5 s).
void SetPostWaitLimit(std::chrono::milliseconds limit);

#endif  // LEXORA_HOST_METHODHANDLERS_H
