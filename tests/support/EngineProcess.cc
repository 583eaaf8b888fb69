#include "tests/support/EngineProcess.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace lxtest {

std::string CallBody(const std::string& method, const CallParams& params) {
    return nlohmann::json{{"method", method}, {"params", params}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace);
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

bool EngineProcess::Start() {
    return ServerProcess::Start("cd '" + appDir + "' && LXCORE_PORT=" + std::to_string(Port()) +
                                    " LXCORE_DATA_DIR='" + dataDir +
                                    "' SDL_VIDEODRIVER=dummy exec '" + LxcorePath() + "'",
                                "LXCORE PLUGIN LOADED");
}

std::unique_ptr<httplib::Client> EngineProcess::NewClient() const {
    auto client = std::make_unique<httplib::Client>("127.0.0.1", Port());
    client->set_read_timeout(60, 0);
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);
    return client;
}

HttpReply EngineProcess::Send(const std::string& method, const std::string& path,
                              const std::string& body, const std::string& contentType) {
    std::unique_ptr<httplib::Client> client = NewClient();
    httplib::Result result = method == "GET"
                                 ? client->Get(path.c_str())
                                 : client->Post(path.c_str(), body, contentType.c_str());
    return result ? HttpReply{result->status, result->body} : HttpReply{};
}

HttpReply EngineProcess::Request(const std::string& method, const CallParams& params) {
    return Send("POST", "/pdl/request", CallBody(method, params));
}

}  // namespace lxtest
