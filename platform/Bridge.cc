#include "platform/Bridge.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "platform/ListeningPort.h"

using nlohmann::json;

namespace {

// Methods answered later through "Callback_" + name; the others answer only
// by their result.
const char* const kAnsweredMethods[] = {
    "GetIndexWords",     "GetManagedWords",        "GetDefinition",  "GetAudioFile",
    "SearchDefinitions", "GetSpellingSuggestions", "GetSoundsLike",  "GetWildcardWords",
    "GetRandomWord",     "GetCommonWord",          "GetWordOfTheDay", "FindHeadwords"};
constexpr std::chrono::seconds kKeepAliveInterval{15};
constexpr size_t kMaxBodyBytes = 32u << 20;

bool IsAnsweredMethod(const std::string& method) {
    for (const char* name : kAnsweredMethods) {
        if (method == name) return true;
    }
    return false;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// The media type of a Content-Type value, without parameters, in lower case.
std::string MediaType(const std::string& contentType) {
    std::string type = contentType.substr(0, contentType.find(';'));
    size_t end = type.find_last_not_of(" \t");
    return Lower(end == std::string::npos ? std::string() : type.substr(0, end + 1));
}

// JSON text for a response; bytes that are not UTF-8 become U+FFFD.
std::string Dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

void SetJson(httplib::Response& res, int status, const json& value) {
    res.status = status;
    res.set_content(Dump(value), "application/json");
}

void SetError(httplib::Response& res, int status, const std::string& message) {
    SetJson(res, status, json{{"error", message}});
}

// Reads {"method": name, "params": [strings or integers]}; "params" may be left out.
bool ParseCall(const std::string& body, std::string* method, std::vector<std::string>* args,
               std::string* error) {
    json parsed = json::parse(body, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        *error = "the body is not a JSON object";
        return false;
    }
    auto name = parsed.find("method");
    if (name == parsed.end() || !name->is_string()) {
        *error = "\"method\" must be a string";
        return false;
    }
    *method = name->get<std::string>();
    auto params = parsed.find("params");
    if (params == parsed.end()) return true;
    if (!params->is_array()) {
        *error = "\"params\" must be an array";
        return false;
    }
    for (const json& param : *params) {
        if (param.is_string()) {
            args->push_back(param.get<std::string>());
        } else if (param.is_number_integer()) {
            args->push_back(param.dump());
        } else {
            *error = "\"params\" may hold only strings and integers";
            return false;
        }
    }
    return true;
}

}  // namespace

CBridge::CBridge(CHandlerTable& handlers) : handlers_(handlers) {
    server_.new_task_queue = [] { return new httplib::ThreadPool(32); };
    server_.set_tcp_nodelay(true);
    server_.set_keep_alive_max_count(10000);
    server_.set_keep_alive_timeout(2);
    server_.set_payload_max_length(kMaxBodyBytes);
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return CheckAccess(req, res);
    });
    AddRoutes();
}

CBridge::~CBridge() {
    Stop();
}

void CBridge::AllowPostContentType(const std::string& pathPrefix, const std::string& mediaType) {
    extraPostTypes_.emplace_back(pathPrefix, Lower(mediaType));
}

void CBridge::AddRoutes() {
    server_.Post("/pdl/call", [this](const httplib::Request& req, httplib::Response& res) {
        HandleCall(req, res);
    });
    server_.Post("/pdl/request", [this](const httplib::Request& req, httplib::Response& res) {
        HandleRequest(req, res);
    });
    server_.Get("/pdl/events", [this](const httplib::Request& req, httplib::Response& res) {
        HandleEvents(req, res);
    });
}

bool CBridge::Start(int port) {
    if (started_) return true;
    port_ = BindExclusively(server_, "127.0.0.1", port);
    if (port_ <= 0) return false;
    listenEnded_ = false;
    thread_ = std::thread([this] {
        server_.listen_after_bind();
        listenEnded_ = true;
    });
    // Stop() can end the server only once it runs; wait for that here.
    while (!server_.is_running() && !listenEnded_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!server_.is_running()) {
        thread_.join();
        return false;
    }
    started_ = true;
    fprintf(stderr, "lxcore bridge listening on http://127.0.0.1:%d/\n", port_);
    return true;
}

void CBridge::Stop() {
    pairing_.Stop();
    events_.Stop();
    if (!started_) return;
    server_.stop();
    if (thread_.joinable()) thread_.join();
    started_ = false;
}

void CBridge::Publish(const std::string& function, const std::vector<std::string>& params) {
    // The event's JSON holds the whole answer: with nobody listening (the web
    // app asks through /pdl/request), writing it would only cost time and
    // scatter the engine's heap.
    if (events_.Wanted(function)) {
        events_.Publish(function, Dump(json{{"function", function}, {"params", params}}));
    }
    pairing_.Resolve(function, params.empty() ? std::string() : params[0]);
}

httplib::Server::HandlerResponse CBridge::CheckAccess(const httplib::Request& req,
                                                      httplib::Response& res) const {
    std::string refusal = AccessRefusal(req);
    if (refusal.empty()) return httplib::Server::HandlerResponse::Unhandled;
    SetError(res, 403, refusal);
    return httplib::Server::HandlerResponse::Handled;
}

