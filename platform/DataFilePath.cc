#include "platform/DataFilePath.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/LastError.h"
#include "platform/PDL.h"

namespace {

std::string Environment(const char* name) {
    const char* value = getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Creates `dir` and its missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& dir) {
    for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        std::string prefix = dir.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A name stays inside the data directory: no separators, no "." or "..".
bool IsPlainFileName(const char* name) {
    return name[0] != '\0' && strchr(name, '/') == nullptr && strcmp(name, ".") != 0 &&
           strcmp(name, "..") != 0;
}

PDL_Err MakeDataFilePath(const char* name, char* buffer, int bufferLen) {
    buffer[0] = '\0';
    if (name == nullptr || !IsPlainFileName(name)) {
        SetLastPdlError("PDL_GetDataFilePath: not a plain file name");
        return PDL_EINVALIDINPUT;
    }
    std::string dir = DataDirectory();
    if (dir.empty()) {
        SetLastPdlError("PDL_GetDataFilePath: no data directory (set LXCORE_DATA_DIR or HOME)");
        return PDL_EOTHER;
    }
    std::string path = dir + "/" + name;
    if (path.size() >= static_cast<size_t>(bufferLen)) {
        SetLastPdlError("PDL_GetDataFilePath: path does not fit the buffer");
        return PDL_EINVALIDINPUT;
    }
    if (!MakeDirectories(dir)) {
        SetLastPdlError("PDL_GetDataFilePath: cannot create " + dir + ": " + strerror(errno));
        return PDL_EOTHER;
    }
    memcpy(buffer, path.c_str(), path.size() + 1);
    return PDL_NOERROR;
}

}  // namespace

std::string DataDirectory() {
    std::string dir = Environment("LXCORE_DATA_DIR");
    if (!dir.empty()) return dir;
    dir = Environment("XDG_DATA_HOME");
    if (!dir.empty() && dir[0] == '/') return dir + "/lexora";
    dir = Environment("HOME");
    if (!dir.empty()) return dir + "/.local/share/lexora";
    return std::string();
}

extern "C" PDL_Err PDL_GetDataFilePath(const char* name, char* buffer, int bufferLen) {
    if (buffer == nullptr || bufferLen <= 0) {
        SetLastPdlError("PDL_GetDataFilePath: no buffer");
        return PDL_EINVALIDINPUT;
    }
    // Nothing may be thrown back into the C caller.
    try {
        return MakeDataFilePath(name, buffer, bufferLen);
    } catch (const std::bad_alloc&) {
        buffer[0] = '\0';
        return PDL_EMEMORY;
    }
}
