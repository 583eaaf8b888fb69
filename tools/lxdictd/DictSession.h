// One client connection of the DICT server: reads command lines (at most
// 1,024 bytes each, CRLF included), answers each in order and ends on QUIT,
// on end of input, when a read times out (the socket's receive timeout is
// the idle time) or when the server stops. Bad input
// is answered with a status and never ends more than this connection.
#ifndef LEXORA_TOOLS_LXDICTD_DICTSESSION_H
#define LEXORA_TOOLS_LXDICTD_DICTSESSION_H

#include <atomic>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "tools/lxdictd/DictResponse.h"

class CDictionaryService;

// What every session of one server shares.
struct DictServerState {
    CDictionaryService* service = nullptr;
    std::string hostName;  // shown in the banner and SHOW SERVER
    time_t started = 0;    // when the server started
    std::atomic<uint64_t> connections{0};
    std::atomic<uint64_t> definitions{0};
    std::atomic<uint64_t> matches{0};
};

class CDictSession {
public:
    // Longest command line read, its line end included.
    static constexpr size_t kMaxCommandLine = 1024;

    CDictSession(int socket, DictServerState* state);
    CDictSession(const CDictSession&) = delete;
    CDictSession& operator=(const CDictSession&) = delete;

    // Greets the client and serves its commands until the connection ends.
    void Run();

private:
    enum class Read { kLine, kOverlong, kClosed, kIdle };

    Read ReadLine(std::string* line);
    // Answers one command line; false when the session should end.
    bool Answer(const std::string& line);
    // True when the command has `count` words and names a served database
    // second; otherwise answers 501 or 550.
    bool TakesArguments(const std::vector<std::string>& words, size_t count);
    // True for a served database name; otherwise answers 550.
    bool Serves(const std::string& database);
    void Define(const std::vector<std::string>& words);
    void Match(const std::vector<std::string>& words);
    void Show(const std::vector<std::string>& words);
    void TextAnswer(int code, const std::string& status, const std::string& text);
    bool SendAll(const char* data, size_t size);
    std::string Counts() const;

    int socket;
    DictServerState* state;
    CDictResponse response;
    std::string input;  // bytes read but not yet taken as lines
    uint64_t sessionDefinitions = 0;
    uint64_t sessionMatches = 0;
};

// The database names DEFINE and MATCH accept besides "*" and "!".
extern const char kDatabaseName[];
extern const char kDatabaseDescription[];

#endif  // LEXORA_TOOLS_LXDICTD_DICTSESSION_H
