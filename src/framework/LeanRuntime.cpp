// The C++ runtime's error paths, cut to what a windowed program can use. The runtime's own versions
// link in its symbol demangler, its console messages and every standard exception class with the
// old string implementation behind them: over 130 KB of a release that is otherwise about 100 KB.
// Linked into Vexa.exe only, where these definitions take the place of the runtime library's.
#include <cstdlib>
#include <new>

namespace __gnu_cxx
{
// There is no console for "terminate called after throwing ...": end at once.
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace std
{
// A container or string asked to grow beyond what it can hold is out of memory to the user, and the
// framework reports it as such.
void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_length_error(const char*)
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_alloc();
}

// A logic error (a null string, a position past the end) is a fault of the program that no handler
// can mend: it ends the program, as an unhandled exception would.
void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}
} // namespace std
