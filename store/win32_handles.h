#pragma once
// Owners of the Win32 handles the platform side holds, and the look-up of a
// library's functions.
#include <windows.h>

#include "store/owner.h"

struct FileCloser {
    static HANDLE None() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileOwner = Owner<HANDLE, FileCloser>;

struct HandleCloser {
    static HANDLE None() { return nullptr; }
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using HandleOwner = Owner<HANDLE, HandleCloser>;

struct ModuleCloser {
    static HMODULE None() { return nullptr; }
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleOwner = Owner<HMODULE, ModuleCloser>;

// Through void(*)(): the one function pointer type every other converts to
// without a cast warning.
template <class Function>
bool Resolve(HMODULE module, const char* name, Function* target) {
    *target =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return *target != nullptr;
}
