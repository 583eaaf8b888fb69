// The web runtime's part of the desktop platform: serves the application
// directory's web files and its audio cache "pron", and stands in for the
// phone's download service by keeping uploaded bytes in "downloads".
#ifndef LEXORA_PLATFORM_APPRUNTIME_H
#define LEXORA_PLATFORM_APPRUNTIME_H

#include <httplib.h>

#include <cstddef>
#include <string>

class CBridge;

// Owns the application directory's resolved path and the upload policy.
// Callers may rely on: a response carries only a web file (known by its
// extension) or a recording in "pron", never a file outside that directory,
// a dotfile, or anything in "data" or "downloads"; a page address that names
// no such file (a word, "/cat") gets the app's page; uploads land only in
// "downloads", under names made here, and never above the size cap.
class CAppRuntime {
public:
    static constexpr size_t kMaxUploadBytes = 2u << 20;
    // Uploads that no GetAudioFile consumed are removed after this long.
    static constexpr int kStaleUploadSeconds = 600;

    // Adds GET for the web files (everything not taken by an earlier route)
    // and POST /runtime/upload to `bridge`, whose access rules then cover them.
    // `directory` is the application directory. Call before the bridge starts.
    static void Install(CBridge& bridge, const std::string& directory);

    virtual ~CAppRuntime() = default;
    CAppRuntime(const CAppRuntime&) = delete;
    CAppRuntime& operator=(const CAppRuntime&) = delete;

private:
    explicit CAppRuntime(std::string root) : root_(std::move(root)) {}

    void ServeFile(const httplib::Request& req, httplib::Response& res) const;
    void StoreUpload(const httplib::Request& req, httplib::Response& res,
                     const httplib::ContentReader& reader);

    // Writes the file at the resolved `path` as the response; false when it
    // is not a web file or recording, or cannot be read.
    bool ServeResolved(const std::string& path, httplib::Response& res) const;
    // True for a page the browser opens (it accepts HTML) at an address of
    // the app's own: not a web file by its extension, nor in "pron" or the
    // bridge's and runtime's routes. A word link opened in a tab is one.
    static bool IsAppAddress(const httplib::Request& req);
    // The file a request path names, resolved, or "" when it may not be served.
    std::string ResolveServable(const std::string& requestPath) const;
    // True when `relative` (below the root, '/'-separated) may be served.
    static bool IsServableRelative(const std::string& relative);
    // The type of a web file by its name; "" for a file that is not one.
    static std::string WebContentType(const std::string& path);
    static std::string RecordingContentType(const std::string& content);
    void RemoveStaleUploads(const std::string& directory) const;

    std::string root_;  // resolved application directory, without a trailing '/'
};

#endif  // LEXORA_PLATFORM_APPRUNTIME_H
