// Shared set-up of the host tests: SDL's event queue running on the dummy
// video driver, every method registered with the plug-in double (the word
// filter off), and a temporary application directory as the working
// directory (its dictionary is written only by tests that need one).
#ifndef LEXORA_TESTS_HOST_HOSTFIXTURE_H
#define LEXORA_TESTS_HOST_HOSTFIXTURE_H

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/Engine.h"
#include "host/EventLoop.h"
#include "host/HeadwordCheck.h"
#include "host/MethodHandlers.h"
#include "host/SearchAnswers.h"
#include "host/SearchMethods.h"
#include "platform/PDL.h"
#include "platform/PDLFake.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
        pdlfake::Reset();
        RegisterMethods();
        RegisterSearchMethods();
        RegisterHeadwordCheck();
        PDL_JSRegistrationComplete();
        SetWordFilterEnabled(false);
        cwd = std::make_unique<lxtest::WorkingDirectory>(dir.Path());
    }
    void TearDown() override {
        DiscardQueuedRequests();
        ReleaseEngine();
        SDL_Quit();
        pdlfake::Reset();
        cwd.reset();
    }

    // Runs the loop over everything queued so far, ended by a quit event.
    static void AnswerQueued() {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        ASSERT_EQ(0, SDL_PushEvent(&quit));
        RunEventLoop();
    }

    // Calls `method` and answers it: the one parameter of each script call,
    // or "exception: " and its message when the call raised one.
    static std::vector<std::string> Ask(const std::string& method,
                                        const std::vector<std::string>& args) {
        const pdlfake::CallResult result = pdlfake::Call(method, args);
        if (!result.result) return {"exception: " + result.exception};
        AnswerQueued();
        std::vector<std::string> answers;
        for (const pdlfake::ScriptCall& call : pdlfake::TakeScriptCalls()) {
            EXPECT_EQ("Callback_" + method, call.function);
            answers.push_back(call.params.empty() ? "" : call.params[0]);
        }
        return answers;
    }
    static std::string AskOne(const std::string& method, const std::vector<std::string>& args) {
        std::vector<std::string> answers = Ask(method, args);
        EXPECT_EQ(1u, answers.size());
        return answers.empty() ? "" : answers[0];
    }

    // Writes `db` as the application's dictionary, ./data/wordnet.lxd.
    static void InstallDictionary(lxtest::TestDatabase& db) {
        std::filesystem::create_directories("data");
        ASSERT_TRUE(db.WriteTo("data/wordnet.lxd"));
    }

    lxtest::TempDir dir;
    std::unique_ptr<lxtest::WorkingDirectory> cwd;
};

extern const char kDatabaseError[];

#endif  // LEXORA_TESTS_HOST_HOSTFIXTURE_H
