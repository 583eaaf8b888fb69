// Test controls of the in-process plug-in library double (library pdlfake):
// a test plays the script side by calling registered methods directly and
// reading back the script calls the engine made.
#ifndef LEXORA_PLATFORM_PDLFAKE_H
#define LEXORA_PLATFORM_PDLFAKE_H

#include <string>
#include <vector>

namespace pdlfake {

// One PDL_CallJS made by the code under test.
struct ScriptCall {
    std::string function;
    std::vector<std::string> params;
};

// What calling a registered method came to.
struct CallResult {
    bool found = false;     // the method is registered and registration is complete
    bool result = false;    // the handler's result
    bool raised = false;    // it raised a script exception
    std::string exception;  // the exception's message
};

// Calls method `name` with `args` (integers are passed as their decimal text,
// as the bridge does) on the calling thread.
CallResult Call(const std::string& name, const std::vector<std::string>& args = {});
// The script calls made since the last Take, oldest first.
std::vector<ScriptCall> TakeScriptCalls();
// Registered method names in registration order.
std::vector<std::string> RegisteredMethods();
bool IsInitialised();
bool IsRegistrationComplete();
// Makes every later PDL_CallJS fail (true) or succeed again (false).
void FailScriptCalls(bool fail);
// Back to the state before PDL_Init: no handlers, no calls, no failure.
void Reset();

}  // namespace pdlfake

#endif  // LEXORA_PLATFORM_PDLFAKE_H
