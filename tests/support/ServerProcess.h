// Runs a server program for a test through /bin/sh: the command must end by
// exec'ing the server, which says it is ready with a line holding
// "listening on ...127.0.0.1:PORT" on standard output or standard error.
// Both go to files of the object's own temporary folder. Stopped with SIGTERM
// by Stop() or on destruction.
//
//   lxtest::ServerProcess server("exec '" LXDICTD_PATH "' --port 0");
//   ASSERT_GT(server.Port(), 0);              // 0: it did not start
//   EXPECT_EQ(0, server.Stop());              // its exit status
#ifndef LEXORA_TESTS_SUPPORT_SERVERPROCESS_H
#define LEXORA_TESTS_SUPPORT_SERVERPROCESS_H

#include <sys/types.h>

#include <string>

#include "tests/support/TestDatabase.h"

namespace lxtest {

class ServerProcess {
public:
    ServerProcess() = default;
    explicit ServerProcess(const std::string& command) { Start(command); }
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts `command` and waits (20 s at most) until its port line and
    // `readyText` were written. False, with the reason and the output added
    // as a test failure, when it exited or stayed silent.
    bool Start(const std::string& command, const std::string& readyText = "");
    int Port() const { return port; }
    pid_t Pid() const { return pid; }
    bool IsRunning() const { return pid > 0; }
    // SIGTERM, then the exit status (-1 when it did not exit by itself
    // within 10 s, or was not running).
    int Stop();
    // What the server wrote to standard output and to standard error.
    std::string Output() const;
    std::string Log() const;

protected:
    TempDir root;  // the output files, and whatever a subclass keeps there

private:
    pid_t pid = -1;
    int port = 0;  // kept after Stop(): a restart may ask for the same port
};

// Runs `command` through /bin/sh and waits for it: its exit status (-1 when
// it did not exit by itself), with what it wrote to standard output and
// standard error in *output.
int RunToExit(const std::string& command, std::string* output);

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_SERVERPROCESS_H
