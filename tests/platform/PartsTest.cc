#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/AnswerPairing.h"
#include "platform/EventStream.h"
#include "platform/JSParameters.h"
#include "platform/PDL.h"

namespace {

using std::chrono::milliseconds;

TEST(AnswerPairing, AnswersGoToTheOldestOpenSlotOfTheirCallback) {
    CAnswerPairing pairing;
    auto first = pairing.Reserve("Callback_GetDefinition");
    auto index = pairing.Reserve("Callback_GetIndexWords");
    auto withdrawn = pairing.Reserve("Callback_GetDefinition");
    auto second = pairing.Reserve("Callback_GetDefinition");
    pairing.Cancel("Callback_GetDefinition", withdrawn);

    EXPECT_TRUE(pairing.Resolve("Callback_GetDefinition", "one"));
    EXPECT_TRUE(pairing.Resolve("Callback_GetIndexWords", "list"));
    EXPECT_TRUE(pairing.Resolve("Callback_GetDefinition", "two"));
    EXPECT_FALSE(pairing.Resolve("Callback_GetDefinition", "nobody asked"));
    EXPECT_FALSE(pairing.Resolve("ready", ""));

    std::string answer;
    EXPECT_EQ(CAnswerPairing::WaitResult::kAnswered,
              pairing.Wait(second, milliseconds(0), &answer));
    EXPECT_EQ("two", answer);
    EXPECT_EQ(CAnswerPairing::WaitResult::kAnswered, pairing.Wait(first, milliseconds(0), &answer));
    EXPECT_EQ("one", answer);
    EXPECT_EQ(CAnswerPairing::WaitResult::kAnswered, pairing.Wait(index, milliseconds(0), &answer));
    EXPECT_EQ("list", answer);
}

TEST(AnswerPairing, ATimedOutSlotStillTakesItsLateAnswer) {
    CAnswerPairing pairing;
    auto late = pairing.Reserve("Callback_GetDefinition");
    std::string answer;
    EXPECT_EQ(CAnswerPairing::WaitResult::kTimedOut, pairing.Wait(late, milliseconds(10), &answer));
    auto next = pairing.Reserve("Callback_GetDefinition");
    pairing.Resolve("Callback_GetDefinition", "for the late one");
    pairing.Resolve("Callback_GetDefinition", "for the next one");
    EXPECT_EQ(CAnswerPairing::WaitResult::kAnswered, pairing.Wait(next, milliseconds(0), &answer));
    EXPECT_EQ("for the next one", answer);

    auto waiting = pairing.Reserve("Callback_GetDefinition");
    std::thread stopper([&] {
        std::this_thread::sleep_for(milliseconds(20));
        pairing.Stop();
    });
    EXPECT_EQ(CAnswerPairing::WaitResult::kStopped,
              pairing.Wait(waiting, std::chrono::seconds(10), &answer));
    stopper.join();
}

TEST(EventStream, ReplaysReadyAndDropsSubscribersThatFallBehind) {
    CEventStream stream;
    auto early = stream.Subscribe();
    stream.Publish("ready", "R");
    stream.Publish("Callback_GetDefinition", "A");
    auto late = stream.Subscribe();
    std::vector<std::string> events;
    ASSERT_TRUE(stream.Next(early, milliseconds(0), &events));
    EXPECT_EQ((std::vector<std::string>{"R", "A"}), events);
    ASSERT_TRUE(stream.Next(late, milliseconds(0), &events));
    EXPECT_EQ(std::vector<std::string>{"R"}, events);
    ASSERT_TRUE(stream.Next(late, milliseconds(1), &events));
    EXPECT_TRUE(events.empty());

    for (size_t i = 0; i <= CEventStream::kMaxPending; ++i) stream.Publish("x", "e");
    EXPECT_FALSE(stream.Next(early, milliseconds(0), &events));
    stream.Stop();
    EXPECT_FALSE(stream.Next(stream.Subscribe(), milliseconds(0), &events));
}

TEST(JSParameters, ArgumentsReadAsTextOrIntegers) {
    PDL_JSParameters params;
    params.args = {"cat", "20", "-3", "x1", "", "99999999999", "12abc"};
    EXPECT_EQ(7, PDL_GetNumJSParams(&params));
    EXPECT_STREQ("cat", PDL_GetJSParamString(&params, 0));
    EXPECT_STREQ("", PDL_GetJSParamString(&params, 7));
    EXPECT_STREQ("", PDL_GetJSParamString(&params, -1));
    EXPECT_EQ(20, PDL_GetJSParamInt(&params, 1));
    EXPECT_EQ(-3, PDL_GetJSParamInt(&params, 2));
    EXPECT_EQ(0, PDL_GetJSParamInt(&params, 3));
    EXPECT_EQ(0, PDL_GetJSParamInt(&params, 4));
    EXPECT_EQ(INT_MAX, PDL_GetJSParamInt(&params, 5));
    EXPECT_EQ(0, PDL_GetJSParamInt(&params, 6));
    EXPECT_EQ(0, PDL_GetJSParamInt(&params, 9));
    EXPECT_EQ(PDL_NOERROR, PDL_JSException(&params, "boom"));
    EXPECT_TRUE(params.raised);
    EXPECT_EQ("boom", params.exception);
}

TEST(DataFilePath, MapsPlainNamesIntoTheDataDirectory) {
    char path[256];
    const char* tmp = getenv("TMPDIR");
    std::string base =
        std::string(tmp != nullptr && tmp[0] ? tmp : "/tmp") + "/lxpdl-" + std::to_string(getpid());
    setenv("LXCORE_DATA_DIR", (base + "/lists").c_str(), 1);
    ASSERT_EQ(PDL_NOERROR, PDL_GetDataFilePath("recent", path, sizeof path));
    EXPECT_EQ(base + "/lists/recent", path);
    EXPECT_EQ(0, access((base + "/lists").c_str(), W_OK)) << "the directory is created";

    for (const char* refused : {"", ".", "..", "a/b", "../recent"}) {
        EXPECT_NE(PDL_NOERROR, PDL_GetDataFilePath(refused, path, sizeof path)) << refused;
        EXPECT_STREQ("", path);
    }
    std::string longest(255 - (base + "/lists/").size(), 'n');
    EXPECT_EQ(PDL_NOERROR, PDL_GetDataFilePath(longest.c_str(), path, sizeof path));
    EXPECT_NE(PDL_NOERROR, PDL_GetDataFilePath((longest + "n").c_str(), path, sizeof path));
    EXPECT_STRNE("", PDL_GetError());

    unsetenv("LXCORE_DATA_DIR");
    setenv("XDG_DATA_HOME", base.c_str(), 1);
    ASSERT_EQ(PDL_NOERROR, PDL_GetDataFilePath("recent", path, sizeof path));
    EXPECT_EQ(base + "/lexora/recent", path);
    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", base.c_str(), 1);
    ASSERT_EQ(PDL_NOERROR, PDL_GetDataFilePath("recent", path, sizeof path));
    EXPECT_EQ(base + "/.local/share/lexora/recent", path);
    unsetenv("XDG_DATA_HOME");
    std::filesystem::remove_all(base);
}

}  // namespace
