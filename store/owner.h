#pragma once
// A move-only owner of one handle: registry keys, find handles, memory blocks,
// files, modules. Closer names the value that means "no handle" (None) and
// closes a handle; a closer that needs its seam carries a pointer to it.
#include <utility>

template <class Handle, class Closer>
class Owner {
  public:
    Owner() = default;
    explicit Owner(Handle handle, Closer closer = Closer()) : handle_(handle), closer_(closer) {}
    ~Owner() { Reset(); }
    Owner(Owner&& other) noexcept : handle_(other.Release()), closer_(other.closer_) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
            closer_ = other.closer_;
        }
        return *this;
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != Closer::None(); }
    Handle Release() { return std::exchange(handle_, Closer::None()); }
    // Closes the handle held, if any, and takes the new one.
    void Reset(Handle handle = Closer::None()) {
        if (Valid()) {
            closer_(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Closer::None();
    Closer closer_;
};
