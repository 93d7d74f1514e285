#include "check/PackageDir.h"

#include <fstream>
#include <system_error>

#include "util/AsciiCase.h"
#include "util/Utf8.h"

namespace fs = std::filesystem;

namespace {

std::string utf8Of(const fs::path& path)
{
    return path.generic_u8string();
}

// The entry of `dir` named `part`: itself when it exists, else the first entry whose name
// equals it without regard to ASCII case.
bool findPart(const fs::path& dir, const std::string& part, fs::path& found)
{
    // A name that is no UTF-8 (a control file in a legacy code page) names no file here.
    if (!utf8::isValid(part.data(), part.size()))
        return false;
    std::error_code error;
    const fs::path exact = dir / fs::u8path(part);
    if (fs::exists(exact, error)) {
        found = exact;
        return true;
    }
    const std::string wanted = lowerAscii(part);
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        if (lowerAscii(utf8Of(it->path().filename())) == wanted) {
            found = it->path();
            return true;
        }
    }
    return false;
}

} // namespace

bool PackageDir::readable() const
{
    std::error_code error;
    fs::directory_iterator it(root_, error);
    return !error && fs::is_directory(root_, error);
}

bool PackageDir::find(const std::string& relative, fs::path& found) const
{
    fs::path at = root_;
    size_t depth = 0;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = relative.size();
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (depth == 0)
                return false;
            at = at.parent_path();
            --depth;
            continue;
        }
        if (!findPart(at, part, at))
            return false;
        ++depth;
    }
    found = at;
    return true;
}

bool PackageDir::exists(const std::string& relative) const
{
    fs::path found;
    return find(relative, found);
}

bool PackageDir::isFile(const std::string& relative) const
{
    fs::path found;
    std::error_code error;
    return find(relative, found) && fs::is_regular_file(found, error);
}

bool PackageDir::isFolder(const std::string& relative) const
{
    fs::path found;
    std::error_code error;
    return find(relative, found) && fs::is_directory(found, error);
}

bool PackageDir::read(const fs::path& file, uint64_t offset, size_t length, std::string& bytes)
{
    std::ifstream in(file, std::ios::binary);
    if (!in || !in.seekg(static_cast<std::streamoff>(offset)))
        return false;
    bytes.assign(length, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(length));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return !in.bad();
}

bool PackageDir::size(const fs::path& file, uint64_t& bytes)
{
    std::error_code error;
    bytes = fs::file_size(file, error);
    return !error;
}

std::vector<std::string> PackageDir::names() const
{
    std::vector<std::string> out;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end;
         it.increment(error))
        out.push_back(reportName(it->path()));
    return out;
}

std::string PackageDir::reportName(const fs::path& path) const
{
    return utf8Of(path.lexically_relative(root_));
}
