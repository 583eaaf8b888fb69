#include "platform/ListeningPort.h"

#include <arpa/inet.h>
#include <errno.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

namespace {

void SetExclusiveListenOptions(int socket) {
    int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

}  // namespace

int BindExclusively(httplib::Server& server, const char* host, int port) {
    // The library listens with a short queue of its own; the socket it bound
    // is the last one the options hook saw, and listening again lengthens it.
    int bound = -1;
    server.set_socket_options([&bound](int socket) {
        SetExclusiveListenOptions(socket);
        bound = socket;
    });
    int result =
        port == 0 ? server.bind_to_any_port(host) : (server.bind_to_port(host, port) ? port : -1);
    server.set_socket_options(SetExclusiveListenOptions);
    if (result <= 0) return -1;
    listen(bound, SOMAXCONN);
    return result;
}

bool IsPortHeld(const char* host, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (port <= 0 || port > 65535 || inet_pton(AF_INET, host, &address.sin_addr) != 1) {
        return false;
    }
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    if (probe < 0) return false;
    SetExclusiveListenOptions(probe);
    bool held = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 &&
                errno == EADDRINUSE;
    close(probe);
    return held;
}

void ReportListenFailure(const char* program, const char* host, int port,
                         const char* portVariable) {
    if (IsPortHeld(host, port)) {
        fprintf(stderr, "port %d is in use: is Lexora already running? Set %s to choose another\n",
                port, portVariable);
    } else {
        fprintf(stderr, "%s: cannot listen on %s:%d\n", program, host, port);
    }
}
