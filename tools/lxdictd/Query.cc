// lxquery: the dictionary on the command line, behind "./lexora define" and
// "./lexora match". Prints the same text as the DICT server.
//
//   lxquery [--data APPDIR] [--width N] define [--json | --thesaurus | --links | --all] WORD
//   lxquery [--data APPDIR] match PATTERN
//   lxquery [--data APPDIR] suggest WORD
//
// define prints the dictionary view (--thesaurus, --links: those views
// instead, both together when both are given; --all: every view, as the
// server sends it; --json: the engine's GetDefinition answer). match lists
// the headwords a pattern with "?" and "*" selects; suggest the headwords
// meant by a word, best first. Exit status 0 when
// something was found, 1 when not (with a message and any suggestions on
// standard error), 2 for a usage error or a dictionary that cannot be opened.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/DictionaryAnswers.h"
#include "host/Engine.h"
#include "tools/lxdictd/DictionaryService.h"
#include "tools/lxdictd/WordMatcher.h"

namespace {

constexpr int kDefaultWidth = 76;
constexpr size_t kMaxSuggestions = 12;

struct Request {
    std::string appDir = ".";
    int width = 0;  // 0: the terminal's width, else kDefaultWidth
    std::string command;
    unsigned views = 0;
    bool json = false;
    std::string word;
};

int Usage() {
    fprintf(stderr,
            "usage: lxquery [--data APPDIR] [--width N] define [--json | --thesaurus | --links | "
            "--all] WORD\n"
            "       lxquery [--data APPDIR] match PATTERN\n"
            "       lxquery [--data APPDIR] suggest WORD\n");
    return 2;
}

bool ParseArguments(int argc, char** argv, Request* request) {
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
        const std::string option = argv[i];
        if (option == "--data") {
            request->appDir = argv[i + 1];
        } else if (option == "--width") {
            request->width = atoi(argv[i + 1]);
            if (request->width < 0) return false;
        } else {
            return false;
        }
    }
    if (i >= argc) return false;
    request->command = argv[i++];
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        const std::string flag = argv[i];
        if (request->command == "define" && flag == "--json") {
            request->json = true;
        } else if (request->command == "define" && flag == "--thesaurus") {
            request->views |= CDictionaryService::kThesaurusView;
        } else if (request->command == "define" && flag == "--links") {
            request->views |= CDictionaryService::kLinksView;
        } else if (request->command == "define" && flag == "--all") {
            request->views |= CDictionaryService::kAllViews;
        } else {
            return false;
        }
    }
    if (i + 1 != argc) return false;
    request->word = argv[i];
    if (request->views == 0) request->views = CDictionaryService::kDictionaryView;
    return request->command == "define" || request->command == "match" ||
           request->command == "suggest";
}

int TerminalWidth() {
    winsize size{};
    if (isatty(STDOUT_FILENO) && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 20)
        return size.ws_col - 1;
    return kDefaultWidth;
}

// The spelling suggestions for `word`, else the headwords one edit away.
std::vector<std::string> Suggestions(CDictionaryService* service, const std::string& word) {
    std::vector<std::string> words = service->Suggest(word, kMaxSuggestions);
    if (!words.empty()) return words;
    const CHeadwordList& headwords = service->Headwords();
    std::vector<uint32_t> found;
    MatchWords(headwords, "lev", word, &found);
    for (size_t i = 0; i < found.size() && i < kMaxSuggestions; ++i)
        words.push_back(headwords.Get(found[i]));
    return words;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string list;
    for (const std::string& word : words) list += (list.empty() ? "" : ", ") + word;
    return list;
}

int Define(CDictionaryService* service, const Request& request) {
    std::string headword, text;
    if (service->Define(request.word, request.views, &headword, &text)) {
        fputs(text.c_str(), stdout);
        return 0;
    }
    fprintf(stderr, "lexora: no definition for \"%s\"\n", request.word.c_str());
    const std::string suggestions = Joined(Suggestions(service, request.word));
    if (!suggestions.empty()) fprintf(stderr, "did you mean: %s\n", suggestions.c_str());
    return 1;
}

int Suggest(CDictionaryService* service, const Request& request) {
    const std::vector<std::string> words = Suggestions(service, request.word);
    for (const std::string& word : words) printf("%s\n", word.c_str());
    if (!words.empty()) return 0;
    fprintf(stderr, "lexora: no suggestions for \"%s\"\n", request.word.c_str());
    return 1;
}

int Match(CDictionaryService* service, const Request& request) {
    const CHeadwordList& headwords = service->Headwords();
    std::vector<uint32_t> found;
    MatchWords(headwords, "wildcard", request.word, &found);
    for (uint32_t index : found) printf("%s\n", headwords.Get(index));
    if (!found.empty()) return 0;
    fprintf(stderr, "lexora: no headword matches \"%s\"\n", request.word.c_str());
    return 1;
}

// The engine's own answer, built where the engine runs: in the application
// directory.
int DefineAsJson(const Request& request) {
    if (chdir(request.appDir.c_str()) != 0) {
        perror(("lxquery: " + request.appDir).c_str());
        return 2;
    }
    const bool opened = EnsureDatabaseOpen();
    const bool found = WriteDefinitionAnswer(request.word.c_str(), stdout);
    fputc('\n', stdout);
    return found ? 0 : (opened ? 1 : 2);
}

}  // namespace

int main(int argc, char** argv) {
    Request request;
    if (!ParseArguments(argc, argv, &request)) return Usage();
    if (request.json) return DefineAsJson(request);

    CDictionaryService service;
    CDictionaryService::Options options;
    options.width = request.width > 0 ? request.width : TerminalWidth();
    std::string error;
    if (!service.Open(request.appDir, options, &error)) {
        fprintf(stderr, "lxquery: %s\n", error.c_str());
        return 2;
    }
    if (request.command == "define") return Define(&service, request);
    return request.command == "match" ? Match(&service, request) : Suggest(&service, request);
}
