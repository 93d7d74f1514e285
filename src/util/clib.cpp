#include "util/clib.h"

#include <windows.h>

#include <direct.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "util/Handle.h"
#include "util/HeldFile.h"
#include "util/LongPath.h"
#include "util/LongPathRules.h"
#include "util/PathIdentity.h"
#include "util/Wide.h"

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

// The chunk of a file copy: large enough that the copy runs as fast as the system's own.
constexpr DWORD CopyChunk = 1u << 20;
// Taken when the large chunk cannot be had.
constexpr DWORD SmallCopyChunk = 1u << 16;

bool isPlainDirectory(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Copies the rest of `from` to `to`; true when exactly `expected` bytes went over.
bool pump(HANDLE from, HANDLE to, LONGLONG expected)
{
    DWORD size = CopyChunk;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) {
        size = SmallCopyChunk;
        buffer.reset(new (std::nothrow) char[size]);
    }
    if (!buffer)
        return false;
    LONGLONG copied = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, buffer.get(), size, &read, nullptr))
            return false;
        if (read == 0)
            return copied == expected;
        DWORD written = 0;
        if (!WriteFile(to, buffer.get(), read, &written, nullptr) || written != read)
            return false;
        copied += read;
    }
}

bool deleteFile(const std::wstring& path)
{
    return whileHeld(FileAction::Delete, path, [&] { return DeleteFileW(path.c_str()) != 0; });
}

bool deleteDir(const std::wstring& path)
{
    return whileHeld(FileAction::RemoveDir, path,
                     [&] { return RemoveDirectoryW(path.c_str()) != 0; });
}

// Copies `from` onto `to`, which is created anew (`append` false) or appended to; a failed copy
// removes `to` unless it was appended to.
bool copyInto(const char* from, const char* to, bool append)
{
    // Onto itself, a copy would truncate its own source and an append would double it.
    if (!fexists(from) || isDir(from) || sameFileObject(from, to))
        return false;
    const std::wstring source = longPath(from);
    const std::wstring target = longPath(to);
    Handle in;
    whileHeld(FileAction::Copy, source, [&] {
        in.reset(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        return in.valid();
    });
    // Closed below, where its result counts: a copy whose end was not written is no copy.
    HANDLE out = INVALID_HANDLE_VALUE;
    whileHeld(FileAction::Copy, target, [&] {
        out = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
        return out != INVALID_HANDLE_VALUE;
    });
    const bool opened = out != INVALID_HANDLE_VALUE;
    LARGE_INTEGER size;
    const LARGE_INTEGER start{};
    bool ok = in.valid() && opened && GetFileSizeEx(in.get(), &size) &&
              (!append || SetFilePointerEx(out, start, nullptr, FILE_END)) &&
              pump(in.get(), out, size.QuadPart);
    if (opened && !CloseHandle(out))
        ok = false;
    // The failure's own error (a full disk) outlives the removal of what it left.
    const DWORD error = GetLastError();
    if (!ok && !append)
        deleteFile(target);
    SetLastError(error);
    return ok;
}

} // namespace

bool isDir(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    const DWORD attributes = GetFileAttributesW(longPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool removeFile(const char* path)
{
    return path != nullptr && *path != '\0' && deleteFile(longPath(path));
}

bool removeFile(const std::wstring& path)
{
    return !path.empty() && deleteFile(path);
}

bool removeDir(const char* path)
{
    return path != nullptr && *path != '\0' && deleteDir(longPath(path));
}

bool makeDir(const char* path)
{
    return path != nullptr && *path != '\0' &&
           CreateDirectoryW(longPath(path).c_str(), nullptr) != 0;
}

bool replaceFile(const char* from, const char* to)
{
    const std::wstring source = longPath(from);
    const std::wstring target = longPath(to);
    // The file replaced is the one a reader holds, more often than the new one.
    return whileHeld(FileAction::Rename, target, [&] {
        return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    });
}

bool listDir(const char* dir, std::vector<std::wstring>& names, const char* pattern)
{
    const std::string full = fullPathOf(dir);
    if (full.empty())
        return false;
    const std::string search = full + (full.back() == '\\' ? "" : "\\") + pattern;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(longPath(search.c_str()).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
}

bool listDir(const char* dir, std::vector<std::string>& names, const char* pattern,
             size_t* unlisted)
{
    std::vector<std::wstring> wide;
    if (!listDir(dir, wide, pattern))
        return false;
    size_t left = 0;
    for (const std::wstring& name : wide) {
        // Before the UTF-8 setting the code page converts with best fit: "\u0141" would come
        // back as "L", the name of another file.
        std::string own;
        if (encodeExactly(name.c_str(), GetACP(), own))
            names.push_back(own);
        else
            ++left;
    }
    if (unlisted != nullptr)
        *unlisted = left;
    return true;
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
    return copyInto(from, to, false);
}

bool appendFile(const char* from, const char* to)
{
    return copyInto(from, to, true);
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

namespace {

// Removes everything below the directory `dir` (a "\\?\" form where long), then the directory;
// false after the first removal that failed.
bool removeTree(const std::wstring& dir)
{
    // Collect the listing once and work through it, so the cost grows with the number of entries
    // instead of restarting the search after every removal.
    struct Entry {
        std::wstring path;
        DWORD attributes;
    };
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                entries.push_back(
                    {long_path::extended(dir + L"\\" + name), found.dwFileAttributes});
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    bool ok = true;
    for (const Entry& entry : entries) {
        // Only a plain directory is entered; anything else, a junction included, goes to file
        // removal, which never follows it.
        ok = isPlainDirectory(entry.attributes) ? removeTree(entry.path)
                                                : deleteFile(entry.path);
        if (!ok)
            break;
    }
    deleteDir(dir);
    return ok;
}

} // namespace

bool delDirTree(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    // A path that is no directory is left alone: nothing outside it is ever listed.
    std::wstring dir = longPath(path);
    while (dir.size() > 3 && dir.back() == L'\\' && dir[dir.size() - 2] != L':')
        dir.pop_back();
    const DWORD attributes = GetFileAttributesW(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return removeTree(dir);
}
