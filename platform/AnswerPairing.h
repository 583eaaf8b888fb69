// Pairs script callbacks with the calls they answer. The engine answers in
// posting order, so the n-th "Callback_X" belongs to the n-th accepted call of
// X: each accepted call reserves a slot at the back of its callback's queue
// and each callback fills the front one. Owns the queues and their slots.
#ifndef LEXORA_PLATFORM_ANSWERPAIRING_H
#define LEXORA_PLATFORM_ANSWERPAIRING_H

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CAnswerPairing {
public:
    struct Slot {
        bool answered = false;
        std::string answer;
    };
    using SlotPtr = std::shared_ptr<Slot>;
    enum class WaitResult { kAnswered, kTimedOut, kStopped };

    CAnswerPairing() = default;
    virtual ~CAnswerPairing() = default;
    CAnswerPairing(const CAnswerPairing&) = delete;
    CAnswerPairing& operator=(const CAnswerPairing&) = delete;

    // Reserves the slot for the next answer through `callback`. Reserve it
    // before the call can post its request, so that no answer overtakes it.
    SlotPtr Reserve(const std::string& callback);
    // Withdraws a slot whose call posted nothing.
    void Cancel(const std::string& callback, const SlotPtr& slot);
    // Fills the oldest open slot of `callback`; false when none was open.
    bool Resolve(const std::string& callback, const std::string& answer);
    // Waits until `slot` is answered (its text copied into `answer`), `timeout`
    // passes or Stop() is called. A slot that timed out stays in its queue, so
    // its late answer is consumed and later answers still pair correctly.
    // The answering thread's own copy is freed by its next Resolve: a small
    // block freed by another thread stays cached in that thread, out of reach
    // of the heap it came from, and with many HTTP threads the answering
    // thread's heap would grow with every request.
    WaitResult Wait(const SlotPtr& slot, std::chrono::milliseconds timeout, std::string* answer);
    // Wakes every waiter with kStopped; later waits return kStopped at once.
    void Stop();

private:
    std::mutex mutex_;
    std::condition_variable answered_;
    std::map<std::string, std::deque<SlotPtr>> open_;  // per callback, oldest first
    // Answers already copied out by their waiters, for the next Resolve to free.
    std::vector<std::string> spent_;
    bool stopped_ = false;
};

#endif  // LEXORA_PLATFORM_ANSWERPAIRING_H
