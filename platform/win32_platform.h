#pragma once
// What the executables need of Win32 beyond the seams: owners of handles,
// libraries from the system directory only, and their functions.
#include <windows.h>

#include <string>

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

// Every later library look-up goes to the system directory only. Such tools
// are often started from a downloads folder, where anyone may have left a DLL
// with a system name; neither that folder nor the current directory is
// searched. Call it first thing.
void RestrictLibrarySearch();

// A library from the system directory; none when it is not there.
ModuleOwner LoadSystemLibrary(const wchar_t* name);

// This program's own path, however long; empty when it cannot be had.
std::wstring ExecutablePath();
