#pragma once
// Shared by the DLL search test, its probe and the planted DLL.

// The planted dwmapi.dll sets this environment variable in the process that
// loads it.
constexpr wchar_t kPlantedMark[] = L"KELVORY_PLANTED_DLL_LOADED";

// The probe's exit codes: which copy of dwmapi.dll its bare name brought in.
enum DllSearchOutcome : int {
    kSystemCopy = 10,
    kPlantedCopy = 11,
    kNoCopy = 12,
    kOtherCopy = 13,
};
