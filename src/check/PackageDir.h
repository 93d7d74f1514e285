// The package directory as the checker reads it: files named as the launcher names them
// (relative, either slash, any letter case, as Windows finds them), read whole or in part.
// Nothing is ever written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class PackageDir {
public:
    explicit PackageDir(std::filesystem::path root) : root_(std::move(root)) {}

    // True when the directory exists and its entries can be listed.
    bool readable() const;

    // The path of the file or folder that `relative` names below the directory, each part
    // matched exactly or else without regard to ASCII case; false when there is none, also for
    // a name that leaves the directory.
    bool find(const std::string& relative, std::filesystem::path& found) const;
    bool exists(const std::string& relative) const;
    bool isFile(const std::string& relative) const;
    bool isFolder(const std::string& relative) const;

    // `length` bytes from `offset` of `file` (fewer at its end); false when it cannot be read.
    static bool read(const std::filesystem::path& file, uint64_t offset, size_t length,
                     std::string& bytes);
    static bool size(const std::filesystem::path& file, uint64_t& bytes);

    // Every file and folder below the directory, relative, "/"-separated, in UTF-8.
    std::vector<std::string> names() const;

    // A path below the directory as the report names it: relative, "/"-separated, UTF-8.
    std::string reportName(const std::filesystem::path& path) const;

private:
    std::filesystem::path root_;
};
