#include "util/clib.h"

#include "util/File.h"
#include "util/PathIdentity.h"

#include <direct.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr long ChunkSize = 30000;
constexpr long MaxChunks = 20;

// The chunk buffers of one copy; released however the copy ends.
class ChunkBuffers {
public:
    explicit ChunkBuffers(long wanted)
    {
        for (long i = 0; i < wanted; ++i) {
            char* chunk = static_cast<char*>(std::malloc(ChunkSize + 1));
            if (chunk == nullptr)
                break;
            chunks_.push_back(chunk);
        }
    }
    ~ChunkBuffers()
    {
        for (char* chunk : chunks_)
            std::free(chunk);
    }
    ChunkBuffers(const ChunkBuffers&) = delete;
    ChunkBuffers& operator=(const ChunkBuffers&) = delete;

    size_t count() const { return chunks_.size(); }
    char* operator[](size_t i) const { return chunks_[i]; }

private:
    std::vector<char*> chunks_;
};

// Joins a directory and a name with a backslash; false when the result does not fit.
bool joinPath(char* out, size_t size, const char* dir, const char* name)
{
    const int n = std::snprintf(out, size, "%s%s%s", dir, "\\", name);
    return n >= 0 && static_cast<size_t>(n) < size;
}

// Copies `from` into a stream opened with `mode` on `to`; removes `to` on failure when asked.
bool copyInto(const char* from, const char* to, const char* mode, bool removeOnFailure)
{
    // Onto itself, a copy would truncate its own source and an append would double it.
    if (!fexists(from) || isDir(from) || sameFileObject(from, to))
        return false;
    File in(from, "rb");
    File out(to, mode);
    bool ok = copyStream(in.get(), out.get());
    in.close();
    // The copy is whole only once its buffered end reached the disk.
    if (!out.close())
        ok = false;
    if (!ok && removeOnFailure)
        std::remove(to);
    return ok;
}

} // namespace

bool isDir(const char* path)
{
    if (!fexists(path))
        return false;
    struct _stat info;
    if (_stat(path, &info) != 0)
        return false;
    return (info.st_mode & _S_IFMT) == _S_IFDIR;
}

bool copyStream(FILE* from, FILE* to)
{
    if (from == nullptr || to == nullptr)
        return false;
    if (std::fseek(from, 0, SEEK_END) != 0)
        return false;
    const long size = std::ftell(from);
    if (size < 0 || std::fseek(from, 0, SEEK_SET) != 0)
        return false;

    long wanted = size / ChunkSize + 1;
    if (wanted > MaxChunks)
        wanted = MaxChunks;
    ChunkBuffers buffers(wanted);
    if (buffers.count() == 0)
        return false;

    std::vector<size_t> counts(buffers.count(), 0);
    bool ok = true;
    while (ok && !std::feof(from)) {
        std::fill(counts.begin(), counts.end(), 0);
        for (size_t i = 0; i < buffers.count(); ++i) {
            counts[i] = std::fread(buffers[i], 1, ChunkSize, from);
            // A read error never sets end of file; it ends the copy with failure.
            if (std::ferror(from))
                return false;
            if (std::feof(from))
                break;
        }
        for (size_t i = 0; i < buffers.count() && counts[i] != 0; ++i) {
            if (std::fwrite(buffers[i], 1, counts[i], to) != counts[i]) {
                ok = false;
                break;
            }
        }
    }
    return ok && std::ftell(to) == size;
}

bool copyFile(const char* from, const char* to)
{
    return copyInto(from, to, "wb", true);
}

bool appendFile(const char* from, const char* to)
{
    return copyInto(from, to, "ab", false);
}

const char* getPathPtr()
{
    for (const char* name : {"path", "PATH", "Path"}) {
        const char* value = std::getenv(name);
        if (value != nullptr)
            return value;
    }
    return nullptr;
}

void getCurrentDir(char* buffer, unsigned size)
{
    if (buffer == nullptr || size == 0)
        return;
    if (_getcwd(buffer, static_cast<int>(size)) == nullptr) {
        std::snprintf(buffer, size, "%s", ".");
        return;
    }
    const size_t length = std::strlen(buffer);
    if (length > 1 && buffer[length - 1] == '\\')
        buffer[length - 1] = '\0';
}

std::string currentDirectory()
{
    std::vector<char> buffer(PathCapacity);
    getCurrentDir(buffer.data(), PathSize);
    return buffer.data();
}

bool delDirTree(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    // Entry paths are joined to the full path, so a relative argument still names the same tree
    // after the change of directory below.
    std::vector<char> full(PathCapacity);
    if (_fullpath(full.data(), path, PathCapacity) == nullptr)
        return false;
    std::vector<char> saved(PathCapacity);
    getCurrentDir(saved.data(), PathSize);
    // A path that cannot be entered is left alone: the listing below would otherwise run in
    // whatever directory is current.
    if (_chdir(full.data()) != 0)
        return false;

    // Collect the listing once and work through it, so the cost grows with the number of entries
    // instead of restarting the search after every removal.
    struct Entry {
        std::string name;
        unsigned attrib;
    };
    std::vector<Entry> entries;
    struct _finddata_t found;
    const intptr_t search = _findfirst("*.*", &found);
    if (search != -1) {
        do {
            if (_stricmp(found.name, ".") != 0 && _stricmp(found.name, "..") != 0)
                entries.push_back({found.name, found.attrib});
        } while (_findnext(search, &found) == 0);
        _findclose(search);
    }

    bool ok = true;
    std::vector<char> entryPath(PathCapacity);
    for (const Entry& entry : entries) {
        if (!joinPath(entryPath.data(), PathCapacity, full.data(), entry.name.c_str())) {
            ok = false;
            break;
        }
        // Only a plain directory is entered; anything else, a junction included, goes to file
        // removal, which never follows it.
        if (entry.attrib == _A_SUBDIR)
            ok = delDirTree(entryPath.data());
        else
            ok = std::remove(entryPath.data()) == 0;
        if (!ok)
            break;
    }

    _chdir(saved.data());
    _rmdir(full.data());
    return ok;
}
