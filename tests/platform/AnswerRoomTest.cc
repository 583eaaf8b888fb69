// Which thread's memory holds an answer. A small block allocated by the
// answering thread and freed by the waiting one stays cached in the waiting
// thread, out of the answering thread's reach; over many HTTP threads the
// engine's heap grew by tens of bytes a request. So an answer that fits the
// room the waiting thread reserved must be copied into that room.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/AnswerPairing.h"

namespace {

TEST(AnswerRoom, AnswersThatFitTheReservedRoomStayInTheWaitersBuffer) {
    const struct {
        size_t bytes;
        bool inReservedRoom;
    } cases[] = {{0, true}, {1, true}, {700, true}, {4000, false}, {70000, false}};
    for (const auto& c : cases) {
        CAnswerPairing pairing;
        CAnswerPairing::SlotPtr slot = pairing.Reserve("Callback_GetDefinition");
        const char* room = slot->answer.data();
        const std::string text(c.bytes, 'a');
        std::thread engine([&] { pairing.Resolve("Callback_GetDefinition", text); });
        engine.join();
        std::string answer;
        ASSERT_EQ(CAnswerPairing::WaitResult::kAnswered,
                  pairing.Wait(slot, std::chrono::milliseconds(0), &answer));
        EXPECT_EQ(text, answer) << c.bytes;
        EXPECT_EQ(c.inReservedRoom, answer.data() == room) << c.bytes;
    }
}

}  // namespace
