#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/Plugin.h"
#include "platform/PDLFake.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

TEST(Plugin, StartsAnswersAndStopsAtQuit) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    pdlfake::Reset();
    lxtest::TempDir dir;
    lxtest::WorkingDirectory cwd(dir.Path());

    // Plays the script side once the methods are callable.
    std::thread script([] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!pdlfake::IsRegistrationComplete() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(pdlfake::Call("GetDefinition", {"cat"}).result);
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    EXPECT_EQ(0, RunPlugin());
    script.join();

    std::vector<pdlfake::ScriptCall> calls = pdlfake::TakeScriptCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("ready", calls[0].function);
    EXPECT_TRUE(calls[0].params.empty());
    EXPECT_EQ("Callback_GetDefinition", calls[1].function);
    EXPECT_FALSE(pdlfake::IsInitialised());
}

}  // namespace
