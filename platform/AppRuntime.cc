#include "platform/AppRuntime.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <nlohmann/json.hpp>

#include "platform/Bridge.h"

using nlohmann::json;

namespace {

const char kUploadRoute[] = "/runtime/upload";
const char kUploadMediaType[] = "application/octet-stream";
const char kDownloadFolder[] = "downloads";
const char kUploadTemplate[] = "upload-XXXXXX";

// Files bigger than this are not served; the app's own files are far smaller.
constexpr off_t kMaxServedBytes = 64 << 20;

// The page may talk to its own origin and to the pronunciation server on
// the loopback; nothing it shows may run script from elsewhere or inline.
const char kContentSecurityPolicy[] =
    "default-src 'self'; script-src 'self'; style-src 'self' 'unsafe-inline'; "
    "img-src 'self' data:; media-src 'self'; "
    "connect-src 'self' http://127.0.0.1:* http://localhost:*; "
    "object-src 'none'; base-uri 'none'; form-action 'self'; frame-ancestors 'none'";

void SetError(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(json{{"error", message}}.dump(), "application/json");
}

std::string ResolvePath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return std::string();
    std::string result(resolved);
    free(resolved);
    return result;
}

bool EndsWith(const std::string& text, const char* suffix) {
    size_t length = strlen(suffix);
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// Reads a whole regular file without following a final symbolic link.
bool ReadRegularFile(const std::string& path, std::string* content) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxServedBytes;
    if (ok) {
        content->resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < content->size()) {
            ssize_t got = read(fd, &(*content)[done], content->size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                content->resize(done);  // the file shrank while being read
                break;
            }
            done += static_cast<size_t>(got);
        }
    }
    close(fd);
    return ok;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace

void CAppRuntime::Install(CBridge& bridge, const std::string& directory) {
    std::string root = ResolvePath(directory);
    if (root.empty()) root = directory;
    std::shared_ptr<CAppRuntime> runtime(new CAppRuntime(root));
    httplib::Server& server = bridge.Server();
    server.Get("/.*", [runtime](const httplib::Request& req, httplib::Response& res) {
        runtime->ServeFile(req, res);
    });
    server.Post(kUploadRoute, [runtime](const httplib::Request& req, httplib::Response& res,
                                        const httplib::ContentReader& reader) {
        runtime->StoreUpload(req, res, reader);
    });
    bridge.AllowPostContentType(kUploadRoute, kUploadMediaType);
}

void CAppRuntime::ServeFile(const httplib::Request& req, httplib::Response& res) const {
    if (ServeResolved(ResolveServable(req.path), res)) return;
    if (IsAppAddress(req) && ServeResolved(ResolveServable("/"), res)) return;
    SetError(res, 404, "not found");
}

bool CAppRuntime::IsAppAddress(const httplib::Request& req) {
    static const char* const kOtherRoutes[] = {"/pron/", "/pdl/", "/runtime/"};
    for (const char* route : kOtherRoutes) {
        if (req.path.compare(0, strlen(route), route) == 0) return false;
    }
    return req.get_header_value("Accept").find("text/html") != std::string::npos &&
           WebContentType(req.path).empty();
}

bool CAppRuntime::ServeResolved(const std::string& path, httplib::Response& res) const {
    std::string type = WebContentType(path);
    bool recording = !path.empty() && path.compare(root_.size(), 6, "/pron/") == 0;
    std::string content;
    if (path.empty() || (type.empty() && !recording) || !ReadRegularFile(path, &content)) {
        return false;
    }
    if (type.empty()) type = RecordingContentType(content);
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Cache-Control", "no-cache");
    res.set_header("Referrer-Policy", "no-referrer");
    if (type.compare(0, 9, "text/html") == 0) {
        res.set_header("Content-Security-Policy", kContentSecurityPolicy);
    }
    res.set_content(std::move(content), type.c_str());
    return true;
}

std::string CAppRuntime::ResolveServable(const std::string& requestPath) const {
    if (requestPath.empty() || requestPath[0] != '/') return std::string();
    std::string relative = requestPath.substr(1);
    if (relative.empty()) relative = "index.html";
    if (!IsServableRelative(relative)) return std::string();
    // The resolved file must pass the same test: a link inside the directory
    // may not lead out of it, into "data", or to a dotfile.
    std::string resolved = ResolvePath(root_ + "/" + relative);
    if (resolved.size() <= root_.size() + 1 || resolved.compare(0, root_.size(), root_) != 0 ||
        resolved[root_.size()] != '/') {
        return std::string();
    }
    return IsServableRelative(resolved.substr(root_.size() + 1)) ? resolved : std::string();
}

