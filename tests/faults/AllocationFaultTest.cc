#include <nlohmann/json.hpp>

#include "host/RequestEvent.h"
#include "tests/faults/FaultFixture.h"

namespace lxfault {
namespace {

// A request whose allocation fails either answers with valid JSON (an error,
// or a definition with a part missing) or sends nothing at all.
void AnsweredOrSkipped(const std::vector<std::string>& answers, unsigned long k) {
    ASSERT_LE(answers.size(), 1u) << "allocation " << k;
    if (!answers.empty()) {
        EXPECT_TRUE(nlohmann::json::accept(answers[0])) << "allocation " << k << ": " << answers[0];
    }
}

std::vector<Request> AllRequests() {
    std::vector<Request> requests = DictionaryRequests();
    requests.push_back({kRequestGetAudioFile, "cat", 0, "Callback_GetAudioFile"});
    return requests;
}

TEST_F(FaultTest, EachAllocationOfARequestMayFailOnAnOpenEngine) {
    for (const Request& request : AllRequests()) {
        unsigned long calls =
            FailEachCall(request, AllocationFaults(), EngineState::kOpen, AnsweredOrSkipped);
        EXPECT_GT(calls, 0u) << request.word;
    }
}

TEST_F(FaultTest, EachAllocationOfTheFirstRequestMayFailWhileOpening) {
    for (const Request& request : DictionaryRequests()) {
        unsigned long calls =
            FailEachCall(request, AllocationFaults(), EngineState::kClosed, AnsweredOrSkipped);
        EXPECT_GT(calls, 10u) << request.word;
    }
}

}  // namespace
}  // namespace lxfault
