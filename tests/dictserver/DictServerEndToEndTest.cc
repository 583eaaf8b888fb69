// lxdictd and lxquery as processes: Debian's dict client against a running
// server on a free port, raw connections for what dict never sends, and the
// command line's text, JSON and exit statuses.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/rendermanager/CatDictionary.h"
#include "tests/support/ServerProcess.h"
#include "tests/support/TestDatabase.h"

namespace {

// Output and exit status of a shell command.
struct CommandResult {
    int status;
    std::string output;
};

CommandResult RunCommand(const std::string& command) {
    CommandResult result{-1, ""};
    result.status = lxtest::RunToExit(command, &result.output);
    return result;
}

bool Contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

// The command that runs lxdictd serving `appDir` on a free port.
std::string Lxdictd(const std::string& appDir, const std::string& options = "") {
    return "exec '" LXDICTD_PATH "' --data '" + appDir + "' --port 0 " + options;
}

// A raw protocol connection.
class Connection {
public:
    explicit Connection(int port) {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
            close(fd);
            fd = -1;
        }
    }
    ~Connection() {
        if (fd >= 0) close(fd);
    }
    bool Send(const std::string& bytes) {
        return fd >= 0 && send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                              static_cast<ssize_t>(bytes.size());
    }
    // Reads until the text received ends with `end` (or the connection
    // closes, with `end` empty); gives up after `seconds`.
    std::string ReadUntil(const std::string& end, int seconds = 10) {
        std::string text;
        pollfd ready{fd, POLLIN, 0};
        char buffer[8192];
        while (fd >= 0 && (end.empty() || text.size() < end.size() ||
                           text.compare(text.size() - end.size(), end.size(), end) != 0)) {
            if (poll(&ready, 1, seconds * 1000) != 1) break;
            const ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
            if (got <= 0) break;
            text.append(buffer, static_cast<size_t>(got));
        }
        return text;
    }

private:
    int fd = -1;
};

class DictServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteCatDictionary(db);
        ASSERT_TRUE(db.Write());
    }
    std::string Dict(int port, const std::string& arguments) {
        return "dict -h 127.0.0.1 -p " + std::to_string(port) + " " + arguments;
    }
    std::string Query(const std::string& arguments) {
        return std::string(LXQUERY_PATH) + " --data '" + db.Dir() + "' " + arguments;
    }
    lxtest::TestDatabase db;
};

}  // namespace

