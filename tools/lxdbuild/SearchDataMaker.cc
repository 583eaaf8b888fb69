#include "tools/lxdbuild/SearchDataMaker.h"

#include <cstdio>
#include <vector>

#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "db/SmartFile.h"
#include "db/WordList.h"
#include "search/SearchDataWriter.h"
#include "tools/lxdbuild/OffensiveWords.h"

namespace lxdbuild {

namespace {

constexpr uint32_t kClosedClassTags = 65535;

int32_t CollectHeadword(void* context, const char* word, uint32_t) {
    static_cast<std::vector<std::string>*>(context)->push_back(word);
    return 1;
}

std::vector<std::string> ListHeadwords(const std::string& dictionaryPath, uint32_t* size,
                                       uint32_t* entries) {
    CDictDatabase database;
    if (!database.Open(dictionaryPath.c_str())) {
        throw CBuildError("cannot read back " + dictionaryPath);
    }
    std::vector<std::string> headwords;
    ListIndexWords(&database, CollectHeadword, &headwords, "", true, false);
    *size = static_cast<uint32_t>(database.file->GetSize());
    *entries = database.wordList->GetEntryCount();
    return headwords;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::string temporary = path + ".tmp";
    FILE* out = std::fopen(temporary.c_str(), "wb");
    bool written =
        out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out != nullptr) written = std::fclose(out) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw CBuildError("cannot write " + path);
    }
}

}  // namespace

CSearchDataMaker::CSearchDataMaker(const CSourceFiles& sources, CBuildReport& report)
    : sources(sources), report(report) {}

std::map<std::string, uint32_t> CSearchDataMaker::ReadTagCounts(const std::string& text) {
    std::map<std::string, uint32_t> counts;
    CSourceFiles::ForEachLine(text, [&](const std::string& line, long) {
        // "lemma%sense-key-rest sense-number tag-count"
        size_t percent = line.find('%');
        size_t space = line.rfind(' ');
        if (percent == std::string::npos || space == std::string::npos || space < percent) return;
        std::string lemma = ToLower(line.substr(0, percent));
        for (char& c : lemma) {
            if (c == '_') c = ' ';
        }
        counts[lemma] += static_cast<uint32_t>(std::strtoul(line.c_str() + space + 1, nullptr, 10));
    });
    return counts;
}

std::set<std::string> CSearchDataMaker::ReadWordList(const std::string& relative) const {
    std::set<std::string> words;
    std::string path = sources.Find(relative);
    if (path.empty()) {
        report.Warn(relative + " not found: commonness tiers left out of the search data");
        return words;
    }
    CSourceFiles::ForEachLine(CSourceFiles::ReadAll(path),
                              [&](const std::string& line, long) { words.insert(line); });
    return words;
}

void CSearchDataMaker::Write(const CLexicon& lexicon, const std::string& dictionaryPath,
                             const std::string& outPath) {
    std::string countsPath = sources.Find("usr/share/wordnet/cntlist.rev");
    std::map<std::string, uint32_t> tags;
    if (countsPath.empty()) {
        report.Warn("cntlist.rev not found: no tag counts in the search data");
    } else {
        tags = ReadTagCounts(CSourceFiles::ReadAll(countsPath));
    }
    std::set<std::string> everyday = ReadWordList("usr/share/dict/american-english-small");
    std::set<std::string> common = ReadWordList("usr/share/dict/american-english");
    const COffensiveWords offensiveWords(lexicon, everyday, common);
    const std::set<std::string>& offensive = offensiveWords.Words();
    figures.offensive = offensiveWords.Figures();
    uint32_t dictionarySize = 0;
    uint32_t dictionaryEntries = 0;
    std::vector<std::string> headwords =
        ListHeadwords(dictionaryPath, &dictionarySize, &dictionaryEntries);
    CSearchDataWriter writer(dictionarySize, dictionaryEntries);
    for (const std::string& headword : headwords) {
        SearchWord word;
        word.headword = headword;
        auto tagged = tags.find(ToLower(headword));
        if (tagged != tags.end()) {
            word.tagCount = tagged->second;
            ++figures.tagged;
        }
        word.tier = everyday.count(headword) != 0 ? 2 : common.count(headword) != 0 ? 1 : 0;
        auto entry = lexicon.entries.find(headword);
        // Articles, pronouns, conjunctions and prepositions (senses WordNet
        // lacks, so untagged there) are the commonest words of all.
        if (entry != lexicon.entries.end() && HasMinorSense(lexicon, entry->second)) {
            word.tagCount = kClosedClassTags;
        }
        if (entry != lexicon.entries.end()) {
            word.senseCount = static_cast<uint32_t>(entry->second.senses.size() +
                                                    entry->second.minorSenses.size());
        }
        if (!writer.AddWord(word)) throw CBuildError(writer.GetError());
        if (offensive.count(headword) != 0) {
            writer.AddFilterWord(headword);
            ++figures.filtered;
        }
    }
    for (const std::string& reference : offensiveWords.SenseReferences()) {
        writer.AddFilterWord(reference);
    }
    std::vector<unsigned char> bytes;
    if (!writer.Finish(&bytes)) throw CBuildError("search data: " + writer.GetError());
    WriteFile(outPath, bytes);
    figures.words = headwords.size();
    figures.bytes = bytes.size();
}

}  // namespace lxdbuild
