// Both executables are built without exceptions: nothing in them throws, and no
// exception may unwind through user32. The few library paths that would throw
// (out of memory, impossible string lengths) end the process instead, as an
// exception with nowhere to go would. Defining them here also keeps the
// library's exception and demangling machinery out of the files.
#include <cstddef>
#include <cstdlib>
#include <new>

// The library's operator new throws bad_alloc, which would bring the whole
// exception runtime (and with it the threads library it locks with) back in.
// Memory that cannot be had ends the process here, as the exception would.
void* operator new(std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        std::abort();
    }
    return block;
}
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t /*size*/) noexcept {
    std::free(block);
}

namespace std {
void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_length_error(const char* /*what*/) {
    std::abort();
}
void __throw_logic_error(const char* /*what*/) {
    std::abort();
}
void __throw_out_of_range(const char* /*what*/) {
    std::abort();
}
void __throw_out_of_range_fmt(const char* /*format*/, ...) {
    std::abort();
}
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
