// Shared set-up of the fault tests: a temporary application directory with a
// small dictionary and IPA table, requests answered directly through the
// answer routines with the plug-in double capturing the callbacks, and the
// loop that makes each counted resource call of a request fail in turn.
#ifndef LEXORA_TESTS_FAULTS_FAULTFIXTURE_H
#define LEXORA_TESTS_FAULTS_FAULTFIXTURE_H

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace lxfault {

struct Request {
    int code;              // request code (host/RequestEvent.h)
    std::string word;      // data1
    uint32_t packed;       // data2 of an index request
    const char* callback;  // the script function that receives the answer
};

std::vector<Request> DictionaryRequests();

// Answers `request` as the event loop would and returns the texts delivered
// to its callback, in order; a delivery to any other function fails the test.
std::vector<std::string> Answer(const Request& request);

// Switches a fault on for the `failAt`-th counted call (0: count only) and
// off again, returning how many calls it counted.
struct FaultSwitch {
    std::function<void(unsigned long failAt)> arm;
    std::function<unsigned long()> disarm;
};

// The call counter the fault switches share: while armed, the arming
// thread's calls are counted and the `failAt`-th (from 1) is the chosen one.
// It allocates nothing, so that the allocator may use it.
void ArmCounter(unsigned long failAt);
unsigned long DisarmCounter();
bool IsChosenCall();

// Each fault program links one of these. Allocation faults: malloc, calloc
// and realloc (and all built on them, strdup and operator new included) fail.
// I/O faults (linked with --wrap=fread,--wrap=fseek): the chosen fread
// returns 0 or, for kShort, comes short; the chosen fseek returns -1.
enum class IoFault { kFail, kShort };
FaultSwitch AllocationFaults();
FaultSwitch IoFaults(IoFault fault);

enum class EngineState { kClosed, kOpen };

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // For every k from 1 to the number of calls the request makes, answers
    // the request with call k failing and hands its answers to `check`, then
    // checks that the next request, without faults, answers as usual. In
    // kClosed the engine is released before each faulty request, so the
    // open of the dictionary is part of it. Returns the number of calls.
    using Check = std::function<void(const std::vector<std::string>& answers, unsigned long k)>;
    unsigned long FailEachCall(const Request& request, const FaultSwitch& faults, EngineState state,
                               const Check& check);

    lxtest::TempDir dir;
    std::unique_ptr<lxtest::WorkingDirectory> cwd;
};

}  // namespace lxfault

#endif  // LEXORA_TESTS_FAULTS_FAULTFIXTURE_H
