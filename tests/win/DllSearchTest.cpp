#include "TestSupport.h"
#include "probes/DllSearchProbe.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace kelvory::test {
namespace {

// The probe lies in a folder of its own beside win_tests.exe, together with the
// planted dwmapi.dll; each case is a fresh process because the restriction
// holds for the rest of the process that makes it.
int RunDllSearchProbe(const wchar_t* argument)
{
    const UniqueKernelHandle process = StartProgram(OwnFolder() + L"dll-search\\dll_search_probe.exe", argument);
    if (!process) {
        return -1;
    }
    return static_cast<int>(ExitCodeOf(process).value_or(static_cast<DWORD>(-2)));
}

TEST(DllSearch, RestrictedSearchTakesSystem32sCopyOverOneBesideTheProgram)
{
    // Without the restriction the planted copy wins; were it not so, the second
    // half could not tell the restriction from no restriction at all.
    EXPECT_EQ(RunDllSearchProbe(L""), kPlantedCopy);
    EXPECT_EQ(RunDllSearchProbe(L"restricted"), kSystemCopy);
}

} // namespace
} // namespace kelvory::test
