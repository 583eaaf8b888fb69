#include "platform/AnswerPairing.h"

#include <algorithm>

namespace {

// Room for the answer, allocated by the thread that reserves the slot and
// later frees the answer. An answer that fits is copied into it; a longer one
// gets a block of more than twice this size from the answering thread. A
// small block allocated by one thread and freed by another stays in the
// freeing thread's cache of small blocks, out of reach of the heap it came
// from: with many HTTP threads each holding some of the engine's blocks, the
// engine's heap fragments and grows with every request. Blocks above this
// size are not cached that way.
constexpr size_t kAnswerRoom = 1024;

}  // namespace

CAnswerPairing::SlotPtr CAnswerPairing::Reserve(const std::string& callback) {
    auto slot = std::make_shared<Slot>();
    slot->answer.reserve(kAnswerRoom);
    std::lock_guard<std::mutex> lock(mutex_);
    open_[callback].push_back(slot);
    return slot;
}

void CAnswerPairing::Cancel(const std::string& callback, const SlotPtr& slot) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto queue = open_.find(callback);
    if (queue == open_.end()) return;
    auto found = std::find(queue->second.begin(), queue->second.end(), slot);
    if (found != queue->second.end()) queue->second.erase(found);
}

bool CAnswerPairing::Resolve(const std::string& callback, const std::string& answer) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto queue = open_.find(callback);
        if (queue == open_.end() || queue->second.empty()) return false;
        SlotPtr slot = queue->second.front();
        queue->second.pop_front();
        slot->answered = true;
        slot->answer = answer;
    }
    answered_.notify_all();
    return true;
}

CAnswerPairing::WaitResult CAnswerPairing::Wait(const SlotPtr& slot,
                                                std::chrono::milliseconds timeout,
                                                std::string* answer) {
    std::unique_lock<std::mutex> lock(mutex_);
    bool woken = answered_.wait_for(lock, timeout, [&] { return slot->answered || stopped_; });
    if (slot->answered) {
        *answer = std::move(slot->answer);
        return WaitResult::kAnswered;
    }
    return woken ? WaitResult::kStopped : WaitResult::kTimedOut;
}

void CAnswerPairing::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    answered_.notify_all();
}