// Only the local user's own pages and tools get through: a loopback peer that
// names the loopback in Host (no DNS rebinding), no foreign Origin (no
// cross-site calls) and, for a POST, a JSON body (no plain HTML form posts).
std::string CBridge::AccessRefusal(const httplib::Request& req) const {
    if (req.remote_addr.compare(0, 4, "127.") != 0) return "only local connections are served";
    if (!IsOwnHost(req.get_header_value("Host"))) return "the Host header must name 127.0.0.1";
    if (req.has_header("Origin") && !IsOwnOrigin(req.get_header_value("Origin"))) {
        return "requests from other origins are refused";
    }
    if (req.method == "POST" &&
        !AcceptsPostContentType(req.path, req.get_header_value("Content-Type"))) {
        return "a POST must have Content-Type application/json";
    }
    return std::string();
}

bool CBridge::IsOwnHost(const std::string& host) const {
    std::string port = ":" + std::to_string(port_);
    std::string lower = Lower(host);
    return lower == "127.0.0.1" + port || lower == "localhost" + port;
}

bool CBridge::IsOwnOrigin(const std::string& origin) const {
    std::string lower = Lower(origin);
    return lower.compare(0, 7, "http://") == 0 && IsOwnHost(lower.substr(7));
}

bool CBridge::AcceptsPostContentType(const std::string& path,
                                     const std::string& contentType) const {
    std::string type = MediaType(contentType);
    if (type == "application/json") return true;
    for (const auto& allowed : extraPostTypes_) {
        if (path.compare(0, allowed.first.size(), allowed.first) == 0 && type == allowed.second) {
            return true;
        }
    }
    return false;
}

CHandlerTable::Outcome CBridge::Invoke(const Call& call, CAnswerPairing::SlotPtr* slot) {
    std::lock_guard<std::mutex> lock(callMutex_);
    if (!IsAnsweredMethod(call.method)) return handlers_.Invoke(call.method, call.args);
    // The slot is taken before the handler posts, so its answer cannot come first.
    std::string callback = "Callback_" + call.method;
    CAnswerPairing::SlotPtr reserved = pairing_.Reserve(callback);
    CHandlerTable::Outcome outcome = handlers_.Invoke(call.method, call.args);
    if (!outcome.result) {
        pairing_.Cancel(callback, reserved);
    } else if (slot != nullptr) {
        *slot = reserved;
    }
    return outcome;
}

bool CBridge::RunCall(const httplib::Request& req, httplib::Response& res,
                      CHandlerTable::Outcome* outcome, CAnswerPairing::SlotPtr* slot) {
    Call call;
    std::string error;
    if (!ParseCall(req.body, &call.method, &call.args, &error)) {
        SetError(res, 400, error);
        return false;
    }
    if (!handlers_.IsComplete()) {
        SetError(res, 503, "the engine has not finished starting");
        return false;
    }
    *outcome = Invoke(call, slot);
    if (!outcome->found) {
        SetError(res, 404, "unknown method " + call.method);
        return false;
    }
    return true;
}

void CBridge::HandleCall(const httplib::Request& req, httplib::Response& res) {
    CHandlerTable::Outcome outcome;
    if (!RunCall(req, res, &outcome, nullptr)) return;
    json answer{{"result", outcome.result}};
    if (outcome.raised) answer["exception"] = outcome.exception;
    SetJson(res, 200, answer);
}

void CBridge::HandleRequest(const httplib::Request& req, httplib::Response& res) {
    CHandlerTable::Outcome outcome;
    CAnswerPairing::SlotPtr slot;
    if (!RunCall(req, res, &outcome, &slot)) return;
    if (outcome.raised) {
        SetJson(res, 400, json{{"exception", outcome.exception}});
        return;
    }
    if (!outcome.result || slot == nullptr) {
        SetJson(res, outcome.result ? 200 : 400, json{{"result", outcome.result}});
        return;
    }
    std::string answer;
    switch (pairing_.Wait(slot, requestTimeout_, &answer)) {
        case CAnswerPairing::WaitResult::kAnswered:
            res.set_content(answer, "application/json");
            break;
        case CAnswerPairing::WaitResult::kTimedOut:
            SetError(res, 504, "no answer from the engine in time");
            break;
        case CAnswerPairing::WaitResult::kStopped:
            SetError(res, 503, "the engine is shutting down");
            break;
    }
}

void CBridge::HandleEvents(const httplib::Request&, httplib::Response& res) {
    CEventStream::SubscriberPtr subscriber = events_.Subscribe();
    res.set_header("Cache-Control", "no-cache");
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, subscriber](size_t, httplib::DataSink& sink) {
            std::vector<std::string> events;
            if (!events_.Next(subscriber, kKeepAliveInterval, &events)) {
                sink.done();
                return true;
            }
            // A comment line keeps idle connections alive and finds closed ones.
            std::string text = events.empty() ? ": keep-alive\n\n" : std::string();
            for (const std::string& event : events) text += "data: " + event + "\n\n";
            return sink.write(text.data(), text.size());
        },
        [this, subscriber](bool) { events_.Unsubscribe(subscriber); });
}
