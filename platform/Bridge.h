// The local HTTP bridge through which pages and tools play the script side of
// the plug-in. Owns the HTTP server, its listening thread, the event stream and
// the answer pairing; serves only the local user (see CheckAccess).
#ifndef LEXORA_PLATFORM_BRIDGE_H
#define LEXORA_PLATFORM_BRIDGE_H

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/AnswerPairing.h"
#include "platform/EventStream.h"
#include "platform/HandlerTable.h"

class CBridge {
public:
    // Holds `handlers` without owning it; it must outlive the bridge.
    explicit CBridge(CHandlerTable& handlers);
    virtual ~CBridge();
    CBridge(const CBridge&) = delete;
    CBridge& operator=(const CBridge&) = delete;

    // The server, for further routes. Add them before Start(); every route is
    // subject to the same access rules.
    httplib::Server& Server() { return server_; }
    // Lets a POST under `pathPrefix` carry `mediaType` (for example uploads)
    // besides application/json. Call before Start().
    void AllowPostContentType(const std::string& pathPrefix, const std::string& mediaType);
    // How long /pdl/request waits for its answer (default 30 s).
    void SetRequestTimeout(std::chrono::milliseconds timeout) { requestTimeout_ = timeout; }

    // Listens on 127.0.0.1:`port` (0 = any free port) on a thread of its own
    // and prints the URL to standard error. False when the port cannot be bound.
    bool Start(int port);
    int Port() const { return port_; }
    // Ends waits and event streams, stops the server and joins its thread.
    void Stop();

    // Passes one script call of the plug-in to the event subscribers and, for
    // a callback, to the request waiting for it.
    void Publish(const std::string& function, const std::vector<std::string>& params);

private:
    struct Call {
        std::string method;
        std::vector<std::string> args;
    };

    void AddRoutes();
    httplib::Server::HandlerResponse CheckAccess(const httplib::Request& req,
                                                 httplib::Response& res) const;
    std::string AccessRefusal(const httplib::Request& req) const;
    bool IsOwnHost(const std::string& host) const;
    bool IsOwnOrigin(const std::string& origin) const;
    bool AcceptsPostContentType(const std::string& path, const std::string& contentType) const;

    void HandleCall(const httplib::Request& req, httplib::Response& res);
    void HandleRequest(const httplib::Request& req, httplib::Response& res);
    void HandleEvents(const httplib::Request& req, httplib::Response& res);
    // Parses and runs one call; false when the response (an error) is already set.
    bool RunCall(const httplib::Request& req, httplib::Response& res,
                 CHandlerTable::Outcome* outcome, CAnswerPairing::SlotPtr* slot);
    CHandlerTable::Outcome Invoke(const Call& call, CAnswerPairing::SlotPtr* slot);

    CHandlerTable& handlers_;
    httplib::Server server_;
    std::thread thread_;
    std::mutex callMutex_;  // one call at a time, as on the platform's library thread
    CAnswerPairing pairing_;
    CEventStream events_;
    std::vector<std::pair<std::string, std::string>> extraPostTypes_;  // path prefix, media type
    std::chrono::milliseconds requestTimeout_{30000};
    int port_ = 0;
    bool started_ = false;
    std::atomic<bool> listenEnded_{false};  // the listening thread has returned
};

#endif  // LEXORA_PLATFORM_BRIDGE_H
