#include "tools/lxdictd/DictSession.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "tools/lxdictd/CommandLine.h"
#include "tools/lxdictd/DictionaryService.h"
#include "tools/lxdictd/WordMatcher.h"

const char kDatabaseName[] = "lexora";
const char kDatabaseDescription[] = "Lexora English dictionary";

namespace {

const char kHelp[] =
    "DEFINE database word         -- look up word in database\n"
    "MATCH database strategy word -- match word in database using strategy\n"
    "SHOW DB                      -- list all accessible databases\n"
    "SHOW DATABASES               -- list all accessible databases\n"
    "SHOW STRAT                   -- list available matching strategies\n"
    "SHOW STRATEGIES              -- list available matching strategies\n"
    "SHOW INFO database           -- provide information about the database\n"
    "SHOW SERVER                  -- provide site-specific information\n"
    "OPTION MIME                  -- use MIME headers\n"
    "CLIENT info                  -- identify client to server\n"
    "STATUS                       -- display timing information\n"
    "HELP                         -- display this help information\n"
    "QUIT                         -- terminate connection\n"
    "\n"
    "Databases: \"lexora\", or \"*\" and \"!\" for all of them. The word is found as the\n"
    "Lexora app finds it: capitals or not, inflected forms, redirects.\n";

std::string Upper(std::string word) {
    for (char& c : word) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return word;
}

// A word as a protocol string: double quotes, with '"' and '\' escaped.
std::string Quoted(const std::string& word) {
    std::string quoted = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool IsServedDatabase(const std::string& name) {
    return name == kDatabaseName || name == "*" || name == "!";
}

}  // namespace

CDictSession::CDictSession(int socket, DictServerState* state)
    : socket(socket),
      state(state),
      response([this](const char* data, size_t size) { return SendAll(data, size); }) {}

void CDictSession::Run() {
    const uint64_t number = ++state->connections;
    response.Status(220, state->hostName + " lxdictd <mime> <" + std::to_string(getpid()) + "." +
                             std::to_string(number) + "." + std::to_string(time(nullptr)) + "@" +
                             state->hostName + ">");
    response.Flush();
    std::string line;
    for (;;) {
        const Read read = ReadLine(&line);
        if (read == Read::kClosed) return;
        if (read == Read::kIdle) {
            response.Status(421, "idle timeout, closing connection");
            response.Flush();
            return;
        }
        bool goOn = true;
        if (read == Read::kOverlong) {
            response.Status(500, "line too long");
        } else {
            goOn = Answer(line);
        }
        // Pipelined commands are answered together, in one write.
        const bool morePending = input.find('\n') != std::string::npos;
        if ((!morePending || !goOn) && !response.Flush()) return;
        if (!goOn) return;
    }
}

// A line longer than kMaxCommandLine is dropped up to its end, however long,
// and reported once.
CDictSession::Read CDictSession::ReadLine(std::string* line) {
    bool overlong = false;
    for (;;) {
        const size_t newline = input.find('\n');
        if (newline != std::string::npos) {
            const bool tooLong = overlong || newline + 1 > kMaxCommandLine;
            if (!tooLong) {
                line->assign(input, 0, newline);
                if (!line->empty() && line->back() == '\r') line->pop_back();
            }
            input.erase(0, newline + 1);
            return tooLong ? Read::kOverlong : Read::kLine;
        }
        if (input.size() >= kMaxCommandLine) {
            overlong = true;
            input.clear();
        }
        // The server gives every connection a receive timeout of the idle time.
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, sizeof(buffer), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Read::kIdle;
        if (got <= 0) return Read::kClosed;
        input.append(buffer, static_cast<size_t>(got));
    }
}

bool CDictSession::Answer(const std::string& line) {
    std::vector<std::string> words;
    if (SplitCommandLine(line, &words) != CommandSyntax::kOk) {
        response.Status(501, "syntax error, illegal parameters");
        return true;
    }
    const std::string command = words.empty() ? "" : Upper(words[0]);
    if (command == "DEFINE") {
        Define(words);
    } else if (command == "MATCH") {
        Match(words);
    } else if (command == "SHOW") {
        Show(words);
    } else if (command == "CLIENT" && words.size() >= 2) {
        response.Status(250, "ok");
    } else if (command == "STATUS" && words.size() == 1) {
        response.Status(210, "status " + Counts());
    } else if (command == "OPTION" && words.size() == 2 && Upper(words[1]) == "MIME") {
        response.mimeHeaders = true;
        response.Status(250, "ok - using MIME headers");
    } else if (command == "HELP" && words.size() == 1) {
        TextAnswer(113, "help text follows", kHelp);
    } else if (command == "QUIT" && words.size() == 1) {
        response.Status(221, "bye");
        return false;
    } else if (command == "OPTION" && words.size() == 2) {
        response.Status(503, "command parameter not implemented");
    } else if (command == "AUTH" || command == "SASLAUTH" || command == "SASLRESP") {
        response.Status(502, "command not implemented");
    } else if (command == "CLIENT" || command == "STATUS" || command == "OPTION" ||
               command == "HELP" || command == "QUIT") {
        response.Status(501, "syntax error, illegal parameters");
    } else {
        response.Status(500, "unknown command");
    }
    return true;
}

bool CDictSession::TakesArguments(const std::vector<std::string>& words, size_t count) {
    if (words.size() == count) return Serves(words[1]);
    response.Status(501, "syntax error, illegal parameters");
    return false;
}

bool CDictSession::Serves(const std::string& database) {
    if (IsServedDatabase(database)) return true;
    response.Status(550, "invalid database, use \"SHOW DB\" for list of databases");
    return false;
}

void CDictSession::Define(const std::vector<std::string>& words) {
    if (!TakesArguments(words, 3)) return;
    std::string headword, text;
    if (!state->service->Define(words[2], CDictionaryService::kAllViews, &headword, &text)) {
        response.Status(552, "no match");
        return;
    }
    ++state->definitions;
    ++sessionDefinitions;
    response.Status(150, "1 definitions retrieved");
    response.Status(151,
                    Quoted(headword) + " " + kDatabaseName + " " + Quoted(kDatabaseDescription));
    response.BeginText();
    response.Text(text);
    response.EndText();
    response.Status(250, "ok " + Counts());
}

void CDictSession::Match(const std::vector<std::string>& words) {
    if (!TakesArguments(words, 4)) return;
    const CHeadwordList& headwords = state->service->Headwords();
    std::vector<uint32_t> found;
    switch (MatchWords(headwords, words[2], words[3], &found)) {
        case MatchResult::kUnknownStrategy:
            response.Status(551, "invalid strategy, use \"SHOW STRAT\" for a list of strategies");
            return;
        case MatchResult::kBadPattern:
            response.Status(501, "syntax error, illegal parameters: not a regular expression");
            return;
        case MatchResult::kOk:
            break;
    }
    if (found.empty()) {
        response.Status(552, "no match");
        return;
    }
    state->matches += found.size();
    sessionMatches += found.size();
    response.Status(152, std::to_string(found.size()) + " matches found");
    response.BeginText();
    std::string entry;
    for (uint32_t index : found) {
        entry = kDatabaseName;
        entry += ' ';
        entry += Quoted(headwords.Get(index));
        entry += '\n';
        response.Text(entry);
    }
    response.EndText();
    response.Status(250, "ok " + Counts());
}

void CDictSession::Show(const std::vector<std::string>& words) {
    const std::string what = words.size() >= 2 ? Upper(words[1]) : "";
    if (words.size() == 2 && (what == "DB" || what == "DATABASES")) {
        TextAnswer(110, "1 databases present",
                   std::string(kDatabaseName) + " " + Quoted(kDatabaseDescription) + "\n");
    } else if (words.size() == 2 && (what == "STRAT" || what == "STRATEGIES")) {
        std::string list;
        for (size_t i = 0; i < kMatchStrategyCount; ++i) {
            list += std::string(kMatchStrategies[i].name) + " " +
                    Quoted(kMatchStrategies[i].description) + "\n";
        }
        TextAnswer(111, std::to_string(kMatchStrategyCount) + " strategies present", list);
    } else if (words.size() == 3 && what == "INFO") {
        if (!Serves(words[2])) return;
        TextAnswer(112, "database information follows", state->service->Describe());
    } else if (words.size() == 2 && what == "SERVER") {
        TextAnswer(114, "server information follows",
                   "lxdictd on " + state->hostName + ": Lexora's dictionary over DICT\n" + "up " +
                       std::to_string(time(nullptr) - state->started) + " s, " +
                       std::to_string(state->connections.load()) + " connections, " +
                       std::to_string(state->definitions.load()) + " definitions, " +
                       std::to_string(state->matches.load()) + " matches\n");
    } else {
        response.Status(501, "syntax error, illegal parameters");
    }
}

void CDictSession::TextAnswer(int code, const std::string& status, const std::string& text) {
    response.Status(code, status);
    response.BeginText();
    response.Text(text);
    response.EndText();
    response.Status(250, "ok");
}

std::string CDictSession::Counts() const {
    return "[d/m/c = " + std::to_string(sessionDefinitions) + "/" + std::to_string(sessionMatches) +
           "/" + std::to_string(state->connections.load()) + "]";
}

bool CDictSession::SendAll(const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}
