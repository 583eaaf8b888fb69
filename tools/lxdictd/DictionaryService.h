// The dictionary as the DICT server and the command line use it: the open
// database file, its plain-text renderer and the list of its headwords.
// Definitions are rendered one at a time under a lock (the engine's readers
// keep state); the headword list never changes once built, so any number of
// threads match against it at once.
#ifndef LEXORA_TOOLS_LXDICTD_DICTIONARYSERVICE_H
#define LEXORA_TOOLS_LXDICTD_DICTIONARYSERVICE_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/lxdictd/HeadwordList.h"

class CDictDatabase;
class CSearchData;
class CTextRenderManager;

class CDictionaryService {
public:
    // The views a definition text holds, in this order.
    enum Views : unsigned {
        kDictionaryView = 1,
        kThesaurusView = 2,
        kLinksView = 4,
        kAllViews = 7
    };

    struct Options {
        int width = 76;               // text wrapping width
        bool keepWholeStore = false;  // inflate every record block once, at open
    };

    CDictionaryService();
    ~CDictionaryService();
    CDictionaryService(const CDictionaryService&) = delete;
    CDictionaryService& operator=(const CDictionaryService&) = delete;

    // Opens <appDir>/data/wordnet.lxd. False, with the reason in *error, when
    // the file cannot be opened or is not a dictionary.
    bool Open(const std::string& appDir, const Options& options, std::string* error);

    // Finds `word` as the app does (case variants, inflected forms, redirects)
    // and renders it. True when found: *headword is the headword and *text
    // the chosen views, each ending in '\n', separated by a blank line.
    bool Define(const std::string& word, unsigned views, std::string* headword, std::string* text);

    // Up to `count` headwords the user most likely meant by `word`, best
    // first, from the search data beside the dictionary (data/search.lxs,
    // read by the first call); none without it.
    std::vector<std::string> Suggest(const std::string& word, size_t count);
    // Every headword in index order; built by the first call.
    const CHeadwordList& Headwords();
    // What SHOW INFO tells about the database: sources and figures.
    std::string Describe();

private:
    std::mutex lock;  // one reader of the database at a time
    std::unique_ptr<CDictDatabase> database;
    std::unique_ptr<CTextRenderManager> renderer;
    std::once_flag headwordsBuilt;
    CHeadwordList headwords;
    std::once_flag searchDataRead;
    std::unique_ptr<CSearchData> searchData;  // null when it cannot be read
    std::string path;                         // the open file
};

#endif  // LEXORA_TOOLS_LXDICTD_DICTIONARYSERVICE_H
