// The script-callable methods the plug-in registered. Owns the name-to-handler
// map; callers may rely on a call reaching a handler only after registration
// was completed.
#ifndef LEXORA_PLATFORM_HANDLERTABLE_H
#define LEXORA_PLATFORM_HANDLERTABLE_H

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/PDL.h"

class CHandlerTable {
public:
    // What one call of a registered method came to.
    struct Outcome {
        bool found = false;     // a handler of that name exists and registration is complete
        bool result = false;    // the handler's result
        bool raised = false;    // the handler raised a script exception
        std::string exception;  // its message
    };

    CHandlerTable() = default;
    virtual ~CHandlerTable() = default;
    CHandlerTable(const CHandlerTable&) = delete;
    CHandlerTable& operator=(const CHandlerTable&) = delete;

    // Adds or replaces `name`; refused once registration is complete.
    PDL_Err Register(const char* name, PDL_JSHandlerFunc handler);
    void Complete() { complete_ = true; }
    bool IsComplete() const { return complete_; }
    bool Has(const std::string& name) const;
    // Method names in the order of their first registration.
    std::vector<std::string> Names() const;
    // Runs the handler with a fresh parameter block holding `args`. Calls are
    // not serialised here; the caller decides on which thread they run.
    Outcome Invoke(const std::string& name, const std::vector<std::string>& args) const;
    // Forgets every handler and reopens registration.
    void Clear();

private:
    mutable std::mutex mutex_;
    std::map<std::string, PDL_JSHandlerFunc> handlers_;
    std::vector<std::string> order_;  // registration order, for Names()
    std::atomic<bool> complete_{false};
};

#endif  // LEXORA_PLATFORM_HANDLERTABLE_H
