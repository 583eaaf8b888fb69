#include "platform/EventStream.h"

CEventStream::SubscriberPtr CEventStream::Subscribe() {
    auto subscriber = std::make_shared<Subscriber>();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!readyEvent_.empty()) subscriber->pending.push_back(readyEvent_);
    subscribers_.insert(subscriber);
    return subscriber;
}

void CEventStream::Unsubscribe(const SubscriberPtr& subscriber) {
    std::lock_guard<std::mutex> lock(mutex_);
    subscribers_.erase(subscriber);
}

bool CEventStream::Wanted(const std::string& function) {
    std::lock_guard<std::mutex> lock(mutex_);
    return function == "ready" || !subscribers_.empty();
}

void CEventStream::Publish(const std::string& function, const std::string& data) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (function == "ready") readyEvent_ = data;
        for (const SubscriberPtr& subscriber : subscribers_) {
            if (subscriber->pending.size() >= kMaxPending) {
                subscriber->dropped = true;
                subscriber->pending.clear();
            } else if (!subscriber->dropped) {
                subscriber->pending.push_back(data);
            }
        }
    }
    published_.notify_all();
}

bool CEventStream::Next(const SubscriberPtr& subscriber, std::chrono::milliseconds wait,
                        std::vector<std::string>* events) {
    std::unique_lock<std::mutex> lock(mutex_);
    published_.wait_for(lock, wait, [&] {
        return stopped_ || subscriber->dropped || !subscriber->pending.empty();
    });
    if (stopped_ || subscriber->dropped) return false;
    events->assign(subscriber->pending.begin(), subscriber->pending.end());
    subscriber->pending.clear();
    return true;
}

void CEventStream::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    published_.notify_all();
}
