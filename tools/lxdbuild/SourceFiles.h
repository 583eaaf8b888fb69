// Locating and reading the source files of the build, installed from Debian
// packages (and one npm package).
// CSourceFiles owns the source root (normally "/"); every path it hands out
// exists, or the call throws a CBuildError naming the package to install.
#ifndef LEXORA_TOOLS_LXDBUILD_SOURCEFILES_H
#define LEXORA_TOOLS_LXDBUILD_SOURCEFILES_H

#include <functional>
#include <stdexcept>
#include <string>

namespace lxdbuild {

// A failure that stops the build; main prints its text and exits with 1.
class CBuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CSourceFiles {
public:
    explicit CSourceFiles(std::string root);
    virtual ~CSourceFiles() = default;

    // Full path of a file of a package; throws when it does not exist.
    std::string Require(const std::string& package, const std::string& relative) const;
    // Full path of a file of an npm package installed into the node_modules
    // directory `modules`; throws when it does not exist.
    static std::string RequireNpm(const std::string& modules, const std::string& package,
                                  const std::string& relative);
    // Full path of an optional file, or "" when it does not exist.
    std::string Find(const std::string& relative) const;

    // Whole content of a file (zlib-inflated when the name ends in .gz or
    // .dz); throws when it cannot be read.
    static std::string ReadAll(const std::string& path);

    // Calls visit(line, lineNumber) for every line of text, without its
    // line end; the number counts from 1.
    static void ForEachLine(const std::string& text,
                            const std::function<void(const std::string&, long)>& visit);

private:
    std::string root;
};

}  // namespace lxdbuild

#endif  // LEXORA_TOOLS_LXDBUILD_SOURCEFILES_H
