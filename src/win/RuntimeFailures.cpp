// kelvory.exe's own raising of the C++ library's internal failures (an
// allocation that fails, a string or container asked to grow past its limit).
// The library's versions build std::logic_error and its kin, whose messages are
// kept in a reference-counted string: that string type's whole implementation,
// some 50 KB, comes along with them, although Kelvory's own text is UTF-16 and
// never uses it. These raise a plain exception with the same message instead,
// which reaches the same error box through what(). Linked into kelvory.exe
// alone, like the terminate handler; the tests keep the library's versions.
#include "Failure.h"

#include <new>

namespace std {

[[noreturn]] void __throw_bad_alloc()
{
    throw bad_alloc();
}

[[noreturn]] void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}

[[noreturn]] void __throw_length_error(const char* message)
{
    throw kelvory::Failure(message);
}

[[noreturn]] void __throw_logic_error(const char* message)
{
    throw kelvory::Failure(message);
}

[[noreturn]] void __throw_out_of_range(const char* message)
{
    throw kelvory::Failure(message);
}

// The message is the format the library would fill in with the index and size.
[[noreturn]] void __throw_out_of_range_fmt(const char* format, ...)
{
    throw kelvory::Failure(format);
}

} // namespace std
