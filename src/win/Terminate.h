#pragma once
// kelvory.exe's terminate handler. Window procedures catch every failure and
// show it, so terminate is reached only by a failure in a function that must
// not fail (a noexcept one, a destructor, a thread's own function). Its
// message still goes to the standard error box, when the failure happened on
// the window's thread and an application has one, before the program aborts.
namespace kelvory {

// Makes the calling thread the one whose failures are reported, and installs
// the handler with std::set_terminate. Called once, first thing, on the thread
// that runs the windows.
void InstallTerminateHandler() noexcept;

} // namespace kelvory
