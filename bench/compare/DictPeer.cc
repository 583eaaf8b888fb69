// A DICT server (RFC 2229) on the loopback interface: dictd, or lxdictd.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bench/compare/Peers.h"

namespace lxcompare {

namespace {

constexpr size_t kWarmUpWords = 1000;

// One connection to the server, read line by line.
class DictConnection {
public:
    explicit DictConnection(int port) {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
        timeval timeout{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            Status(ReadLine()) != 220) {
            Close();
        }
    }
    ~DictConnection() { Close(); }
    DictConnection(const DictConnection&) = delete;
    DictConnection& operator=(const DictConnection&) = delete;

    bool IsOpen() const { return fd >= 0; }

    // Sends one command and reads its whole answer: text blocks after
    // 150/151/152 lines end with a lone ".", the answer with a final status.
    // Returns that status, -1 when the connection failed.
    int Command(const std::string& command, size_t* textLines) {
        std::string line = command + "\r\n";
        if (fd < 0 || write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return -1;
        for (;;) {
            int status = Status(ReadLine());
            if (status == 151 || status == 152) {
                for (std::string text = ReadLine(); fd >= 0 && text != "."; text = ReadLine())
                    ++*textLines;
            } else if (status != 150) {
                return status;
            }
        }
    }

private:
    void Close() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    static int Status(const std::string& line) {
        return line.size() >= 3 && isdigit(line[0]) ? atoi(line.substr(0, 3).c_str()) : -1;
    }
    std::string ReadLine() {
        for (;;) {
            size_t end = pending.find("\r\n");
            if (end != std::string::npos) {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 2);
                return line;
            }
            // dictd writes an answer in pieces, so Nagle's algorithm on its
            // side holds the last piece until our ACK: acknowledge at once
            // rather than after the 40 ms delayed-ACK timer.
            int one = 1;
            if (fd >= 0) setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof(one));
            char buffer[16384];
            ssize_t got = fd >= 0 ? read(fd, buffer, sizeof(buffer)) : -1;
            if (got <= 0) {
                Close();
                return "";
            }
            pending.append(buffer, static_cast<size_t>(got));
        }
    }

    int fd = -1;
    std::string pending;  // bytes read but not yet returned as lines
};

std::string Quoted(std::string word) {
    std::replace(word.begin(), word.end(), '_', ' ');
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int RunDict(const std::string& peer, const std::string& database, int port,
            const std::string& wordsFile, int newConnections, const std::string& out) {
    std::vector<std::string> words = ReadLines(wordsFile);
    DictConnection connection(port);
    if (!connection.IsOpen()) {
        fprintf(stderr, "no DICT server on 127.0.0.1:%d\n", port);
        return 1;
    }
    const std::string define = "DEFINE " + database + " ";
    const std::string match = "MATCH " + database + " prefix ";
    size_t lines = 0;
    for (size_t i = 0; i < words.size() && i < kWarmUpWords; ++i)
        connection.Command(define + Quoted(words[i]), &lines);
    Timings defineTimes(out, peer, "define");
    Timings matchTimes(out, peer, "match");
    // STATUS does no dictionary work: the round trip through the connection.
    Timings statusTimes(out, peer, "status");
    size_t found = 0;
    lines = 0;
    for (const std::string& word : words) {
        defineTimes.Start();
        int status = connection.Command(define + Quoted(word), &lines);
        defineTimes.Stop();
        matchTimes.Start();
        connection.Command(match + Quoted(word), &lines);
        matchTimes.Stop();
        statusTimes.Start();
        connection.Command("STATUS", &lines);
        statusTimes.Stop();
        if (status < 0) {
            fprintf(stderr, "the DICT connection failed at %s\n", word.c_str());
            return 1;
        }
        found += status == 250;
    }
    Timings fresh(out, peer, "define-new-connection");
    for (size_t i = 0; i < words.size() && static_cast<int>(i) < newConnections; ++i) {
        size_t ignored = 0;
        fresh.Start();
        DictConnection own(port);
        own.Command(define + Quoted(words[i * words.size() / newConnections]), &ignored);
        own.Command("QUIT", &ignored);
        fresh.Stop();
    }
    printf("%s: %zu words, %zu found, %zu text lines\n", peer.c_str(), words.size(), found, lines);
    return 0;
}

}  // namespace lxcompare
