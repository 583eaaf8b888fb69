#include "platform/JSParameters.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "platform/LastError.h"

namespace {

const std::string* Argument(PDL_JSParameters* params, int index) {
    if (params == nullptr || index < 0 || static_cast<size_t>(index) >= params->args.size()) {
        return nullptr;
    }
    return &params->args[static_cast<size_t>(index)];
}

}  // namespace

extern "C" int PDL_GetNumJSParams(PDL_JSParameters* params) {
    return params == nullptr ? 0 : static_cast<int>(params->args.size());
}

extern "C" const char* PDL_GetJSParamString(PDL_JSParameters* params, int index) {
    const std::string* arg = Argument(params, index);
    return arg == nullptr ? "" : arg->c_str();
}

extern "C" int PDL_GetJSParamInt(PDL_JSParameters* params, int index) {
    const std::string* arg = Argument(params, index);
    if (arg == nullptr || arg->empty()) return 0;
    errno = 0;
    char* end = nullptr;
    long value = strtol(arg->c_str(), &end, 10);
    if (*end != '\0') return 0;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

extern "C" PDL_Err PDL_JSException(PDL_JSParameters* params, const char* message) {
    if (params == nullptr || message == nullptr) {
        SetLastPdlError("PDL_JSException: no call or no message");
        return PDL_EINVALIDINPUT;
    }
    // Nothing may be thrown back into the C caller.
    try {
        params->exception = message;
    } catch (const std::bad_alloc&) {
        params->exception.clear();
    }
    params->raised = true;
    return PDL_NOERROR;
}
