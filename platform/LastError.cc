#include "platform/LastError.h"

#include "platform/PDL.h"

namespace {
thread_local std::string lastError;
}

void SetLastPdlError(const std::string& text) {
    lastError = text;
}

extern "C" const char* PDL_GetError(void) {
    return lastError.c_str();
}
