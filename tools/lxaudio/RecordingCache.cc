#include "tools/lxaudio/RecordingCache.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/lxaudio/SpeechSynthesizer.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes `data` to a temporary file beside `path` and renames it into place,
// so a reader never sees a partial recording.
bool WriteFileAtomically(const std::string& path, const std::string& data) {
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) return false;
    FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        unlink(name.data());
        return false;
    }
    bool written = fwrite(data.data(), 1, data.size(), out) == data.size();
    written = fclose(out) == 0 && written;
    written = written && rename(name.data(), path.c_str()) == 0;
    if (!written) unlink(name.data());
    return written;
}

}  // namespace

CRecordingCache::CRecordingCache(const std::string& directory, CSpeechSynthesizer* synthesizer)
    : directory(directory), synthesizer(synthesizer) {
    mkdir(directory.c_str(), 0777);
}

bool CRecordingCache::Get(const std::string& word, const std::string& fileName,
                          std::string* recording) {
    std::string path = directory + "/" + fileName + ".z";
    if (ReadWholeFile(path, recording)) return true;
    std::lock_guard<std::mutex> guard(makeLock);
    // Another request may have made it while this one waited.
    if (ReadWholeFile(path, recording)) return true;
    return Make(word, path, recording);
}

bool CRecordingCache::Make(const std::string& word, const std::string& path,
                           std::string* recording) {
    std::vector<uint8_t> wav;
    if (!synthesizer->Speak(word, &wav)) return false;
    if (!Compress(std::string(wav.begin(), wav.end()), recording)) return false;
    if (!WriteFileAtomically(path, *recording)) {
        fprintf(stderr, "lxaudio: could not cache %s\n", path.c_str());
    }
    return true;
}

bool CRecordingCache::Compress(const std::string& data, std::string* out) {
    uLongf size = compressBound(data.size());
    out->resize(size);
    int result = compress2(reinterpret_cast<Bytef*>(&(*out)[0]), &size,
                           reinterpret_cast<const Bytef*>(data.data()), data.size(), 9);
    if (result != Z_OK) return false;
    out->resize(size);
    return true;
}
