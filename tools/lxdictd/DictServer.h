// The DICT server's listening side: accepts connections on one address and
// serves each in a thread of its own (CDictSession), at most maxConnections
// at once; a connection beyond that is told 420 and closed. Stop() ends the
// accept loop, closes every connection and returns once all have ended.
#ifndef LEXORA_TOOLS_LXDICTD_DICTSERVER_H
#define LEXORA_TOOLS_LXDICTD_DICTSERVER_H

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>

#include "tools/lxdictd/DictSession.h"

class CDictionaryService;

class CDictServer {
public:
    struct Options {
        std::string address = "127.0.0.1";
        int port = 2628;  // 0: any free port
        int maxConnections = 64;
        int idleSeconds = 300;        // a silent connection is closed after this
        int sendTimeoutSeconds = 60;  // a client that takes no data this long is dropped
    };

    CDictServer(CDictionaryService* service, const Options& options);
    ~CDictServer();
    CDictServer(const CDictServer&) = delete;
    CDictServer& operator=(const CDictServer&) = delete;

    // Binds and listens. False, with the reason in *error, when it cannot.
    bool Listen(std::string* error);
    // The port listened on, once Listen succeeded.
    int Port() const { return port; }
    // Accepts connections until Stop(); returns when every session has ended.
    void Run();
    // Makes Run() return; callable from any thread, any number of times.
    void Stop();

private:
    void Accept();
    void Serve(int client);

    Options options;
    DictServerState state;
    int listener = -1;
    int port = 0;
    int wake[2] = {-1, -1};  // a byte on wake[1] ends the accept loop
    std::mutex sessionsLock;
    std::condition_variable sessionEnded;
    std::set<int> sessions;  // sockets of the running sessions
};

#endif  // LEXORA_TOOLS_LXDICTD_DICTSERVER_H
