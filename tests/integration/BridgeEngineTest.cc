#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

using lxtest::EngineProcess;
using lxtest::HttpReply;
using lxtest::PathExists;
using nlohmann::json;

const char kDatabaseError[] =
    "{\"errorcode\":\"databaseerror\",\"error\":\"Lexora could not open the dictionary database. "
    "Please reinstall Lexora.\"}";

// One engine process through its whole life: answers without a database,
// stores a list and refuses a bad list name, recovers once the database
// appears, keeps its port from a second engine, and keeps its lists across a
// restart.
TEST(BridgeEngine, ErrorsWithoutADatabaseThenRecoveryOwnPortAndListsThatPersist) {
    EngineProcess engine;
    ASSERT_TRUE(engine.Start());
    // Each method's answer without a database is checked in process (the
    // host tests); here the engine process answers at all.
    EXPECT_EQ(kDatabaseError, engine.Request("GetDefinition", {"cat"}).body);

    const std::string words = "[\"cat\",\"dog\"]";
    const std::string port = std::to_string(engine.Port());
    EXPECT_EQ(200, engine.Request("SetManagedWords", {"recent", words}).status);
    EXPECT_EQ(lxtest::ReadTextFile(engine.DataDir() + "/recent"), words);
    HttpReply refused = engine.Request("SetManagedWords", {".hidden", words});
    EXPECT_NE(refused.body.find("invalid list name"), std::string::npos) << refused.body;
    EXPECT_FALSE(PathExists(engine.DataDir() + "/.hidden"));

    lxtest::TestDatabase db;
    db.WordWithLines("cat", {{lxd::kKindOrigin, "from Latin cattus"}});
    ASSERT_TRUE(db.Write());
    std::filesystem::copy_file(db.Path(), engine.AppDir() + "/data/wordnet.lxd");
    const std::string answer = "{\"fileName\":\"recent\",\"words\":\n" + words + "}";
    EXPECT_EQ(answer, engine.Request("GetManagedWords", {"recent"}).body);
    EXPECT_EQ("cat", json::parse(engine.Request("GetDefinition", {"cat"}).body)["word"]);

    // The port is this engine's: a second one started on it says so and
    // exits without making its list folder, and every request still reaches
    // the first.
    lxtest::TempDir second;
    std::string errors;
    EXPECT_EQ(1, lxtest::RunToExit("cd '" + engine.AppDir() + "' && LXCORE_PORT=" + port +
                                       " LXCORE_DATA_DIR='" + second.File("lists") +
                                       "' SDL_VIDEODRIVER=dummy timeout 20 '" +
                                       lxtest::LxcorePath() + "'",
                                   &errors));
    EXPECT_EQ("port " + port +
                  " is in use: is Lexora already running? Set LXCORE_PORT to choose another\n",
              errors);
    EXPECT_FALSE(PathExists(second.File("lists")));
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(answer, engine.Request("GetManagedWords", {"recent"}).body) << "request " << i;
    }

    // A connection still open at the stop is closed by the engine, which
    // leaves it in TIME_WAIT on the port; the restart binds the port again.
    std::unique_ptr<httplib::Client> lingering = engine.NewClient();
    ASSERT_TRUE(lingering->Get("/"));
    EXPECT_EQ(0, engine.Stop());
    EXPECT_EQ("", engine.Output());
    EXPECT_NE(std::string::npos, engine.Log().find("LXCORE PLUGIN UNLOADED"));
    ASSERT_TRUE(engine.Start());
    EXPECT_EQ(port, std::to_string(engine.Port()));
    EXPECT_EQ(answer, engine.Request("GetManagedWords", {"recent"}).body);
    EXPECT_EQ(0, engine.Stop());
}

}  // namespace
