#include "host/AudioFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "host/AudioNames.h"
#include "host/JsonAnswer.h"

#ifndef LEXORA_AUDIO_BASE_URL
#define LEXORA_AUDIO_BASE_URL "http://127.0.0.1:7771"
#endif

namespace {

const char kCacheDirectory[] = "pron";
const char kDownloadDirectory[] = "downloads";
const char kCachePrefix[] = "pron/";
const char kStoreTemplate[] = "pron/.store-XXXXXX";
const char kAudioFileErrorAnswer[] =
    "{\"errorcode\":\"audiofileerror\",\"error\":\"Lexora could not open the audio file.\"}";

enum { kNameBufferSize = 256, kInflateBufferSize = 4096 };

// Serialises a store into the cache with CleanUp, which arrives on the
// plug-in library's thread: a store either completes before the cache is
// removed or starts after it and creates the directory anew.
pthread_mutex_t cacheLock = PTHREAD_MUTEX_INITIALIZER;

// The names of one word's recording. cachePath is "pron/" + the file name.
struct AudioNames {
    char url[kNameBufferSize];
    char cachePath[kNameBufferSize];
};

bool MakeNames(const char* word, AudioNames* names) {
    if (word == nullptr) return false;
    const size_t prefix = sizeof(kCachePrefix) - 1;
    memcpy(names->cachePath, kCachePrefix, prefix);
    return MakeAudioNames(word, LEXORA_AUDIO_BASE_URL, names->url, sizeof(names->url),
                          names->cachePath + prefix, sizeof(names->cachePath) - prefix);
}

// True when `path` lies below `directory` (both resolved).
bool IsBelow(const char* path, const char* directory) {
    size_t length = strlen(directory);
    return strncmp(path, directory, length) == 0 && path[length] == '/';
}

// The resolved path of a downloaded file when it is a plain file inside the
// download folder (after resolving "..", symbolic links and the folder's own
// location), else null. The caller frees the result.
char* ResolveDownload(const char* path) {
    char* directory = realpath(kDownloadDirectory, nullptr);
    char* resolved = directory ? realpath(path, nullptr) : nullptr;
    struct stat info;
    bool accepted = resolved != nullptr && IsBelow(resolved, directory) &&
                    lstat(resolved, &info) == 0 && S_ISREG(info.st_mode);
    free(directory);
    if (!accepted) {
        free(resolved);
        return nullptr;
    }
    return resolved;
}

// Opens the accepted download for reading without following a link that may
// have replaced it since it was resolved.
FILE* OpenDownload(const char* resolved) {
    int fd = open(resolved, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    FILE* in = (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) ? fdopen(fd, "rb") : nullptr;
    if (in == nullptr) close(fd);
    return in;
}

// Inflates `in` into a temporary file in the cache and renames it to
// `cachePath` only when the stream ended properly, so the cache name never
// holds a partial recording.
bool StoreRecordingLocked(FILE* in, const char* cachePath) {
    mkdir(kCacheDirectory, 0777);
    char tempPath[sizeof(kStoreTemplate)];
    memcpy(tempPath, kStoreTemplate, sizeof(kStoreTemplate));
    int fd = mkstemp(tempPath);
    if (fd < 0) return false;
    fchmod(fd, 0644);
    FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        unlink(tempPath);
        return false;
    }
    bool stored = InflateFile(in, out);
    stored = fclose(out) == 0 && stored;
    stored = stored && rename(tempPath, cachePath) == 0;
    if (!stored) unlink(tempPath);
    return stored;
}

bool StoreRecording(const char* resolvedDownload, const char* cachePath) {
    FILE* in = OpenDownload(resolvedDownload);
    if (in == nullptr) return false;
    pthread_mutex_lock(&cacheLock);
    bool stored = StoreRecordingLocked(in, cachePath);
    pthread_mutex_unlock(&cacheLock);
    fclose(in);
    return stored;
}

void WriteWordAnswer(FILE* out, const char* word, const char* member, const char* value) {
    fputs("{\"word\":", out);
    WriteJsonString(word, out);
    fprintf(out, ",\"%s\":", member);
    WriteJsonString(value, out);
    fputc('}', out);
}

// Answers a request without a downloaded file: the cached recording, or where
// to download it from.
void AnswerLookup(FILE* out, const char* word) {
    AudioNames names;
    if (!MakeNames(word, &names)) {
        fputs(kAudioFileErrorAnswer, out);
    } else if (FileExists(names.cachePath)) {
        WriteWordAnswer(out, word, "playUrl", names.cachePath);
    } else {
        WriteWordAnswer(out, word, "downloadUrl", names.url);
    }
}

// Answers a request with a downloaded file: stores it and deletes it. A file
// outside the download folder is neither read nor deleted.
void AnswerStore(FILE* out, const char* word, const char* download) {
    char* resolved = ResolveDownload(download);
    AudioNames names;
    bool stored =
        resolved != nullptr && MakeNames(word, &names) && StoreRecording(resolved, names.cachePath);
    if (resolved != nullptr) unlink(resolved);
    free(resolved);
    if (stored) {
        WriteWordAnswer(out, word, "playUrl", names.cachePath);
    } else {
        fputs(kAudioFileErrorAnswer, out);
    }
}

}  // namespace