bool CAppRuntime::IsServableRelative(const std::string& relative) {
    if (relative.empty() || relative.find('\0') != std::string::npos ||
        relative.find('\\') != std::string::npos) {
        return false;
    }
    size_t start = 0;
    bool first = true;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        std::string segment = relative.substr(start, end - start);
        // Empty segments, ".", ".." and every dotfile or dot-folder are refused.
        if (segment.empty() || segment[0] == '.') return false;
        // The database and the upload area belong to the engine, not the page.
        if (first && (segment == "data" || segment == kDownloadFolder)) return false;
        first = false;
        start = end + 1;
    }
    return true;
}

std::string CAppRuntime::WebContentType(const std::string& path) {
    static const struct {
        const char* suffix;
        const char* type;
    } kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"},
        {".json", "application/json"},
        {".png", "image/png"},
        {".gif", "image/gif"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".svg", "image/svg+xml"},
        {".ico", "image/x-icon"},
        {".webp", "image/webp"},
        {".woff2", "font/woff2"},
        {".wav", "audio/wav"},
        {".mp3", "audio/mpeg"},
        {".ogg", "audio/ogg"},
    };
    for (const auto& entry : kTypes) {
        if (EndsWith(path, entry.suffix)) return entry.type;
    }
    return std::string();
}

// The audio cache names its recordings without an extension: the type comes
// from the recording's first bytes.
std::string CAppRuntime::RecordingContentType(const std::string& content) {
    if (content.size() >= 12 && content.compare(0, 4, "RIFF") == 0 &&
        content.compare(8, 4, "WAVE") == 0) {
        return "audio/wav";
    }
    if (content.compare(0, 4, "OggS") == 0) return "audio/ogg";
    if (content.compare(0, 3, "ID3") == 0) return "audio/mpeg";
    return "application/octet-stream";
}

void CAppRuntime::StoreUpload(const httplib::Request&, httplib::Response& res,
                              const httplib::ContentReader& reader) {
    std::string bytes;
    bool tooLarge = false;
    bool complete = reader([&](const char* data, size_t length) {
        if (bytes.size() + length > kMaxUploadBytes) {
            tooLarge = true;
            return false;
        }
        bytes.append(data, length);
        return true;
    });
    if (!complete) res.set_header("Connection", "close");  // the rest of the body is unread
    if (tooLarge) {
        SetError(res, 413,
                 "an upload may hold at most " + std::to_string(kMaxUploadBytes) + " bytes");
        return;
    }
    if (!complete) {
        SetError(res, 400, "the upload was not received completely");
        return;
    }
    std::string folder = root_ + "/" + kDownloadFolder;
    mkdir(folder.c_str(), 0700);
    RemoveStaleUploads(folder);
    std::string name = folder + "/" + kUploadTemplate;
    int fd = mkstemp(&name[0]);
    if (fd < 0) {
        SetError(res, 500, "the download folder cannot be written");
        return;
    }
    bool written = WriteAll(fd, bytes);
    written = close(fd) == 0 && written;
    if (!written) {
        unlink(name.c_str());
        SetError(res, 500, "the upload could not be stored");
        return;
    }
    std::string relative = name.substr(root_.size() + 1);
    res.set_content(json{{"path", relative}}.dump(), "application/json");
}

// Uploads are consumed by the GetAudioFile that follows them; one whose page
// went away before that would stay for ever, so old ones are cleared here.
void CAppRuntime::RemoveStaleUploads(const std::string& folder) const {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return;
    time_t now = time(nullptr);
    const size_t prefixLength = strlen(kUploadTemplate) - 6;
    while (struct dirent* entry = readdir(directory)) {
        if (strncmp(entry->d_name, kUploadTemplate, prefixLength) != 0) continue;
        std::string path = folder + "/" + entry->d_name;
        struct stat info;
        if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            now - info.st_mtime > kStaleUploadSeconds) {
            unlink(path.c_str());
        }
    }
    closedir(directory);
}
