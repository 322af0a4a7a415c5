#include "ModulePath.h"
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
    const std::wstring probe = OwnFolder() + L"dll-search\\dll_search_probe.exe";
    std::wstring commandLine = L"\"" + probe + L"\" " + argument;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &exitCode)) {
        exitCode = static_cast<DWORD>(-2);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
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
