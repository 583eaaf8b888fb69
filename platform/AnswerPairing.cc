#include "platform/AnswerPairing.h"

#include <algorithm>

CAnswerPairing::SlotPtr CAnswerPairing::Reserve(const std::string& callback) {
    auto slot = std::make_shared<Slot>();
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
        spent_.clear();
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
        *answer = slot->answer;
        spent_.push_back(std::move(slot->answer));
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
