// Socket options and diagnostics shared by the programs that listen on a
// local port (the bridge and the audio server). A port belongs to one process
// at a time: a second program on the same port fails to bind instead of
// sharing the port's connections with the first. A port that a stopped
// program has just left can be bound again at once.
#ifndef LEXORA_PLATFORM_LISTENINGPORT_H
#define LEXORA_PLATFORM_LISTENINGPORT_H

namespace httplib {
class Server;
}

// Binds `server` to host:`port` (0: any free port) and returns the port, or
// -1 when it cannot be bound. The socket has SO_REUSEADDR only, so connections
// left in TIME_WAIT do not block a restart, and no SO_REUSEPORT, which would
// let a second process listen beside this one; its queue of pending
// connections is as long as the kernel allows, so a burst is not turned away.
int BindExclusively(httplib::Server& server, const char* host, int port);

// True when host:port cannot be bound because another socket holds it.
bool IsPortHeld(const char* host, int port);

// Prints one line on standard error saying why `program` could not listen on
// host:port: when another process holds the port, the line names the
// environment variable `portVariable` that chooses another.
void ReportListenFailure(const char* program, const char* host, int port, const char* portVariable);

#endif  // LEXORA_PLATFORM_LISTENINGPORT_H
