// Runs the built lxcore engine as a child process for integration tests.
//
//   lxtest::EngineProcess engine;                 // or EngineProcess(pathOfALxdFile)
//   ASSERT_TRUE(engine.Start());                  // waits until the engine is ready
//   lxtest::HttpReply r = engine.Request("GetDefinition", {"cat"});
//   EXPECT_EQ(200, r.status);                     // r.body is the callback's JSON text
//   EXPECT_EQ(0, engine.Stop());                  // SIGTERM, then the exit status
//
// Each EngineProcess owns a fresh temporary application directory (its
// working directory; the database, when given, is copied to
// data/wordnet.lxd) and a temporary data directory for word lists
// (LXCORE_DATA_DIR). The bridge listens on a free port, and a restart on the
// port the engine had before. Put further files into AppDir() before
// Start(). The engine binary is found next to the test build
// (LEXORA_LXCORE_PATH at compile time), else as $LEXORA_BUILD/host/lxcore.
#ifndef LEXORA_TESTS_SUPPORT_ENGINEPROCESS_H
#define LEXORA_TESTS_SUPPORT_ENGINEPROCESS_H

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/ServerProcess.h"

namespace httplib {
class Client;
}

namespace lxtest {

// The parameters of a script call: strings and integers.
using CallParams = std::vector<nlohmann::json>;

struct HttpReply {
    int status = 0;  // 0 when no reply came
    std::string body;
};

// The JSON body {"method": method, "params": [...]} of a bridge call.
std::string CallBody(const std::string& method, const CallParams& params);

class EngineProcess : public ServerProcess {
public:
    // `databaseFile` (optional) is copied to AppDir()/data/wordnet.lxd.
    explicit EngineProcess(const std::string& databaseFile = "");

    const std::string& AppDir() const { return appDir; }
    const std::string& DataDir() const { return dataDir; }

    // Starts the engine and waits until it has called "ready".
    bool Start();
    // POST /pdl/request: the call's answer (the callback's text) or an error.
    HttpReply Request(const std::string& method, const CallParams& params = {});
    // Any request to the bridge: `method` "GET" or "POST"; a POST carries
    // `contentType`.
    HttpReply Send(const std::string& method, const std::string& path, const std::string& body,
                   const std::string& contentType = "application/json");
    // A client of the bridge for tests that need their own connections.
    std::unique_ptr<httplib::Client> NewClient() const;

private:
    std::string appDir;   // working directory of the engine
    std::string dataDir;  // LXCORE_DATA_DIR
};

// Path of the lxcore binary to test.
std::string LxcorePath();

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_ENGINEPROCESS_H
