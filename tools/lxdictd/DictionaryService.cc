#include "tools/lxdictd/DictionaryService.h"

#include <sys/stat.h>

#include "db/CompressedData.h"
#include "db/DictDatabase.h"
#include "db/Format.h"
#include "db/SmartFile.h"
#include "db/WordList.h"
#include "render/TextRenderManager.h"
#include "search/SearchData.h"
#include "search/SpellingSuggester.h"

namespace {

// Inflates every block once into a cache that holds them all, so no
// definition waits for zlib again.
void KeepWholeStore(CCompressedData* records) {
    const uint32_t blocks = records->GetBlockCount();
    const uint32_t ways = CCompressedData::kCacheWays;
    records->SetCacheBlocks((blocks + ways - 1) / ways * ways);
    for (uint32_t block = 0; block < blocks; ++block) {
        records->GetByte(block << lxd::kBlockShift, false);
    }
}

void AppendView(const CTextDefinition& page, CTextDefinition::View view, std::string* text) {
    if (!page.HasView(view)) return;
    if (!text->empty()) *text += '\n';
    *text += page.GetView(view);
}

}  // namespace

CDictionaryService::CDictionaryService() = default;

CDictionaryService::~CDictionaryService() = default;

bool CDictionaryService::Open(const std::string& appDir, const Options& options,
                              std::string* error) {
    path = appDir + "/data/wordnet.lxd";
    std::unique_ptr<CDictDatabase> opened(new CDictDatabase());
    if (!opened->Open(path.c_str())) {
        *error =
            "cannot open " + path +
            (opened->status == CDictDatabase::kStatusWrongSize ? " (wrong size)"
                                                               : " (missing or not a dictionary)");
        return false;
    }
    if (options.keepWholeStore && opened->records != nullptr) KeepWholeStore(opened->records);
    renderer.reset(new CTextRenderManager(opened.get(), options.width));
    database = std::move(opened);
    return true;
}

bool CDictionaryService::Define(const std::string& word, unsigned views, std::string* headword,
                                std::string* text) {
    std::lock_guard<std::mutex> hold(lock);
    text->clear();
    if (!renderer->RenderWord(word.c_str(), 0)) return false;
    const CTextDefinition& page = renderer->GetDefinition();
    *headword = page.GetHeadword();
    if (views & kDictionaryView) AppendView(page, CTextDefinition::kDictionary, text);
    if (views & kThesaurusView) AppendView(page, CTextDefinition::kThesaurus, text);
    if (views & kLinksView) AppendView(page, CTextDefinition::kLinks, text);
    // An entry without records still answers with its headword.
    if (text->empty()) *text = *headword + "\n";
    return true;
}

std::vector<std::string> CDictionaryService::Suggest(const std::string& word, size_t count) {
    std::call_once(searchDataRead, [this] {
        std::lock_guard<std::mutex> hold(lock);
        std::unique_ptr<CSearchData> loaded(new CSearchData());
        CSmartFile file;
        const std::string searchPath = path.substr(0, path.rfind('/') + 1) + "search.lxs";
        if (file.Open(searchPath.c_str()) &&
            loaded->Load(&file, static_cast<uint32_t>(database->file->GetSize()),
                         database->wordList->GetEntryCount())) {
            searchData = std::move(loaded);
        }
    });
    std::vector<std::string> words;
    if (searchData == nullptr) return words;
    const SearchSource source{searchData.get(), nullptr};
    for (uint32_t index : CSpellingSuggester(source).Suggest(word.c_str(), count))
        words.push_back(searchData->Word(index));
    return words;
}

const CHeadwordList& CDictionaryService::Headwords() {
    std::call_once(headwordsBuilt, [this] {
        std::lock_guard<std::mutex> hold(lock);
        headwords.Load(database.get());
    });
    return headwords;
}

std::string CDictionaryService::Describe() {
    const uint32_t count = Headwords().Count();
    struct stat info {};
    stat(path.c_str(), &info);
    std::lock_guard<std::mutex> hold(lock);
    const uint32_t blocks = database->records != nullptr ? database->records->GetBlockCount() : 0;
    return "Lexora English dictionary\n\n"
           "Senses, glosses, samples and links from WordNet 3.0 (Princeton University);\n"
           "pronunciations from the CMU pronouncing dictionary and eSpeak NG;\n"
           "origins, articles, pronouns, conjunctions and prepositions from GCIDE;\n"
           "thesaurus lines from MyThes; hyphenation from the US English patterns.\n\n"
           "Headwords listed: " +
           std::to_string(count) + "\nFile: wordnet.lxd, " + std::to_string(info.st_size) +
           " bytes, " + std::to_string(blocks) + " compressed record blocks\n";
}
