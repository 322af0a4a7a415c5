// kelvory.exe's terminate handler. The runtime's own one prints the type and
// message of an escaping exception to standard error before aborting; a GUI
// program has no console for it, and the printing drags a demangler and the
// printf family into the executable. Window procedures catch every failure and
// show it, so reaching terminate means something is broken beyond reporting.
// Linked into kelvory.exe alone; the tests keep the runtime's handler, which
// names the escaping exception. The link asks for this definition by name, so
// it still wins should it ever come from a library, where the runtime's own
// would otherwise be found first.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler()
{
    std::abort();
}

} // namespace __gnu_cxx
