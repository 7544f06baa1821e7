// Move-only owners for the Win32 handles and GDI objects the tool creates,
// so that no return path can leak one.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

struct KernelHandleCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct FindHandleCloser {
    void operator()(HANDLE h) const { ::FindClose(h); }
};
struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct IconDestroyer {
    void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct LocalMemoryFreer {
    void operator()(void* p) const { ::LocalFree(p); }
};

using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;
using UniqueFindHandle = std::unique_ptr<void, FindHandleCloser>;
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;
using UniqueLocalMemory = std::unique_ptr<void, LocalMemoryFreer>;

// Win32 reports "no handle" as NULL or as INVALID_HANDLE_VALUE depending on
// the call; both become an empty owner.
inline UniqueHandle OwnHandle(HANDLE h) {
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}
inline UniqueFindHandle OwnFindHandle(HANDLE h) {
    return UniqueFindHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Both handles that process creation returns.
struct OwnedProcess {
    UniqueHandle process;
    UniqueHandle thread;
};

}  // namespace win32
