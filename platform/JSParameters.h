// The parameter block of one script call, shared by the bridge and the test
// double. Owns copies of the arguments and the exception the handler raised.
#ifndef LEXORA_PLATFORM_JSPARAMETERS_H
#define LEXORA_PLATFORM_JSPARAMETERS_H

#include <string>
#include <vector>

#include "platform/PDL.h"

// Arguments are kept as text: an integer argument arrives as its decimal
// digits and is parsed again by PDL_GetJSParamInt. Valid only while the
// handler runs.
struct PDL_JSParameters {
    std::vector<std::string> args;
    bool raised = false;    // PDL_JSException was called
    std::string exception;  // its message
};

#endif  // LEXORA_PLATFORM_JSPARAMETERS_H
