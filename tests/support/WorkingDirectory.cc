#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace lxtest {

WorkingDirectory::WorkingDirectory(const std::string& path) {
    std::error_code error;
    previous = std::filesystem::current_path(error).string();
    std::filesystem::current_path(path, error);
    if (error) ADD_FAILURE() << "cannot change to " << path << ": " << error.message();
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

void WriteTextFile(const std::string& path, const std::string& content) {
    std::filesystem::path file(path);
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace lxtest
