#include "tests/support/ServerProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace lxtest {

ServerProcess::ServerProcess(const std::string& command) {
    // The shell prints its own id, which exec hands on to the server.
    output = popen(("echo $$ && " + command).c_str(), "r");
    if (output == nullptr) return;
    pollfd ready{fileno(output), POLLIN, 0};
    std::string text;
    char buffer[256];
    ssize_t got;
    while (text.find('\n', text.find("127.0.0.1:")) == std::string::npos &&
           poll(&ready, 1, 20000) == 1 && (got = read(ready.fd, buffer, sizeof(buffer))) > 0) {
        text.append(buffer, static_cast<size_t>(got));
    }
    pid = atoi(text.c_str());
    const size_t address = text.find("127.0.0.1:");
    port = address == std::string::npos ? 0 : atoi(text.c_str() + address + 10);
}

int ServerProcess::Stop() {
    if (output == nullptr) return -1;
    if (pid > 0) kill(pid, SIGTERM);
    const int status = pclose(output);
    output = nullptr;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace lxtest
