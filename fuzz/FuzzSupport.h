// Helpers shared by the fuzz targets: a private scratch working directory
// (the engine works relative to its application directory) and file writing.
#ifndef LEXORA_FUZZ_FUZZSUPPORT_H
#define LEXORA_FUZZ_FUZZSUPPORT_H

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lxfuzz {

// Creates a fresh directory under $TMPDIR (or /tmp) with a "data" folder in
// it and makes it the working directory for the rest of the run. Aborts when
// that fails: a target must not write into the directory it was started in.
inline void EnterScratchDirectory() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/lexora-fuzz-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr || chdir(pattern.c_str()) != 0) {
        perror("lexora fuzz: scratch directory");
        abort();
    }
    mkdir("data", 0700);
}

inline bool WriteFile(const char* path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path, "wb");
    if (file == nullptr) return false;
    bool written = fwrite(data, 1, size, file) == size;
    return fclose(file) == 0 && written;
}

}  // namespace lxfuzz

#endif  // LEXORA_FUZZ_FUZZSUPPORT_H
