// Which thread frees an answer's memory. A small block allocated by the
// answering thread and freed by the waiting one stays cached in the waiting
// thread, out of the answering thread's reach; over many HTTP threads the
// engine's heap grew by tens of bytes a request. Every block the answering
// thread allocates must be freed by that thread. This program's operator
// new and delete record, while a test tracks them, which thread allocated
// each block.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <future>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "platform/AnswerPairing.h"

namespace {

struct Block {
    void* address;
    std::thread::id owner;
};
constexpr size_t kMaxBlocks = 4096;
std::atomic<bool> tracking{false};
std::atomic<std::thread::id> answeringThread;
std::mutex blocksMutex;
Block blocks[kMaxBlocks];
size_t blockCount = 0;
int crossThreadFrees = 0;

void Allocated(void* address) {
    std::lock_guard<std::mutex> lock(blocksMutex);
    if (blockCount < kMaxBlocks) blocks[blockCount++] = {address, std::this_thread::get_id()};
}

void Freed(void* address) {
    std::lock_guard<std::mutex> lock(blocksMutex);
    for (size_t i = 0; i < blockCount; ++i) {
        if (blocks[i].address != address) continue;
        if (blocks[i].owner == answeringThread.load() &&
            blocks[i].owner != std::this_thread::get_id()) {
            ++crossThreadFrees;
        }
        blocks[i] = blocks[--blockCount];
        return;
    }
}

}  // namespace

void* operator new(size_t size) {
    void* address = malloc(size ? size : 1);
    if (!address) throw std::bad_alloc();
    if (tracking) Allocated(address);
    return address;
}

void operator delete(void* address) noexcept {
    if (tracking && address) Freed(address);
    free(address);
}

void operator delete(void* address, size_t) noexcept {
    operator delete(address);
}

namespace {

TEST(AnswerOwner, TheAnsweringThreadFreesWhatItAllocated) {
    const char kCallback[] = "Callback_GetDefinition";
    const size_t sizes[] = {100, 700, 5000, 70000};
    CAnswerPairing pairing;
    std::vector<CAnswerPairing::SlotPtr> slots;
    for (size_t i = 0; i <= std::size(sizes); ++i) slots.push_back(pairing.Reserve(kCallback));
    std::promise<void> copied;
    std::future<void> copiedSignal = copied.get_future();
    tracking = true;
    std::thread engine([&] {
        answeringThread = std::this_thread::get_id();
        for (size_t size : sizes) pairing.Resolve(kCallback, std::string(size, 'a'));
        copiedSignal.wait();
        pairing.Resolve(kCallback, "last");
    });
    for (size_t i = 0; i < std::size(sizes); ++i) {
        std::string answer;
        ASSERT_EQ(CAnswerPairing::WaitResult::kAnswered,
                  pairing.Wait(slots[i], std::chrono::seconds(10), &answer));
        EXPECT_EQ(std::string(sizes[i], 'a'), answer);
    }
    copied.set_value();
    engine.join();
    tracking = false;
    EXPECT_EQ(0, crossThreadFrees);
}

}  // namespace
