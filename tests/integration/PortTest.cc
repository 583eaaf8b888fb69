#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

// A port belongs to one engine: a second engine started on it says so and
// exits without touching its lists, the first keeps every request and its
// own lists, and a restart binds the port it has just left.
TEST(Ports, ASecondEngineOnAHeldPortRefusesToStart) {
    lxtest::TestDatabase db;
    db.WordWithLines("cat", {{lxd::kKindNoun, "a small domesticated feline"}});
    ASSERT_TRUE(db.Write());
    lxtest::EngineProcess first(db.Path());
    ASSERT_TRUE(first.Start());
    const int port = first.Port();
    const std::string words = "[\"cat\"]";
    ASSERT_EQ(200, first.Request("SetManagedWords", {"favourites", words}).status);

    lxtest::TempDir second;
    std::string errors;
    int status =
        lxtest::RunToExit("cd '" + first.AppDir() + "' && LXCORE_PORT=" + std::to_string(port) +
                              " LXCORE_DATA_DIR='" + second.File("lists") +
                              "' SDL_VIDEODRIVER=dummy timeout 20 '" + lxtest::LxcorePath() + "'",
                          &errors);
    EXPECT_EQ(1, status);
    EXPECT_EQ("port " + std::to_string(port) +
                  " is in use: is Lexora already running? Set LXCORE_PORT to choose another\n",
              errors);
    EXPECT_FALSE(lxtest::PathExists(second.File("lists")));

    const std::string answer = "{\"fileName\":\"favourites\",\"words\":\n" + words + "}";
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(answer, first.Request("GetManagedWords", {"favourites"}).body) << "request " << i;
    }
    // A connection still open when the engine stops is closed by the engine,
    // which leaves it in TIME_WAIT on the engine's port.
    std::unique_ptr<httplib::Client> lingering = first.NewClient();
    ASSERT_TRUE(lingering->Get("/"));
    EXPECT_EQ(0, first.Stop());
    ASSERT_TRUE(first.Start());
    EXPECT_EQ(port, first.Port());
    EXPECT_EQ(answer, first.Request("GetManagedWords", {"favourites"}).body);
}

}  // namespace
