#pragma once

namespace kelvory {

// Restricts where this process looks for DLLs to System32 and drops the current
// folder from the search, so that a DLL named like a system DLL beside the
// program (on removable media, in a download folder) is never loaded. Called
// before anything else; it cannot be undone for the rest of the process.
void RestrictDllSearch() noexcept;

} // namespace kelvory
