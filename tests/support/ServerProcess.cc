#include "tests/support/ServerProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/support/WorkingDirectory.h"

namespace lxtest {

namespace {

// The port of a whole "listening on ...127.0.0.1:PORT" line; 0 before one.
int AnnouncedPort(const std::string& output) {
    const size_t line = output.find("listening on ");
    const size_t address = output.find("127.0.0.1:", line);
    if (line == std::string::npos || address == std::string::npos ||
        output.find('\n', address) == std::string::npos) {
        return 0;
    }
    return atoi(output.c_str() + address + 10);
}

}  // namespace

bool ServerProcess::Start(const std::string& command, const std::string& readyText) {
    if (IsRunning()) return false;
    // A restart must not read the ready line of the previous run.
    const std::string out = root.File("stdout.txt"), err = root.File("stderr.txt");
    unlink(out.c_str());
    unlink(err.c_str());
    const std::string script = "exec >'" + out + "' 2>'" + err + "'; " + command;
    pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (pid > 0 && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            ADD_FAILURE() << command << "\nexited at start (status " << status << "):\n"
                          << Output() << Log();
            return false;
        }
        const std::string output = Output() + Log();
        const int announced = AnnouncedPort(output);
        if (announced > 0 && output.find(readyText) != std::string::npos) {
            port = announced;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << command << "\ndid not become ready:\n" << Output() << Log();
    Stop();
    return false;
}

int ServerProcess::Stop() {
    if (!IsRunning()) return -1;
    int status = 0;
    kill(pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool exited = false;
    while (!exited && std::chrono::steady_clock::now() < deadline) {
        exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    pid = -1;
    return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ServerProcess::Output() const {
    return ReadTextFile(root.File("stdout.txt"));
}

std::string ServerProcess::Log() const {
    return ReadTextFile(root.File("stderr.txt"));
}

int RunToExit(const std::string& command, std::string* output) {
    FILE* pipe = popen(("exec 2>&1; " + command).c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output->append(buffer, got);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace lxtest
