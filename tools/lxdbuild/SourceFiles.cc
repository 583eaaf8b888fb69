#include "tools/lxdbuild/SourceFiles.h"

#include <sys/stat.h>
#include <zlib.h>

#include <fstream>
#include <sstream>

namespace lxdbuild {

namespace {

bool IsReadableFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string ReadCompressed(const std::string& path) {
    gzFile in = gzopen(path.c_str(), "rb");
    if (in == nullptr) {
        throw CBuildError("cannot open " + path);
    }
    std::string text;
    char chunk[1 << 16];
    int got;
    while ((got = gzread(in, chunk, sizeof chunk)) > 0) {
        text.append(chunk, static_cast<size_t>(got));
    }
    gzclose(in);
    if (got < 0) {
        throw CBuildError("cannot inflate " + path);
    }
    return text;
}

}  // namespace

CSourceFiles::CSourceFiles(std::string root) : root(std::move(root)) {
    while (this->root.size() > 1 && this->root.back() == '/') {
        this->root.pop_back();
    }
    if (this->root == "/") {
        this->root.clear();
    }
}

std::string CSourceFiles::Find(const std::string& relative) const {
    std::string path = root + "/" + relative;
    return IsReadableFile(path) ? path : std::string();
}

std::string CSourceFiles::Require(const std::string& package, const std::string& relative) const {
    std::string path = Find(relative);
    if (path.empty()) {
        throw CBuildError("missing " + root + "/" + relative + " of the Debian package " + package +
                          "; install it with: apt-get install " + package);
    }
    return path;
}

std::string CSourceFiles::RequireNpm(const std::string& modules, const std::string& package,
                                     const std::string& relative) {
    std::string path = modules + "/" + relative;
    if (!IsReadableFile(path)) {
        throw CBuildError("missing " + path + " of the npm package " + package +
                          "; install it with: npm ci in a copy of tools/lxdbuild/package.json "
                          "and package-lock.json, then pass its node_modules to --node-modules "
                          "(./lexora run and ./lexora test do both)");
    }
    return path;
}

std::string CSourceFiles::ReadAll(const std::string& path) {
    if (EndsWith(path, ".gz") || EndsWith(path, ".dz")) {
        return ReadCompressed(path);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw CBuildError("cannot open " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void CSourceFiles::ForEachLine(const std::string& text,
                               const std::function<void(const std::string&, long)>& visit) {
    size_t start = 0;
    long number = 0;
    std::string line;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') {
            --stop;
        }
        line.assign(text, start, stop - start);
        visit(line, ++number);
        start = end + 1;
    }
}

}  // namespace lxdbuild
