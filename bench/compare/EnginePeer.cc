// The engine in process: the dictionary answers exactly as the event loop
// runs them, with the plug-in library double catching the script calls.
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/compare/Peers.h"
#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "db/Lookup.h"
#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "host/RequestEvent.h"
#include "platform/PDLFake.h"

namespace lxcompare {

namespace {

constexpr uint32_t kIndexRun = 50;
constexpr size_t kWarmUpWords = 1000;

// WordNet writes a phrase with '_', the engine and dictd with blanks.
std::string Shown(std::string word) {
    std::replace(word.begin(), word.end(), '_', ' ');
    return word;
}

std::string applicationDirectory;  // the temporary one, while it exists

// Makes a temporary application directory whose data/ points at the file
// (and at the IPA table beside it) and makes it the working directory.
bool EnterApplicationDirectory(const std::string& database) {
    char real[PATH_MAX];
    if (realpath(database.c_str(), real) == nullptr) return false;
    std::string file = real;
    const char* tmp = getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] ? tmp : "/tmp") + "/lxcompare-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) return false;
    std::string dir = pattern;
    applicationDirectory = dir;
    std::string data = dir + "/data";
    if (mkdir(data.c_str(), 0755) != 0) return false;
    if (symlink(file.c_str(), (data + "/wordnet.lxd").c_str()) != 0) return false;
    std::string ipa = file.substr(0, file.rfind('/')) + "/IPA_to_IMG.txt";
    if (access(ipa.c_str(), R_OK) == 0) symlink(ipa.c_str(), (data + "/IPA_to_IMG.txt").c_str());
    return chdir(dir.c_str()) == 0 && EnsureDatabaseOpen();
}

// Closes the engine and removes the temporary application directory.
void LeaveApplicationDirectory() {
    ReleaseEngine();
    if (chdir("/") != 0 || applicationDirectory.empty()) return;
    std::string data = applicationDirectory + "/data";
    unlink((data + "/wordnet.lxd").c_str());
    unlink((data + "/IPA_to_IMG.txt").c_str());
    rmdir(data.c_str());
    rmdir(applicationDirectory.c_str());
}

SDL_UserEvent RequestEvent(int code, const std::string& word, uint32_t packed) {
    SDL_UserEvent e{};
    e.type = SDL_USEREVENT;
    e.code = code;
    e.data1 = strdup(word.c_str());
    e.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(packed));
    return e;
}

bool Lookup(const std::string& word) {
    char buffer[kDefinitionWordSize];
    snprintf(buffer, sizeof(buffer), "%s", word.c_str());
    uint32_t position = 0;
    return LookupWord(GetDatabase(), buffer, sizeof(buffer), &position, true);
}

void Define(const std::string& word) {
    AnswerGetDefinition(RequestEvent(kRequestGetDefinition, word, 0));
}

void ListIndex(const std::string& word) {
    AnswerGetIndexWords(RequestEvent(kRequestGetIndexWords, word, kIndexRun | kListForward));
}

}  // namespace

int RunEngine(const std::string& database, const std::string& wordsFile, const std::string& out) {
    std::vector<std::string> words = ReadLines(wordsFile);
    for (std::string& word : words) word = Shown(word);
    if (!EnterApplicationDirectory(database)) {
        fprintf(stderr, "cannot open %s\n", database.c_str());
        LeaveApplicationDirectory();
        return 1;
    }
    for (size_t i = 0; i < words.size() && i < kWarmUpWords; ++i) Define(words[i]);
    pdlfake::TakeScriptCalls();
    Timings lookup(out, "engine", "lookup");
    Timings define(out, "engine", "define");
    Timings index(out, "engine", "index");
    size_t found = 0;
    size_t answerBytes = 0;
    FILE* notFound = fopen((out + "/engine-not-found.txt").c_str(), "w");
    for (size_t i = 0; i < words.size(); ++i) {
        lookup.Start();
        bool isFound = Lookup(words[i]);
        lookup.Stop();
        found += isFound;
        if (!isFound && notFound != nullptr) fprintf(notFound, "%s\n", words[i].c_str());
        define.Start();
        Define(words[i]);
        define.Stop();
        index.Start();
        ListIndex(words[i]);
        index.Stop();
        if (i % 64 == 63 || i + 1 == words.size()) {
            for (const pdlfake::ScriptCall& call : pdlfake::TakeScriptCalls()) {
                if (!call.params.empty()) answerBytes += call.params[0].size();
            }
        }
    }
    if (notFound != nullptr) fclose(notFound);
    printf("engine: %zu words, %zu found, %zu answer bytes\n", words.size(), found, answerBytes);
    LeaveApplicationDirectory();
    return 0;
}

int EngineSyscalls(const std::string& database, const std::string& what,
                   const std::string& wordsFile, int count) {
    std::vector<std::string> words = ReadLines(wordsFile);
    if (!EnterApplicationDirectory(database) || words.empty()) {
        LeaveApplicationDirectory();
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        const std::string word = Shown(words[static_cast<size_t>(i) % words.size()]);
        if (what == "lookup") {
            Lookup(word);
        } else if (what == "index") {
            ListIndex(word);
        } else if (what == "define") {
            Define(word);
        }
        if (i % 64 == 63) pdlfake::TakeScriptCalls();
    }
    LeaveApplicationDirectory();
    return 0;
}

}  // namespace lxcompare
