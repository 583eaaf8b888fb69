// Maps the audio path of every headword of a dictionary file to the headword.
// Built once from the file's headword trie; read-only afterwards, so any
// number of threads may look words up at once.
#ifndef LEXORA_TOOLS_LXAUDIO_HEADWORDINDEX_H
#define LEXORA_TOOLS_LXAUDIO_HEADWORDINDEX_H

#include <string>
#include <unordered_map>
#include <vector>

class CHeadwordIndex {
public:
    CHeadwordIndex() = default;
    virtual ~CHeadwordIndex() = default;
    CHeadwordIndex(const CHeadwordIndex&) = delete;
    CHeadwordIndex& operator=(const CHeadwordIndex&) = delete;

    // Reads all headwords of the dictionary file at `path`. False with
    // `error` set when the file cannot be opened or holds no headword trie.
    bool Load(const std::string& path, std::string* error);
    // Adds one headword; the first headword of an audio path keeps it.
    void Add(const char* headword);

    // The headword whose audio path ("/pron/vox/XX/YYYYYY_name") is `path`,
    // or null.
    const std::string* Find(const std::string& path) const;
    // The cache file name ("vox_XX_YYYYYY_name") of the same recording.
    static std::string FileNameOf(const std::string& word);

    size_t Size() const { return words.size(); }
    // Every audio path, in no particular order.
    std::vector<std::string> Paths() const;

private:
    std::unordered_map<std::string, std::string> words;  // audio path -> headword
};

#endif  // LEXORA_TOOLS_LXAUDIO_HEADWORDINDEX_H
