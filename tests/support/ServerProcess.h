// Runs a server program through /bin/sh for a test: the command must end by
// exec'ing the server, whose first line on standard output names the port it
// listens on ("... 127.0.0.1:PORT ..."). Stopped with SIGTERM and waited for
// by Stop() or on destruction.
//
//   lxtest::ServerProcess server("exec '" LXDICTD_PATH "' --port 0");
//   ASSERT_GT(server.Port(), 0);              // 0: it did not start
//   EXPECT_EQ(0, server.Stop());              // its exit status
#ifndef LEXORA_TESTS_SUPPORT_SERVERPROCESS_H
#define LEXORA_TESTS_SUPPORT_SERVERPROCESS_H

#include <cstdio>
#include <string>

namespace lxtest {

class ServerProcess {
public:
    explicit ServerProcess(const std::string& command);
    ~ServerProcess() { Stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int Port() const { return port; }
    // SIGTERM, then the exit status (-1 when it did not exit by itself).
    int Stop();

private:
    FILE* output = nullptr;  // the shell's standard output
    int pid = 0;
    int port = 0;
};

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_SERVERPROCESS_H
