// The text that PDL_GetError returns, kept per thread so that a failure on
// the main thread is not overwritten by a call on the bridge's threads.
#ifndef LEXORA_PLATFORM_LASTERROR_H
#define LEXORA_PLATFORM_LASTERROR_H

#include <string>

void SetLastPdlError(const std::string& text);

#endif  // LEXORA_PLATFORM_LASTERROR_H
