#include "tests/faults/FaultFixture.h"

#include <SDL.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "fuzz/SeedDictionaries.h"
#include "host/AudioFiles.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "host/RequestEvent.h"
#include "platform/PDLFake.h"

namespace lxfault {

namespace {

std::atomic<bool> armed{false};
pthread_t armedThread;
unsigned long chosen = 0;
unsigned long seen = 0;

const char kIPATablePath[] = "data/IPA_to_IMG.txt";
const char kIPATableAside[] = "data/IPA_to_IMG.aside";

// The argument copies are made before any fault is armed, as the method
// handlers make them before posting.
SDL_UserEvent MakeEvent(const Request& request) {
    SDL_UserEvent e{};
    e.type = SDL_USEREVENT;
    e.code = request.code;
    e.data1 = strdup(request.word.c_str());
    if (request.code == kRequestGetIndexWords) {
        e.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(request.packed));
    }
    return e;
}

void Dispatch(const SDL_UserEvent& e) {
    if (e.code == kRequestGetIndexWords) return AnswerGetIndexWords(e);
    if (e.code == kRequestGetDefinition) return AnswerGetDefinition(e);
    ASSERT_EQ(e.code, kRequestGetAudioFile) << "no answer routine for the request";
    AnswerGetAudioFile(e);
}

std::string Joined(const std::vector<std::string>& answers) {
    std::string text;
    for (const std::string& answer : answers) text += answer + "\n";
    return answers.empty() ? "nothing" : text;
}

std::vector<std::string> TakeAnswers(const Request& request) {
    std::vector<std::string> answers;
    for (const pdlfake::ScriptCall& call : pdlfake::TakeScriptCalls()) {
        EXPECT_EQ(request.callback, call.function);
        EXPECT_EQ(1u, call.params.size());
        answers.push_back(call.params.empty() ? "" : call.params[0]);
    }
    return answers;
}

}  // namespace

void ArmCounter(unsigned long failAt) {
    armedThread = pthread_self();
    chosen = failAt;
    seen = 0;
    armed.store(true, std::memory_order_release);
}

unsigned long DisarmCounter() {
    armed.store(false, std::memory_order_release);
    return seen;
}

bool IsChosenCall() {
    if (!armed.load(std::memory_order_acquire) || !pthread_equal(pthread_self(), armedThread)) {
        return false;
    }
    return ++seen == chosen;
}

std::vector<Request> DictionaryRequests() {
    return {
        {kRequestGetDefinition, "cat", 0, "Callback_GetDefinition"},
        {kRequestGetDefinition, "ran", 0, "Callback_GetDefinition"},
        {kRequestGetDefinition, "Paris:1", 0, "Callback_GetDefinition"},
        {kRequestGetIndexWords, "c", kListForward | 20, "Callback_GetIndexWords"},
        {kRequestGetIndexWords, "r", 5, "Callback_GetIndexWords"},
    };
}

std::vector<std::string> Answer(const Request& request) {
    Dispatch(MakeEvent(request));
    return TakeAnswers(request);
}

void FaultTest::SetUp() {
    pdlfake::Reset();
    cwd = std::make_unique<lxtest::WorkingDirectory>(dir.Path());
    std::filesystem::create_directories("data");
    CDictWriter writer;
    ASSERT_TRUE(lxfuzz::WriteLinkedDictionary(writer)) << writer.GetError();
    ASSERT_TRUE(writer.WriteFile("data/wordnet.lxd")) << writer.GetError();
    lxtest::WriteTextFile(kIPATablePath, "k\t<i>k</i>\n@\t&#601;\nr\t&#633;\n");
}

void FaultTest::TearDown() {
    ReleaseEngine();
    pdlfake::Reset();
    cwd.reset();
}

unsigned long FaultTest::FailEachCall(const Request& request, const FaultSwitch& faults,
                                      EngineState state, const Check& check) {
    ReleaseEngine();
    const std::vector<std::string> expected = Answer(request);
    EXPECT_EQ(1u, expected.size()) << request.word;
    // A fault while the IPA table loads leaves the engine without it (it then
    // shows pronunciations as stored); that is the only lasting change allowed.
    ReleaseEngine();
    std::filesystem::rename(kIPATablePath, kIPATableAside);
    const std::vector<std::string> withoutTable = Answer(request);
    std::filesystem::rename(kIPATableAside, kIPATablePath);
    ReleaseEngine();
    if (state == EngineState::kOpen) Answer(request);

    SDL_UserEvent counted = MakeEvent(request);
    faults.arm(0);
    Dispatch(counted);
    const unsigned long calls = faults.disarm();
    TakeAnswers(request);

    for (unsigned long k = 1; k <= calls; ++k) {
        if (state == EngineState::kClosed) ReleaseEngine();
        SDL_UserEvent e = MakeEvent(request);
        faults.arm(k);
        Dispatch(e);
        faults.disarm();
        check(TakeAnswers(request), k);
        const std::vector<std::string> next = Answer(request);
        EXPECT_TRUE(next == expected || (state == EngineState::kClosed && next == withoutTable))
            << request.word << ": the request after failing call " << k << " of " << calls
            << " was answered with\n"
            << Joined(next) << "\ninstead of\n"
            << Joined(expected);
    }
    return calls;
}

}  // namespace lxfault
