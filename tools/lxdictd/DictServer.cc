#include "tools/lxdictd/DictServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <thread>

namespace {

const char kTooBusy[] = "420 server temporarily unavailable, too many connections\r\n";

std::string HostName() {
    char name[256] = "";
    if (gethostname(name, sizeof(name) - 1) != 0 || name[0] == '\0') return "localhost";
    return name;
}

}  // namespace

CDictServer::CDictServer(CDictionaryService* service, const Options& options) : options(options) {
    state.service = service;
    state.hostName = HostName();
    state.started = time(nullptr);
}

CDictServer::~CDictServer() {
    if (listener >= 0) close(listener);
    for (int fd : wake) {
        if (fd >= 0) close(fd);
    }
}

bool CDictServer::Listen(std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(options.port);
    const int lookup = getaddrinfo(options.address.c_str(), service.c_str(), &hints, &found);
    if (lookup != 0) {
        *error = "cannot use address " + options.address + ": " + gai_strerror(lookup);
        return false;
    }
    for (addrinfo* a = found; a != nullptr && listener < 0; a = a->ai_next) {
        listener = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (listener < 0) continue;
        int one = 1;
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
        if (bind(listener, a->ai_addr, a->ai_addrlen) != 0 || listen(listener, SOMAXCONN) != 0) {
            *error = "cannot listen on " + options.address + ":" + service + ": " + strerror(errno);
            close(listener);
            listener = -1;
        }
    }
    freeaddrinfo(found);
    if (listener < 0) return false;
    sockaddr_storage bound{};
    socklen_t length = sizeof(bound);
    getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length);
    port = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                             : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    if (pipe2(wake, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + strerror(errno);
        return false;
    }
    return true;
}

void CDictServer::Run() {
    pollfd waits[2] = {{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
    while (listener >= 0) {
        if (poll(waits, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (waits[1].revents != 0) break;
        if (waits[0].revents != 0) Accept();
    }
    std::unique_lock<std::mutex> hold(sessionsLock);
    for (int client : sessions) shutdown(client, SHUT_RDWR);
    sessionEnded.wait(hold, [this] { return sessions.empty(); });
}

void CDictServer::Stop() {
    const char byte = 1;
    if (wake[1] >= 0 && write(wake[1], &byte, 1) < 0) perror("lxdictd: stop");
}

void CDictServer::Accept() {
    const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
        // Out of descriptors or memory: wait a little rather than spin.
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
            usleep(10000);
        return;
    }
    int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
    timeval sendTimeout{options.sendTimeoutSeconds, 0};
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof(sendTimeout));
    timeval idleTimeout{options.idleSeconds, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &idleTimeout, sizeof(idleTimeout));
    std::lock_guard<std::mutex> hold(sessionsLock);
    if (static_cast<int>(sessions.size()) >= options.maxConnections) {
        send(client, kTooBusy, sizeof(kTooBusy) - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        close(client);
        return;
    }
    try {
        std::thread(&CDictServer::Serve, this, client).detach();
        sessions.insert(client);
    } catch (const std::exception&) {
        close(client);  // no thread to serve it
    }
}

void CDictServer::Serve(int client) {
    try {
        CDictSession session(client, &state);
        session.Run();
    } catch (const std::exception& e) {
        fprintf(stderr, "lxdictd: connection ended: %s\n", e.what());
    }
    std::lock_guard<std::mutex> hold(sessionsLock);
    sessions.erase(client);
    close(client);
    sessionEnded.notify_all();
}
