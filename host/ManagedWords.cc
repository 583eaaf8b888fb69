#include "host/ManagedWords.h"

#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/Engine.h"
#include "host/JsonAnswer.h"
#include "platform/PDL.h"

namespace {

enum { kPathBufferSize = 256, kCopyBufferSize = 256, kTempSuffixSize = 16 };

const char kInvalidListName[] = "invalid list name";

// Names the temporary file beside the list at `path`: the list's name with a
// leading '.' (which no list name has) and a unique suffix for mkstemp.
bool MakeTempPath(const char* path, char* temp, size_t size) {
    const char* slash = strrchr(path, '/');
    int directoryLength = slash ? static_cast<int>(slash - path + 1) : 0;
    const char* base = path + directoryLength;
    int written = snprintf(temp, size, "%.*s.%s.XXXXXX", directoryLength, path, base);
    return written >= 0 && static_cast<size_t>(written) < size;
}

// Writes all of `text` to the open descriptor and makes it durable.
bool WriteWholeText(int fd, const char* text) {
    size_t left = strlen(text);
    while (left > 0) {
        ssize_t written = write(fd, text, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text += written;
        left -= static_cast<size_t>(written);
    }
    return fsync(fd) == 0;
}

// Replaces the file at `path` with `text` through a temporary file and a
// rename, so a reader or a crash sees the old list or the new one. The file
// keeps mkstemp's owner-only mode: lists are private to the user.
bool ReplaceFile(const char* path, const char* text) {
    char temp[kPathBufferSize + kTempSuffixSize];
    if (!MakeTempPath(path, temp, sizeof(temp))) return false;
    int fd = mkstemp(temp);
    if (fd < 0) return false;
    bool written = WriteWholeText(fd, text);
    written = close(fd) == 0 && written;
    written = written && rename(temp, path) == 0;
    if (!written) unlink(temp);
    return written;
}

}  // namespace

bool IsValidListName(const char* name) {
    if (name == nullptr || name[0] == '\0' || name[0] == '.') return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        if (*p == '/' || *p < 0x20) return false;
    }
    return true;
}

bool StoreManagedWords(const char* name, const char* text, const char** exception) {
    if (!IsValidListName(name)) {
        *exception = kInvalidListName;
        return false;
    }
    char path[kPathBufferSize];
    if (PDL_GetDataFilePath(name, path, sizeof(path)) != PDL_NOERROR) return true;
    if (!ReplaceFile(path, text ? text : "")) {
        syslog(LOG_ERR, "*** could not store the list %s", name);
    }
    return true;
}

size_t CopyFileToStream(const char* path, FILE* out) {
    FILE* in = fopen(path, "r");
    if (in == nullptr) return 0;
    char buffer[kCopyBufferSize];
    size_t count = 0;
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), in)) > 0) {
        fwrite(buffer, 1, got, out);
        count += got;
    }
    fclose(in);
    return count;
}

void AnswerGetManagedWords(const SDL_UserEvent& e) {
    const char* name = static_cast<const char*>(e.data1);
    CAnswer answer;
    FILE* out = answer.Stream();
    if (!EnsureDatabaseOpen()) {
        fputs(kDatabaseErrorAnswer, out);
    } else {
        fputs("{\"fileName\":", out);
        WriteJsonString(name ? name : "", out);
        fputs(",\"words\":\n", out);
        char path[kPathBufferSize];
        bool copied = IsValidListName(name) &&
                      PDL_GetDataFilePath(name, path, sizeof(path)) == PDL_NOERROR &&
                      CopyFileToStream(path, out) > 0;
        if (!copied) fputs("[]", out);
        fputs("}", out);
    }
    answer.Deliver("Callback_GetManagedWords");
    free(e.data1);
}