bool FileExists(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return false;
    fclose(file);
    return true;
}

bool InflateFile(FILE* in, FILE* out) {
    unsigned char input[kInflateBufferSize];
    unsigned char output[kInflateBufferSize];
    z_stream stream;
    memset(&stream, 0, sizeof(stream));
    if (inflateInit(&stream) != Z_OK) return false;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        size_t got = fread(input, 1, sizeof(input), in);
        if (ferror(in)) break;
        if (got == 0) break;
        stream.next_in = input;
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = output;
            stream.avail_out = sizeof(output);
            result = inflate(&stream, Z_NO_FLUSH);
            if (result == Z_NEED_DICT || result == Z_DATA_ERROR || result == Z_MEM_ERROR ||
                result == Z_STREAM_ERROR) {
                inflateEnd(&stream);
                return false;
            }
            size_t produced = sizeof(output) - stream.avail_out;
            if (fwrite(output, 1, produced, out) != produced || ferror(out)) {
                inflateEnd(&stream);
                return false;
            }
        } while (stream.avail_out == 0 && result != Z_STREAM_END);
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

int RemoveDirectoryTree(const char* path) {
    int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    DIR* directory = fdopendir(fd);
    if (directory == nullptr) {
        close(fd);
        return -1;
    }
    int result = 0;
    const struct dirent* entry;
    while (result == 0 && (entry = readdir(directory)) != nullptr) {
        const char* name = entry->d_name;
        if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) continue;
        size_t size = strlen(path) + strlen(name) + 2;
        char* entryPath = static_cast<char*>(malloc(size));
        if (entryPath == nullptr) {
            result = -1;
            break;
        }
        snprintf(entryPath, size, "%s/%s", path, name);
        struct stat info;
        if (lstat(entryPath, &info) != 0) {
            result = -1;
        } else if (S_ISDIR(info.st_mode)) {
            result = RemoveDirectoryTree(entryPath);
        } else {
            result = unlink(entryPath);
        }
        free(entryPath);
    }
    closedir(directory);
    if (result == 0) result = rmdir(path);
    return result == 0 ? 0 : -1;
}

bool CleanUpAudioCache() {
    pthread_mutex_lock(&cacheLock);
    bool removed = RemoveDirectoryTree(kCacheDirectory) == 0;
    pthread_mutex_unlock(&cacheLock);
    return removed;
}

void AnswerGetAudioFile(const SDL_UserEvent& e) {
    const char* word = static_cast<const char*>(e.data1);
    const char* download = static_cast<const char*>(e.data2);
    CAnswer answer;
    if (download == nullptr) {
        AnswerLookup(answer.Stream(), word);
    } else {
        AnswerStore(answer.Stream(), word, download);
    }
    answer.Deliver("Callback_GetAudioFile");
    free(e.data1);
    free(e.data2);
}
