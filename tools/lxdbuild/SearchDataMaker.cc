#include "tools/lxdbuild/SearchDataMaker.h"

#include <cstdio>
#include <vector>

#include "db/DictDatabase.h"
#include "db/IndexListing.h"
#include "db/SmartFile.h"
#include "db/WordList.h"
#include "search/SearchDataWriter.h"

namespace lxdbuild {

namespace {

// WordNet's pointer to the usage domain of a synset (";u").
constexpr uint32_t kUsageDomainLink = 180;
constexpr uint32_t kClosedClassTags = 65535;
const char* const kOffensiveDomains[] = {"obscenity", "ethnic slur", "disparagement"};

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

bool IsOffensiveDomain(const Synset& synset) {
    for (const std::string& member : synset.members) {
        for (const char* domain : kOffensiveDomains) {
            if (ToLower(member) == domain) return true;
        }
    }
    return false;
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

std::set<std::string> CSearchDataMaker::OffensiveWords(const CLexicon& lexicon) {
    // Synsets marked as a whole, and (synset, member) pairs marked one by one.
    std::set<uint32_t> synsets;
    std::set<std::pair<uint32_t, std::string>> members;
    for (uint32_t i = 0; i < lexicon.synsets.size(); ++i) {
        const Synset& synset = lexicon.synsets[i];
        for (const Link& link : synset.links) {
            if (link.kind != kUsageDomainLink || link.target >= lexicon.synsets.size() ||
                !IsOffensiveDomain(lexicon.synsets[link.target])) {
                continue;
            }
            if (link.sourceMember == 0) {
                synsets.insert(i);
            } else if (link.sourceMember <= synset.members.size()) {
                members.emplace(i, ToLower(synset.members[link.sourceMember - 1]));
            }
        }
    }
    // A word with a sense outside these domains ("dog", "pig") stays offered.
    std::set<std::string> words;
    for (const auto& entry : lexicon.entries) {
        const std::vector<uint32_t>& senses = entry.second.senses;
        std::string lower = ToLower(entry.first);
        bool all = !senses.empty();
        for (uint32_t synset : senses) {
            all = all && (synsets.count(synset) != 0 || members.count({synset, lower}) != 0);
        }
        if (all) words.insert(entry.first);
    }
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
    std::set<std::string> offensive = OffensiveWords(lexicon);
    std::set<std::string> everyday = ReadWordList("usr/share/dict/american-english-small");
    std::set<std::string> common = ReadWordList("usr/share/dict/american-english");
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
    std::vector<unsigned char> bytes;
    if (!writer.Finish(&bytes)) throw CBuildError("search data: " + writer.GetError());
    WriteFile(outPath, bytes);
    figures.words = headwords.size();
    figures.bytes = bytes.size();
}

}  // namespace lxdbuild
