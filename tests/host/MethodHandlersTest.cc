
#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

#include "host/RequestEvent.h"
#include "tests/host/HostFixture.h"

namespace {

// The next queued request as "code data1 data2", data2 in hex or, for an
// audio file's target, as text; its copies are freed.
std::string TakePosted() {
    SDL_Event event;
    if (SDL_PollEvent(&event) != 1 || event.type != SDL_USEREVENT) return "nothing posted";
    std::ostringstream posted;
    posted << event.user.code << ' ' << static_cast<const char*>(event.user.data1) << ' ';
    if (event.user.code == kRequestGetAudioFile && event.user.data2 != nullptr) {
        posted << static_cast<const char*>(event.user.data2);
    } else {
        posted << std::hex << reinterpret_cast<uintptr_t>(event.user.data2);
    }
    FreeRequestCopies(event.user);
    return posted.str();
}

bool QueueIsEmpty() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 0;
}

TEST_F(HostTest, SixMethodsCheckTheirArgumentCountsAndPostNothingWhenWrong) {
    EXPECT_EQ((std::vector<std::string>{"GetIndexWords", "GetManagedWords", "SetManagedWords",
                                        "GetDefinition", "GetAudioFile", "CleanUp",
                                        "SearchDefinitions", "GetSpellingSuggestions",
                                        "GetSoundsLike", "GetWildcardWords", "GetRandomWord",
                                        "GetCommonWord", "GetWordOfTheDay", "SetWordFilter",
                                        "FindHeadwords"}),
              pdlfake::RegisteredMethods());
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
    auto code = [](int request) { return std::to_string(request) + " "; };
    const std::pair<std::vector<std::string>, std::string> calls[] = {
        {{"GetIndexWords", "cat", "20", "1", "0"}, code(kRequestGetIndexWords) + "cat 80000014"},
        {{"GetIndexWords", "cat", "20", "0", "1"}, code(kRequestGetIndexWords) + "cat 40000014"},
        {{"GetManagedWords", "recent"}, code(kRequestGetManagedWords) + "recent 0"},
        {{"GetDefinition", "cat:2"}, code(kRequestGetDefinition) + "cat:2 0"},
        {{"GetAudioFile", "cat"}, code(kRequestGetAudioFile) + "cat 0"},
        {{"GetAudioFile", "cat", "downloads/cat.z"},
         code(kRequestGetAudioFile) + "cat downloads/cat.z"}};
    for (const auto& call : calls) {
        const std::vector<std::string> args(call.first.begin() + 1, call.first.end());
        EXPECT_TRUE(pdlfake::Call(call.first[0], args).result) << call.second;
        EXPECT_EQ(call.second, TakePosted());
    }
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

    // The consumer took one filler; "dog" waits behind the others.
    SDL_Event event;
    for (int i = 1; i < queued; ++i) ASSERT_EQ(1, SDL_PollEvent(&event));
    EXPECT_EQ(std::to_string(kRequestGetDefinition) + " dog 0", TakePosted());
    EXPECT_TRUE(QueueIsEmpty());
}

// (SetManagedWords, also answered at once, is checked through the bridge.)
TEST_F(HostTest, CleanUpWorksAtOnce) {
    lxtest::WriteTextFile("pron/cat.mp3", "sound");
    EXPECT_TRUE(pdlfake::Call("CleanUp", {}).result);
    EXPECT_FALSE(lxtest::PathExists("pron"));
    EXPECT_TRUE(pdlfake::Call("CleanUp", {}).result);
    EXPECT_TRUE(QueueIsEmpty());
    EXPECT_TRUE(pdlfake::TakeScriptCalls().empty());
}

}  // namespace
