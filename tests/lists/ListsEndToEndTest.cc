// Lists stored through the bridge of a running engine, read back, and still
// there after the engine restarts.
#include <gtest/gtest.h>

#include <string>

#include "db/Format.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkingDirectory.h"

namespace {

TEST(ListsEndToEnd, ListsPersistAcrossRestarts) {
    lxtest::TestDatabase db;
    db.WordWithLines("cat", {{lxd::kKindNoun, "a small domesticated feline"}});
    ASSERT_TRUE(db.Write());
    lxtest::EngineProcess engine(db.Path());
    ASSERT_TRUE(engine.Start());

    const std::string words = "[\"cat\",\"dog\"]";
    const std::string answer = "{\"fileName\":\"recent\",\"words\":\n" + words + "}";
    EXPECT_EQ(engine.Call("SetManagedWords", {"recent", words}).status, 200);
    EXPECT_EQ(engine.Request("GetManagedWords", {"recent"}).body, answer);
    EXPECT_EQ(lxtest::ReadTextFile(engine.DataDir() + "/recent"), words);

    lxtest::HttpReply refused = engine.Call("SetManagedWords", {".hidden", words});
    EXPECT_NE(refused.body.find("invalid list name"), std::string::npos) << refused.body;
    EXPECT_FALSE(lxtest::PathExists(engine.DataDir() + "/.hidden"));

    EXPECT_EQ(engine.Stop(), 0);
    ASSERT_TRUE(engine.Start());
    EXPECT_EQ(engine.Request("GetManagedWords", {"recent"}).body, answer);
    EXPECT_EQ(engine.Stop(), 0);
}

}  // namespace
