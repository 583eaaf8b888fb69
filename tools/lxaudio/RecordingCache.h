// The server's disk cache of recordings: one zlib stream of a WAV file per
// word in a directory, made by the synthesizer on the first request. Safe to
// call from many threads; a word is synthesised at most once.
#ifndef LEXORA_TOOLS_LXAUDIO_RECORDINGCACHE_H
#define LEXORA_TOOLS_LXAUDIO_RECORDINGCACHE_H

#include <mutex>
#include <string>

class CSpeechSynthesizer;

class CRecordingCache {
public:
    // Keeps recordings in `directory` (created when missing); `synthesizer`
    // is not owned and must outlive the cache.
    CRecordingCache(const std::string& directory, CSpeechSynthesizer* synthesizer);
    virtual ~CRecordingCache() = default;
    CRecordingCache(const CRecordingCache&) = delete;
    CRecordingCache& operator=(const CRecordingCache&) = delete;

    // The compressed recording of `word`, stored under `fileName`, read from
    // the cache or made now. False when it can be neither read nor made.
    bool Get(const std::string& word, const std::string& fileName, std::string* recording);

    // Compresses `data` as one zlib stream (RFC 1950).
    static bool Compress(const std::string& data, std::string* out);

private:
    bool Make(const std::string& word, const std::string& path, std::string* recording);

    std::string directory;
    CSpeechSynthesizer* synthesizer;  // not owned
    std::mutex makeLock;              // one recording is made at a time
};

#endif  // LEXORA_TOOLS_LXAUDIO_RECORDINGCACHE_H