TEST_F(DictServerTest, BadCommandsAreAnsweredAndTheDictClientDefinesMatchesAndLists) {
    lxtest::ServerProcess server(Lxdictd(db.Dir()));
    ASSERT_GT(server.Port(), 0) << "lxdictd did not start";
    Connection client(server.Port());
    EXPECT_EQ(0u, client.ReadUntil("\r\n").find("220 "));
    const struct {
        std::string command, answer;
    } cases[] = {
        {"DEFINE lexora \"cat\r\n", "501 syntax error, illegal parameters\r\n"},
        {std::string(3000, 'x') + "\r\n", "500 line too long\r\n"},
        {"FROBNICATE\r\n", "500 unknown command\r\n"},
        {"DEFINE wn cat\r\n", "550 invalid database, use \"SHOW DB\" for list of databases\r\n"},
        {"MATCH lexora nearby cat\r\n",
         "551 invalid strategy, use \"SHOW STRAT\" for a list of strategies\r\n"},
        {"DEFINE * qqq\r\n", "552 no match\r\n"},
        {"AUTH user secret\r\n", "502 command not implemented\r\n"},
        {"OPTION GZIP\r\n", "503 command parameter not implemented\r\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(client.Send(c.command));
        EXPECT_EQ(c.answer, client.ReadUntil("\r\n")) << c.command.substr(0, 40);
    }
    // Commands sent together are answered in order, dot-stuffed.
    ASSERT_TRUE(client.Send("DEFINE ! cat\r\nMATCH * exact DOG\r\nQUIT\r\n"));
    const std::string answers = client.ReadUntil("");
    const size_t defined = answers.find("150 1 definitions retrieved\r\n151 \"cat\" lexora");
    const size_t matched = answers.find("152 1 matches found\r\nlexora \"dog\"\r\n.\r\n250 ok");
    EXPECT_NE(std::string::npos, defined) << answers;
    EXPECT_LT(defined, matched) << answers;
    EXPECT_EQ(answers.size() - 9, answers.rfind("221 bye\r\n")) << answers;

    if (system("command -v dict >/dev/null 2>&1") != 0) GTEST_SKIP() << "Debian's dict is missing";
    const int port = server.Port();
    const struct {
        std::string arguments, expected;
    } commands[] = {
        {"cats", "From Lexora English dictionary [lexora]:"},
        {"cats", "1. feline mammal; \"the cat sat\""},
        {"cats", "[1] plural: cats"},
        {"cats", "THESAURUS: cat"},
        // One strategy end to end; the matcher's own tests check them all.
        {"-m -s wildcard '?og'", "lexora:  dog"},
        {"-D", "lexora     Lexora English dictionary"},
        {"-S", "wildcard   Match with ? for one character and * for any run"},
        {"-I", "lxdictd on "},
        {"-i lexora", "Headwords listed: 3"},
    };
    for (const auto& c : commands) {
        CommandResult result = RunCommand(Dict(port, c.arguments));
        EXPECT_EQ(0, result.status) << c.arguments << "\n" << result.output;
        EXPECT_TRUE(Contains(result.output, c.expected)) << c.arguments << "\n" << result.output;
    }
    CommandResult missing = RunCommand(Dict(port, "qqq"));
    EXPECT_EQ(20, missing.status) << missing.output;  // dict's "no matches found"
    EXPECT_EQ(0, server.Stop());
}

TEST_F(DictServerTest, SixtyFourClientsAtOnceAndTheNextIsTurnedAway) {
    lxtest::ServerProcess server(Lxdictd(db.Dir()));
    ASSERT_GT(server.Port(), 0);
    std::vector<std::unique_ptr<Connection>> clients;
    for (int i = 0; i < 64; ++i) {
        clients.emplace_back(new Connection(server.Port()));
        ASSERT_EQ(0u, clients.back()->ReadUntil("\r\n").find("220 ")) << "client " << i;
    }
    Connection extra(server.Port());
    EXPECT_EQ("420 server temporarily unavailable, too many connections\r\n", extra.ReadUntil(""));

    for (auto& client : clients) ASSERT_TRUE(client->Send("DEFINE lexora man\r\n"));
    for (auto& client : clients) {
        const std::string answer = client->ReadUntil("]\r\n");
        EXPECT_EQ(0u, answer.find("150 ")) << answer;
        EXPECT_TRUE(Contains(answer, "an adult person who is male")) << answer;
    }
    clients.pop_back();  // one leaves: room for another
    std::string greeting;
    for (int attempt = 0; attempt < 50 && greeting.find("220 ") != 0; ++attempt) {
        Connection retry(server.Port());
        greeting = retry.ReadUntil("\r\n");
        if (greeting.find("420") == 0) usleep(20000);
    }
    EXPECT_EQ(0u, greeting.find("220 ")) << greeting;
}

TEST_F(DictServerTest, AnIdleConnectionIsClosed) {
    lxtest::ServerProcess server(Lxdictd(db.Dir(), "--idle-timeout 1"));
    ASSERT_GT(server.Port(), 0);
    Connection client(server.Port());
    client.ReadUntil("\r\n");
    EXPECT_EQ("421 idle timeout, closing connection\r\n", client.ReadUntil("", 5));
}

TEST_F(DictServerTest, TheCommandLineDefinesMatchesAndFails) {
    CommandResult cats = RunCommand(Query("define cats"));
    EXPECT_EQ(0, cats.status);
    EXPECT_EQ(0u, cats.output.find("cat\n  c\xC2\xB7"
                                   "at /k@t/\n\nnoun [1]\n"))
        << cats.output;
    EXPECT_FALSE(Contains(cats.output, "THESAURUS")) << cats.output;

    CommandResult thesaurus = RunCommand(Query("define --thesaurus cat"));
    EXPECT_EQ("THESAURUS: cat\n\nnoun\n  kitty, puss (informal)\n", thesaurus.output);

    CommandResult json = RunCommand(Query("define --json cats 2>/dev/null"));
    EXPECT_EQ(0, json.status);
    const nlohmann::json answer = nlohmann::json::parse(json.output, nullptr, false);
    ASSERT_TRUE(answer.is_object()) << json.output;
    EXPECT_EQ("cat", answer.value("word", ""));
    EXPECT_TRUE(answer.contains("dictionary") && answer.contains("thesaurus"));

    CommandResult near = RunCommand(Query("define ca"));
    EXPECT_EQ(1, near.status);
    EXPECT_EQ("lexora: no definition for \"ca\"\ndid you mean: cat\n", near.output);

    CommandResult matched = RunCommand(Query("match '?a?'"));
    EXPECT_EQ(0, matched.status);
    EXPECT_EQ("cat\nman\n", matched.output);
    CommandResult unmatched = RunCommand(Query("match 'zz*'"));
    EXPECT_EQ(1, unmatched.status);
    EXPECT_EQ("lexora: no headword matches \"zz*\"\n", unmatched.output);

    CommandResult noData =
        RunCommand(std::string(LXQUERY_PATH) + " --data /nonexistent define cat");
    EXPECT_EQ(2, noData.status) << noData.output;
}
