// Fans every script call out to the connected event subscribers. Owns one
// bounded queue per subscriber and the remembered "ready" event, which a
// subscriber that connects later receives first.
#ifndef LEXORA_PLATFORM_EVENTSTREAM_H
#define LEXORA_PLATFORM_EVENTSTREAM_H

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class CEventStream {
public:
    // A subscriber that falls this many events behind is dropped rather than
    // letting its queue grow without bound.
    static constexpr size_t kMaxPending = 10000;

    struct Subscriber {
        std::deque<std::string> pending;
        bool dropped = false;
    };
    using SubscriberPtr = std::shared_ptr<Subscriber>;

    CEventStream() = default;
    virtual ~CEventStream() = default;
    CEventStream(const CEventStream&) = delete;
    CEventStream& operator=(const CEventStream&) = delete;

    // A new subscriber; its queue starts with the "ready" event if it happened.
    SubscriberPtr Subscribe();
    void Unsubscribe(const SubscriberPtr& subscriber);
    // Whether an event of `function` would reach anyone: a subscriber is
    // there, or it is "ready", which is kept for later ones.
    bool Wanted(const std::string& function);
    // Queues `data` (one event's JSON) for every subscriber; remembers it when
    // `function` is "ready".
    void Publish(const std::string& function, const std::string& data);
    // Waits up to `wait` for events and moves them into `events`. False when
    // the stream was stopped or the subscriber dropped: the connection ends.
    bool Next(const SubscriberPtr& subscriber, std::chrono::milliseconds wait,
              std::vector<std::string>* events);
    void Stop();

private:
    std::mutex mutex_;
    std::condition_variable published_;
    std::set<SubscriberPtr> subscribers_;
    std::string readyEvent_;  // empty until "ready" was called
    bool stopped_ = false;
};

#endif  // LEXORA_PLATFORM_EVENTSTREAM_H
