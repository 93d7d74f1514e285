// A kernel object handle in an owner that closes it on every path.
#pragma once

#include <windows.h>

// Owns one handle (null or INVALID_HANDLE_VALUE mean none) and closes it when it goes; cannot
// be copied.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = nullptr)
    {
        close();
        handle_ = handle;
    }
    void close()
    {
        if (valid())
            CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};
