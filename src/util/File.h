// An open C stream in an owner that closes it on every path; cannot be copied. Where the
// written data matters, the caller closes it itself and checks the result.
#pragma once

#include <cstdio>

// `name` (the program's own encoding; a relative name lies in the package directory) opened with
// fopen's `mode`, at any length; null, with errno set, when it cannot be opened.
FILE* openFile(const char* name, const char* mode);

class File {
public:
    File(const char* name, const char* mode) : file_(openFile(name, mode)) {}
    // Takes over a stream that is already open; null holds nothing.
    constexpr explicit File(FILE* file) : file_(file) {}
    // An existing file opened for appending text, shared with every other program: they may
    // read, write, rename and delete it while it is held open. Null when it cannot be opened.
    static FILE* openSharedAppend(const char* name);
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    FILE* get() const { return file_; }
    explicit operator bool() const { return file_ != nullptr; }
    // Closes what is held and takes over `file`.
    void reset(FILE* file)
    {
        close();
        file_ = file;
    }
    // False when the buffered data could not be written; true when nothing was open.
    bool close()
    {
        if (file_ == nullptr)
            return true;
        // The buffered data is written first on its own: a close under Wine reports no failure
        // of that last write (a full disk), and a truncated file would pass as complete.
        const bool flushed = std::fflush(file_) == 0;
        const bool ok = std::fclose(file_) == 0 && flushed;
        file_ = nullptr;
        return ok;
    }

private:
    FILE* file_;
};
