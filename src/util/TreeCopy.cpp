#include "util/TreeCopy.h"

#include <windows.h>

#include "util/HeldFile.h"
#include "util/LongPath.h"
#include "util/Wide.h"

namespace {

struct ProgressContext {
    TreeCopyProgress* progress;
    unsigned long long before;  // the bytes of the files copied before this one
};

DWORD CALLBACK onProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER,
                          LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data)
{
    const ProgressContext* context = static_cast<const ProgressContext*>(data);
    if (context->progress != nullptr)
        context->progress->copied(context->before +
                                  static_cast<unsigned long long>(transferred.QuadPart));
    return PROGRESS_CONTINUE;
}

} // namespace

bool listTree(const std::string& dir, std::vector<TreeEntry>& entries, std::string& failed)
{
    // Folders still to list, relative to `dir`; each is listed after its parent.
    std::vector<std::string> pending{""};
    const std::string root = fullPathOf(dir.c_str());
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        const std::string search = root + (folder.empty() ? "" : "\\" + folder) + "\\*";
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(longPath(search.c_str()).c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) {
            failed = folder.empty() ? root : root + "\\" + folder;
            return false;
        }
        do {
            const std::wstring wide = found.cFileName;
            if (wide == L"." || wide == L"..")
                continue;
            const std::string name = (folder.empty() ? "" : folder + "\\") + narrow(wide);
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const unsigned long long size =
                isFolder ? 0
                         : (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                               found.nFileSizeLow;
            entries.push_back({name, size, found.dwFileAttributes});
            if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                pending.push_back(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return true;
}

bool copyTree(const std::string& from, const std::string& to,
              const std::vector<TreeEntry>& listing, const std::vector<size_t>& which,
              TreeCopyProgress* progress, std::string& failed)
{
    ProgressContext context{progress, 0};
    for (size_t index : which) {
        const TreeEntry& entry = listing[index];
        const std::wstring target = longPath((to + "\\" + entry.name).c_str());
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!CreateDirectoryW(target.c_str(), nullptr)) {
                failed = to + "\\" + entry.name;
                return false;
            }
            continue;
        }
        const std::wstring source = longPath((from + "\\" + entry.name).c_str());
        if (!whileHeld(FileAction::Copy, source, [&] {
                return CopyFileExW(source.c_str(), target.c_str(), onProgress, &context, nullptr,
                                   COPY_FILE_FAIL_IF_EXISTS) != 0;
            })) {
            failed = from + "\\" + entry.name;
            return false;
        }
        // A disc's files are read-only: their copies must go with the copy's cleanup.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        context.before += entry.size;
    }
    return true;
}
