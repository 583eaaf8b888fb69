#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/AnswerPairing.h"
#include "platform/EventStream.h"
#include "platform/JSParameters.h"
#include "platform/PDL.h"
#include "tests/support/TestDatabase.h"

namespace {

using std::chrono::milliseconds;

TEST(AnswerPairing, AnswersGoToTheOldestOpenSlotOfTheirCallback) {
    using Result = CAnswerPairing::WaitResult;
    CAnswerPairing pairing;
    auto first = pairing.Reserve("Callback_GetDefinition");
    auto index = pairing.Reserve("Callback_GetIndexWords");
    auto withdrawn = pairing.Reserve("Callback_GetDefinition");
    auto late = pairing.Reserve("Callback_GetDefinition");
    pairing.Cancel("Callback_GetDefinition", withdrawn);
    std::string answer;
    // A slot that timed out still takes its answer, so later ones stay paired.
    EXPECT_EQ(Result::kTimedOut, pairing.Wait(late, milliseconds(10), &answer));
    auto next = pairing.Reserve("Callback_GetDefinition");

    for (const char* text : {"one", "for the late one", "for the next one"}) {
        EXPECT_TRUE(pairing.Resolve("Callback_GetDefinition", text));
    }
    EXPECT_TRUE(pairing.Resolve("Callback_GetIndexWords", "list"));
    EXPECT_FALSE(pairing.Resolve("Callback_GetDefinition", "nobody asked"));
    EXPECT_FALSE(pairing.Resolve("ready", ""));
    const std::pair<CAnswerPairing::SlotPtr, const char*> expected[] = {
        {next, "for the next one"}, {first, "one"}, {index, "list"}};
    for (const auto& slot : expected) {
        EXPECT_EQ(Result::kAnswered, pairing.Wait(slot.first, milliseconds(0), &answer));
        EXPECT_EQ(slot.second, answer);
    }

    auto waiting = pairing.Reserve("Callback_GetDefinition");
    std::thread stopper([&] {
        std::this_thread::sleep_for(milliseconds(20));
        pairing.Stop();
    });
    EXPECT_EQ(Result::kStopped, pairing.Wait(waiting, std::chrono::seconds(10), &answer));
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
    const int integers[] = {0, 20, -3, 0, 0, INT_MAX, 0, 0, 0, 0};
    for (int i = 1; i < 10; ++i) EXPECT_EQ(integers[i], PDL_GetJSParamInt(&params, i)) << i;
    EXPECT_EQ(PDL_NOERROR, PDL_JSException(&params, "boom"));
    EXPECT_TRUE(params.raised);
    EXPECT_EQ("boom", params.exception);
}

TEST(DataFilePath, MapsPlainNamesIntoTheDataDirectory) {
    char path[256];
    lxtest::TempDir temp;
    const std::string base = temp.Path();
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
}

}  // namespace
