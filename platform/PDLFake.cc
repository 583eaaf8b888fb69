// The plug-in library double: no bridge, everything in process.
#include "platform/PDLFake.h"

#include <atomic>
#include <mutex>
#include <new>

#include "platform/HandlerTable.h"
#include "platform/LastError.h"
#include "platform/PDL.h"

namespace {

CHandlerTable handlers;
std::mutex callsMutex;
std::vector<pdlfake::ScriptCall> calls;
std::atomic<bool> initialised{false};
std::atomic<bool> failScriptCalls{false};

}  // namespace

namespace pdlfake {

CallResult Call(const std::string& name, const std::vector<std::string>& args) {
    CHandlerTable::Outcome outcome = handlers.Invoke(name, args);
    CallResult result;
    result.found = outcome.found;
    result.result = outcome.result;
    result.raised = outcome.raised;
    result.exception = outcome.exception;
    return result;
}

std::vector<ScriptCall> TakeScriptCalls() {
    std::lock_guard<std::mutex> lock(callsMutex);
    std::vector<ScriptCall> taken;
    taken.swap(calls);
    return taken;
}

std::vector<std::string> RegisteredMethods() {
    return handlers.Names();
}
bool IsInitialised() {
    return initialised;
}
bool IsRegistrationComplete() {
    return handlers.IsComplete();
}
void FailScriptCalls(bool fail) {
    failScriptCalls = fail;
}

void Reset() {
    handlers.Clear();
    TakeScriptCalls();
    initialised = false;
    failScriptCalls = false;
}

}  // namespace pdlfake

extern "C" PDL_Err PDL_Init(unsigned int flags) {
    if (flags != 0) return PDL_EINVALIDINPUT;
    initialised = true;
    return PDL_NOERROR;
}

extern "C" PDL_Err PDL_RegisterJSHandler(const char* name, PDL_JSHandlerFunc handler) {
    return handlers.Register(name, handler);
}

extern "C" PDL_Err PDL_JSRegistrationComplete(void) {
    handlers.Complete();
    return PDL_NOERROR;
}

extern "C" PDL_Err PDL_CallJS(const char* functionName, const char** params, int numParams) {
    if (failScriptCalls) {
        SetLastPdlError("script side unreachable (test)");
        return PDL_ECONNECTION;
    }
    if (functionName == nullptr || numParams < 0 || (numParams > 0 && params == nullptr)) {
        SetLastPdlError("PDL_CallJS: bad arguments");
        return PDL_EINVALIDINPUT;
    }
    // As the real library, report a failed copy instead of throwing into C
    // (the text is short enough to be set without allocating).
    try {
        pdlfake::ScriptCall call{functionName, {}};
        for (int i = 0; i < numParams; ++i) call.params.emplace_back(params[i] ? params[i] : "");
        std::lock_guard<std::mutex> lock(callsMutex);
        calls.push_back(std::move(call));
    } catch (const std::bad_alloc&) {
        SetLastPdlError("out of memory");
        return PDL_EMEMORY;
    }
    return PDL_NOERROR;
}

extern "C" void PDL_Quit(void) {
    initialised = false;
    handlers.Clear();
}
