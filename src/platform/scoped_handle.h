#pragma once
#include <windows.h>

// Owns one kernel handle and closes it on every way out, exceptions
// included. `invalid` is the value that means "no handle": files use
// INVALID_HANDLE_VALUE, most other objects NULL.
template <HANDLE (*Invalid)()>
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != Invalid(); }
    // Closes it now; false when closing failed (GetLastError tells why).
    bool Close()
    {
        if (!valid())
            return true;
        const HANDLE handle = handle_;
        handle_ = Invalid();
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

inline HANDLE NoFile() { return INVALID_HANDLE_VALUE; }
inline HANDLE NoObject() { return nullptr; }
using ScopedFile = ScopedHandle<NoFile>;
using ScopedObject = ScopedHandle<NoObject>;
