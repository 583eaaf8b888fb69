#include "tests/support/EngineProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/support/WorkingDirectory.h"

namespace fs = std::filesystem;

namespace lxtest {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kStopTimeout = std::chrono::seconds(10);
const char kUrlPrefix[] = "listening on http://127.0.0.1:";
const char kReadyBanner[] = "LXCORE PLUGIN LOADED";

// The environment of the child: ours, with the engine's variables replaced.
std::vector<std::string> ChildEnvironment(const std::string& dataDir, int port) {
    std::vector<std::string> env = {"LXCORE_PORT=" + std::to_string(port),
                                    "LXCORE_DATA_DIR=" + dataDir, "SDL_VIDEODRIVER=dummy"};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        if (name != "LXCORE_PORT=" && name != "LXCORE_DATA_DIR=" && name != "SDL_VIDEODRIVER=") {
            env.push_back(text);
        }
    }
    return env;
}

bool ExitedWithin(pid_t pid, std::chrono::seconds limit, int* status) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, status, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

}  // namespace

std::string CallBody(const std::string& method, const std::vector<CallParam>& params) {
    nlohmann::json list = nlohmann::json::array();
    for (const CallParam& param : params) {
        list.push_back(param.isInteger ? nlohmann::json(std::stoll(param.text))
                                       : nlohmann::json(param.text));
    }
    return nlohmann::json{{"method", method}, {"params", list}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
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

std::string LxcorePath() {
#ifdef LEXORA_LXCORE_PATH
    if (access(LEXORA_LXCORE_PATH, X_OK) == 0) return LEXORA_LXCORE_PATH;
#endif
    const char* build = getenv("LEXORA_BUILD");
    if (build != nullptr && build[0] != '\0') return std::string(build) + "/host/lxcore";
    return "lxcore";
}

EngineProcess::EngineProcess(const std::string& databaseFile)
    : appDir(root.File("app")), dataDir(root.File("userdata")) {
    fs::create_directories(appDir + "/data");
    if (!databaseFile.empty()) {
        std::error_code error;
        fs::copy_file(databaseFile, appDir + "/data/wordnet.lxd", error);
        if (error) ADD_FAILURE() << "cannot copy " << databaseFile << ": " << error.message();
    }
}

EngineProcess::~EngineProcess() {
    if (IsRunning()) Stop();
}

bool EngineProcess::Start() {
    if (IsRunning()) return false;
    std::string binary = LxcorePath();
    std::string logPath = root.File("stderr.txt");
    std::string outPath = root.File("stdout.txt");
    std::vector<std::string> env = ChildEnvironment(dataDir, port);
    std::vector<char*> envp;
    for (std::string& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>("lxcore"), nullptr};
    // A restart must not read the ready lines of the previous run.
    unlink(logPath.c_str());
    unlink(outPath.c_str());

    pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        if (chdir(appDir.c_str()) != 0) _exit(126);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        execve(binary.c_str(), argv, envp.data());
        _exit(127);
    }
    if (pid < 0) {
        ADD_FAILURE() << "fork failed";
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            ADD_FAILURE() << binary << " exited at start (status " << status << "):\n" << Log();
            return false;
        }
        std::string log = Log();
        size_t url = log.find(kUrlPrefix);
        if (url != std::string::npos && log.find(kReadyBanner) != std::string::npos) {
            port = atoi(log.c_str() + url + sizeof kUrlPrefix - 1);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << binary << " did not become ready:\n" << Log();
    Stop();
    return false;
}

std::unique_ptr<httplib::Client> EngineProcess::NewClient() const {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", port);
    client->set_read_timeout(60, 0);
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);
    return client;
}

HttpReply EngineProcess::Send(const std::string& method, const std::string& path,
                              const std::string& body, const std::string& contentType,
                              const std::vector<std::string>& headers) {
    std::unique_ptr<httplib::Client> client = NewClient();
    httplib::Headers extra;
    for (const std::string& line : headers) {
        size_t colon = line.find(':');
        size_t value = line.find_first_not_of(' ', colon + 1);
        extra.emplace(line.substr(0, colon), value == std::string::npos ? "" : line.substr(value));
    }
    httplib::Result result = method == "GET"
                                 ? client->Get(path.c_str(), extra)
                                 : client->Post(path.c_str(), extra, body, contentType.c_str());
    return result ? HttpReply{result->status, result->body} : HttpReply{};
}

HttpReply EngineProcess::Request(const std::string& method, const std::vector<CallParam>& params) {
    return Send("POST", "/pdl/request", CallBody(method, params));
}

HttpReply EngineProcess::Call(const std::string& method, const std::vector<CallParam>& params) {
    return Send("POST", "/pdl/call", CallBody(method, params));
}

int EngineProcess::Stop() {
    if (!IsRunning()) return -1;
    int status = 0;
    kill(pid, SIGTERM);
    bool exited = ExitedWithin(pid, kStopTimeout, &status);
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    pid = -1;
    return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string EngineProcess::Log() const {
    return ReadTextFile(root.File("stderr.txt"));
}

std::string EngineProcess::Output() const {
    return ReadTextFile(root.File("stdout.txt"));
}

}  // namespace lxtest
