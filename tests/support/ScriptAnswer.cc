#include "tests/support/ScriptAnswer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/PDLFake.h"

namespace lxtest {

std::string TakeAnswer(const std::string& callback) {
    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    if (calls.size() != 1 || calls[0].function != callback || calls[0].params.size() != 1) {
        ADD_FAILURE() << "expected one call of " << callback << " with one parameter, got "
                      << calls.size() << " calls";
        return "";
    }
    return calls[0].params[0];
}

}  // namespace lxtest
