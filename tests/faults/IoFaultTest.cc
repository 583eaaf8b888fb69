#include <nlohmann/json.hpp>

#include "tests/faults/FaultFixture.h"

namespace lxfault {
namespace {

// A failed or short read costs at most the data it should have brought:
// the request is still answered, once, with valid JSON.
void Answered(const std::vector<std::string>& answers, unsigned long k) {
    ASSERT_EQ(1u, answers.size()) << "call " << k;
    EXPECT_TRUE(nlohmann::json::accept(answers[0])) << "call " << k << ": " << answers[0];
}

// While opening (the engine released before each request) and on an open
// dictionary.
TEST_F(FaultTest, EachReadMayFailOrComeShort) {
    for (EngineState state : {EngineState::kClosed, EngineState::kOpen}) {
        for (IoFault fault : {IoFault::kFail, IoFault::kShort}) {
            for (const Request& request : DictionaryRequests()) {
                const unsigned long calls = FailEachCall(request, IoFaults(fault), state, Answered);
                if (state == EngineState::kClosed) {
                    EXPECT_GT(calls, 3u) << request.word;
                }
            }
        }
    }
}

}  // namespace
}  // namespace lxfault
