#include <SDL.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "host/RequestEvent.h"
#include "tests/host/HostFixture.h"

namespace {

// The next queued event, which must be a request; its copies are freed.
struct Posted {
    int code = -1;
    std::string data1;
    uintptr_t data2 = 0;
    std::string data2Text;
};

Posted TakePosted() {
    Posted posted;
    SDL_Event event;
    if (SDL_PollEvent(&event) != 1 || event.type != SDL_USEREVENT) {
        ADD_FAILURE() << "no request was posted";
        return posted;
    }
    posted.code = event.user.code;
    posted.data1 = static_cast<const char*>(event.user.data1);
    posted.data2 = reinterpret_cast<uintptr_t>(event.user.data2);
    if (posted.code == kRequestGetAudioFile && event.user.data2 != nullptr) {
        posted.data2Text = static_cast<const char*>(event.user.data2);
    }
    FreeRequestCopies(event.user);
    return posted;
}

bool QueueIsEmpty() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0;
}

TEST_F(HostTest, RegistersTheSixMethodsInOrder) {
    EXPECT_EQ((std::vector<std::string>{"GetIndexWords", "GetManagedWords", "SetManagedWords",
                                        "GetDefinition", "GetAudioFile", "CleanUp"}),
              pdlfake::RegisteredMethods());
}

TEST_F(HostTest, WrongArgumentCountsRaiseAndPostNothing) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> calls = {
        {"GetIndexWords", {"cat", "20", "1"}},
        {"GetIndexWords", {"cat", "20", "1", "0", "x"}},
        {"GetManagedWords", {}},
        {"SetManagedWords", {"recent"}},
        {"GetDefinition", {}},
        {"GetDefinition", {"cat", "dog"}},
        {"GetAudioFile", {}},
        {"GetAudioFile", {"cat", "a", "b"}},
        {"CleanUp", {"now"}},
    };
    lxtest::WriteTextFile("pron/cat.mp3", "sound");
    for (const auto& call : calls) {
        pdlfake::CallResult result = pdlfake::Call(call.first, call.second);
        EXPECT_FALSE(result.result) << call.first;
        EXPECT_TRUE(result.raised);
        EXPECT_EQ("wrong number of parameters for " + call.first, result.exception);
        EXPECT_TRUE(QueueIsEmpty()) << call.first;
    }
    EXPECT_TRUE(lxtest::PathExists("pron/cat.mp3"));
    EXPECT_TRUE(pdlfake::TakeScriptCalls().empty());
}

TEST_F(HostTest, RequestsCarryTheirCopiesAndPackedWord) {
    EXPECT_TRUE(pdlfake::Call("GetIndexWords", {"cat", "20", "1", "0"}).result);
    Posted forward = TakePosted();
    EXPECT_EQ(kRequestGetIndexWords, forward.code);
    EXPECT_EQ("cat", forward.data1);
    EXPECT_EQ(0x80000014u, forward.data2);

    EXPECT_TRUE(pdlfake::Call("GetIndexWords", {"cat", "20", "0", "1"}).result);
    EXPECT_EQ(0x40000014u, TakePosted().data2);

    EXPECT_TRUE(pdlfake::Call("GetManagedWords", {"recent"}).result);
    Posted list = TakePosted();
    EXPECT_EQ(kRequestGetManagedWords, list.code);
    EXPECT_EQ("recent", list.data1);

    EXPECT_TRUE(pdlfake::Call("GetDefinition", {"cat:2"}).result);
    Posted definition = TakePosted();
    EXPECT_EQ(kRequestGetDefinition, definition.code);
    EXPECT_EQ("cat:2", definition.data1);

    EXPECT_TRUE(pdlfake::Call("GetAudioFile", {"cat"}).result);
    Posted audio = TakePosted();
    EXPECT_EQ(kRequestGetAudioFile, audio.code);
    EXPECT_EQ(0u, audio.data2);
    EXPECT_TRUE(pdlfake::Call("GetAudioFile", {"cat", "downloads/cat.z"}).result);
    EXPECT_EQ("downloads/cat.z", TakePosted().data2Text);
    EXPECT_TRUE(QueueIsEmpty());
}

TEST_F(HostTest, FullQueueWaitsForRoomThenRefuses) {
    SDL_Event filler{};
    filler.type = SDL_USEREVENT;
    filler.user.code = 99;
    int queued = 0;
    while (SDL_PushEvent(&filler) == 0) ++queued;
    ASSERT_GT(queued, 0);

    SetPostWaitLimit(std::chrono::milliseconds(30));
    pdlfake::CallResult refused = pdlfake::Call("GetDefinition", {"cat"});
    EXPECT_FALSE(refused.result);
    EXPECT_EQ("request queue full", refused.exception);

    // Room that appears within the limit is taken.
    SetPostWaitLimit(std::chrono::seconds(5));
    std::thread consumer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        SDL_Event event;
        SDL_PollEvent(&event);
    });
    EXPECT_TRUE(pdlfake::Call("GetDefinition", {"dog"}).result);
    consumer.join();

    int remaining = 0;
    SDL_Event event;
    std::string last;
    while (SDL_PollEvent(&event) == 1) {
        ++remaining;
        if (event.user.code != kRequestGetDefinition) continue;
        last = static_cast<char*>(event.user.data1);
        FreeRequestCopies(event.user);
    }
    EXPECT_EQ(queued, remaining);
    EXPECT_EQ("dog", last);
}

TEST_F(HostTest, SetManagedWordsAndCleanUpWorkAtOnce) {
    lxtest::WriteTextFile("pron/cat.mp3", "sound");
    setenv("LXCORE_DATA_DIR", (dir.Path() + "/lists").c_str(), 1);
    EXPECT_TRUE(pdlfake::Call("SetManagedWords", {"recent", "[\"cat\"]"}).result);
    EXPECT_EQ("[\"cat\"]", lxtest::ReadTextFile("lists/recent"));
    pdlfake::CallResult refused = pdlfake::Call("SetManagedWords", {"../escape", "[]"});
    EXPECT_FALSE(refused.result);
    EXPECT_FALSE(refused.exception.empty());

    EXPECT_TRUE(pdlfake::Call("CleanUp", {}).result);
    EXPECT_FALSE(lxtest::PathExists("pron"));
    EXPECT_TRUE(pdlfake::Call("CleanUp", {}).result);
    EXPECT_TRUE(QueueIsEmpty());
    EXPECT_TRUE(pdlfake::TakeScriptCalls().empty());
    unsetenv("LXCORE_DATA_DIR");
}

}  // namespace
