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

TEST_F(FaultTest, EachReadWhileOpeningMayFailOrComeShort) {
    for (IoFault fault : {IoFault::kFail, IoFault::kShort}) {
        for (const Request& request : DictionaryRequests()) {
            unsigned long calls =
                FailEachCall(request, IoFaults(fault), EngineState::kClosed, Answered);
            EXPECT_GT(calls, 3u) << request.word;
        }
    }
}

TEST_F(FaultTest, EachReadOfAnOpenDictionaryMayFailOrComeShort) {
    for (IoFault fault : {IoFault::kFail, IoFault::kShort}) {
        for (const Request& request : DictionaryRequests()) {
            FailEachCall(request, IoFaults(fault), EngineState::kOpen, Answered);
        }
    }
}

}  // namespace
}  // namespace lxfault
