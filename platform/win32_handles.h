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
struct DcDeleter {
    void operator()(HDC h) const { ::DeleteDC(h); }
};
struct LocalMemoryFreer {
    void operator()(void* p) const { ::LocalFree(p); }
};
struct ModuleFreer {
    void operator()(HMODULE h) const { ::FreeLibrary(h); }
};
struct RegKeyCloser {
    void operator()(HKEY h) const { ::RegCloseKey(h); }
};
struct GlobalMemoryFreer {
    void operator()(void* p) const { ::GlobalFree(p); }
};

using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;
using UniqueFindHandle = std::unique_ptr<void, FindHandleCloser>;
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
// A memory DC from CreateCompatibleDC; those from GetDC go back through DcScope.
using UniqueDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using UniqueLocalMemory = std::unique_ptr<void, LocalMemoryFreer>;
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;
// Movable global memory, freed unless handed over (the clipboard takes it).
using UniqueGlobalMemory = std::unique_ptr<void, GlobalMemoryFreer>;

// Win32 reports "no handle" as NULL or as INVALID_HANDLE_VALUE depending on
// the call; both become an empty owner.
inline UniqueHandle OwnHandle(HANDLE h) {
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}
inline UniqueFindHandle OwnFindHandle(HANDLE h) {
    return UniqueFindHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A window's DC (the screen's for nullptr) from GetDC, released when the
// scope ends. get() is nullptr when Windows gave none.
class DcScope {
public:
    explicit DcScope(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~DcScope() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    DcScope(const DcScope&) = delete;
    DcScope& operator=(const DcScope&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC and selects the former one back when the
// scope ends, so that the object can be deleted afterwards.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), former_(::SelectObject(dc, object)) {}
    ~SelectionScope() {
        if (former_ && former_ != HGDI_ERROR) ::SelectObject(dc_, former_);
    }
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;

    bool selected() const { return former_ && former_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ former_;
};

// The address of movable global memory, locked until the scope ends;
// get() is nullptr when it could not be locked.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) : memory_(memory), address_(::GlobalLock(memory)) {}
    ~GlobalLockScope() {
        if (address_) ::GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    void* get() const { return address_; }

private:
    HGLOBAL memory_;
    void* address_;
};

// The clipboard, opened for a window until the scope ends. Emptying it
// makes that window its owner, without which nothing can be put on it.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;

    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// Both handles that process creation returns.
struct OwnedProcess {
    UniqueHandle process;
    UniqueHandle thread;
};

}  // namespace win32
