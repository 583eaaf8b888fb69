#include "tools/lxaudio/HeadwordIndex.h"

#include "db/DictDatabase.h"
#include "db/WordList.h"
#include "host/AudioNames.h"

namespace {

enum { kNameSize = 256 };

int32_t AddHeadword(void* context, const char* word, uint32_t) {
    static_cast<CHeadwordIndex*>(context)->Add(word);
    return 1;
}

}  // namespace

bool CHeadwordIndex::Load(const std::string& path, std::string* error) {
    CDictDatabase database;
    if (!database.Open(path.c_str())) {
        *error = "cannot open " + path + " (status " + std::to_string(database.status) + ")";
        return false;
    }
    if (database.wordList == nullptr) {
        *error = path + " has no headword index";
        return false;
    }
    database.wordList->Enumerate(AddHeadword, this, "", true);
    return true;
}

void CHeadwordIndex::Add(const char* headword) {
    char url[kNameSize];
    char fileName[kNameSize];
    if (MakeAudioNames(headword, "", url, sizeof(url), fileName, sizeof(fileName))) {
        words.emplace(url, headword);
    }
}

const std::string* CHeadwordIndex::Find(const std::string& path) const {
    auto found = words.find(path);
    return found == words.end() ? nullptr : &found->second;
}

std::string CHeadwordIndex::FileNameOf(const std::string& word) {
    char url[kNameSize];
    char fileName[kNameSize];
    if (!MakeAudioNames(word.c_str(), "", url, sizeof(url), fileName, sizeof(fileName))) return "";
    return fileName;
}

std::vector<std::string> CHeadwordIndex::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(words.size());
    for (const auto& entry : words) paths.push_back(entry.first);
    return paths;
}
