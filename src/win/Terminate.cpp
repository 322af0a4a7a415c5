// kelvory.exe's terminate handler. The runtime's own one prints the type and
// message of an escaping exception to standard error before aborting; a GUI
// program has no console for it, and the printing drags a demangler and the
// printf family into the executable. This one replaces that whole library
// member: the runtime's default handler is this function, so defining it here
// keeps the library's copy out of the link. Linked into kelvory.exe alone; the
// tests keep the runtime's handler, which names the escaping exception.
//
// Window procedures catch every failure and show it, so terminate is reached
// only by a failure in a function that must not fail (a noexcept one, a
// destructor). Its message still goes to the standard error box of the
// application, if one is registered, before the program ends: the box's own
// message loop may run the program's windows once more, and a second failure
// on the way ends the program at once.
#include "Window.h"

#include <cstdlib>
#include <exception>
#include <utility>

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    static bool reporting = false;
    if (!std::exchange(reporting, true)) {
        if (const std::exception_ptr failure = std::current_exception()) {
            kelvory::ReportFailure(failure);
        }
    }
    std::abort();
}

} // namespace __gnu_cxx
