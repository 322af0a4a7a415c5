// Start-up benchmark: starts kelvory.exe (from the folder of this program) a
// number of times and reports how long each start takes until the main window
// is visible, and the process's working set once it is up. The same is measured
// for bare_window.exe, the least a program can be that shows a window with the
// launcher's platform set-up, because under Wine most of the time and memory
// are Wine's own: the launcher's share is the difference. Run on demand with scripts/bench.
#include "WindowClasses.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// What "starts instantly" means here, for a technician clicking into WinPE.
// Both are measured above the bare window's figures.
constexpr double kTargetExtraMilliseconds = 20.0;
constexpr double kTargetExtraWorkingSetMegabytes = 2.0;

struct Sample {
    double milliseconds = 0;
    double workingSetMegabytes = 0;
};

std::wstring OwnFolder()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.rfind(L'\\') + 1);
}

struct FindContext {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisibleForm(HWND window, LPARAM context) noexcept
{
    auto* find = reinterpret_cast<FindContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16];
    GetClassNameW(window, className, 16);
    if (owner == find->processId && wcscmp(className, kelvory::kFormClass) == 0 && IsWindowVisible(window)) {
        find->window = window;
        return FALSE;
    }
    return TRUE;
}

bool RunOnce(const std::wstring& exe, Sample& sample)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER shown;
    QueryPerformanceFrequency(&frequency);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }

    FindContext find{process.dwProcessId, nullptr};
    for (int attempt = 0; attempt < 20000 && !find.window; ++attempt) {
        EnumWindows(FindVisibleForm, reinterpret_cast<LPARAM>(&find));
        if (!find.window) {
            Sleep(0);
        }
    }
    QueryPerformanceCounter(&shown);

    if (find.window) {
        Sleep(200); // let the first paint settle before reading the memory figures
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
        sample.milliseconds = 1000.0 * double(shown.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        sample.workingSetMegabytes = double(memory.WorkingSetSize) / (1024.0 * 1024.0);
        PostMessageW(find.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return find.window != nullptr;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double milliseconds = 0;
    double fastest = 0;
    double slowest = 0;
    double workingSetMegabytes = 0;
};

bool Measure(const std::wstring& exe, int runs, Figures& figures)
{
    Sample warmUp;
    RunOnce(exe, warmUp); // the first start also fills Wine's and the system's caches

    std::vector<double> times;
    std::vector<double> workingSets;
    for (int run = 0; run < runs; ++run) {
        Sample sample;
        if (!RunOnce(exe, sample)) {
            std::printf("%ls, run %d: the window did not appear\n", exe.c_str(), run + 1);
            return false;
        }
        times.push_back(sample.milliseconds);
        workingSets.push_back(sample.workingSetMegabytes);
    }
    figures.milliseconds = Median(times);
    figures.fastest = *std::min_element(times.begin(), times.end());
    figures.slowest = *std::max_element(times.begin(), times.end());
    figures.workingSetMegabytes = Median(workingSets);
    return true;
}

void Print(const char* name, const Figures& figures)
{
    std::printf("  %-16s start to visible window: median %6.1f ms (min %.1f, max %.1f); working set %.2f MB\n", name,
                figures.milliseconds, figures.fastest, figures.slowest, figures.workingSetMegabytes);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    Figures bare;
    Figures kelvory;
    if (!Measure(OwnFolder() + L"bare_window.exe", runs, bare) || !Measure(OwnFolder() + L"kelvory.exe", runs, kelvory)) {
        return 1;
    }

    std::printf("Start-up over %d runs each, after one warm-up run:\n", runs);
    Print("bare_window.exe", bare);
    Print("kelvory.exe", kelvory);
    const double extraTime = kelvory.milliseconds - bare.milliseconds;
    const double extraMemory = kelvory.workingSetMegabytes - bare.workingSetMegabytes;
    const bool timeMet = extraTime <= kTargetExtraMilliseconds;
    const bool memoryMet = extraMemory <= kTargetExtraWorkingSetMegabytes;
    std::printf("kelvory.exe over the bare window: %+.1f ms (target <= %.0f ms: %s), %+.2f MB (target <= %.0f MB: %s)\n",
                extraTime, kTargetExtraMilliseconds, timeMet ? "met" : "NOT met", extraMemory,
                kTargetExtraWorkingSetMegabytes, memoryMet ? "met" : "NOT met");
    return timeMet && memoryMet ? 0 : 2;
}
