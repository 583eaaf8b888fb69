// Makes a directory the process's working directory for the life of the
// object and returns to the previous one on destruction; with the text-file
// helpers below, tests of code that works relative to the application
// directory ("pron", "downloads", "data") run in a temporary one.
#ifndef LEXORA_TESTS_SUPPORT_WORKINGDIRECTORY_H
#define LEXORA_TESTS_SUPPORT_WORKINGDIRECTORY_H

#include <string>

namespace lxtest {

class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::string previous;  // working directory to return to
};

// Writes `content` to `path`, creating missing parent directories.
void WriteTextFile(const std::string& path, const std::string& content);
// The content of `path`; empty when it cannot be read.
std::string ReadTextFile(const std::string& path);
// True when `path` names anything, a dangling symbolic link included.
bool PathExists(const std::string& path);

}  // namespace lxtest

#endif  // LEXORA_TESTS_SUPPORT_WORKINGDIRECTORY_H
