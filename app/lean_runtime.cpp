// The executable is built without exceptions: nothing in it throws, and no
// exception may unwind through user32. The few library paths that would throw
// (out of memory, impossible string lengths) end the process instead, as an
// exception with nowhere to go would. Defining them here also keeps the
// library's exception and demangling machinery out of the file.
#include <cstdlib>

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char* /*what*/) { std::abort(); }
void __throw_logic_error(const char* /*what*/) { std::abort(); }
void __throw_out_of_range_fmt(const char* /*format*/, ...) { std::abort(); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
