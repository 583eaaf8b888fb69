#include "platform/HandlerTable.h"

#include "platform/JSParameters.h"
#include "platform/LastError.h"

PDL_Err CHandlerTable::Register(const char* name, PDL_JSHandlerFunc handler) {
    if (name == nullptr || name[0] == '\0' || handler == nullptr) {
        SetLastPdlError("PDL_RegisterJSHandler: no name or no handler");
        return PDL_EINVALIDINPUT;
    }
    if (complete_) {
        SetLastPdlError("PDL_RegisterJSHandler: registration is already complete");
        return PDL_EOTHER;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (handlers_.find(name) == handlers_.end()) order_.push_back(name);
    handlers_[name] = handler;
    return PDL_NOERROR;
}

bool CHandlerTable::Has(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return handlers_.find(name) != handlers_.end();
}

std::vector<std::string> CHandlerTable::Names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return order_;
}

CHandlerTable::Outcome CHandlerTable::Invoke(const std::string& name,
                                             const std::vector<std::string>& args) const {
    Outcome outcome;
    PDL_JSHandlerFunc handler = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = handlers_.find(name);
        if (found != handlers_.end()) handler = found->second;
    }
    if (handler == nullptr || !complete_) return outcome;
    PDL_JSParameters params;
    params.args = args;
    outcome.found = true;
    outcome.result = handler(&params) != 0;
    outcome.raised = params.raised;
    outcome.exception = params.exception;
    return outcome;
}

void CHandlerTable::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_.clear();
    order_.clear();
    complete_ = false;
}
