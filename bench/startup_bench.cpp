// Start-up benchmark: kelvory.exe against three reference programs in one Wine
// session. The references are a bare window, the same with the Common Controls 6
// manifest, and the minimal launcher of the same kind (reference_launcher.c).
// For each case folder named on the command line (holding the four programs and
// perhaps a kelvory.ini), kelvory.exe is run against each reference in pairs,
// the order alternating from pair to pair, and the bare window once against
// itself, which shows the benchmark's own noise. It prints medians of the time
// from process creation to the visible main window, the peak working set and
// the private bytes, the sizes, and the ratios with the goals. Where a case has a
// kelvory.ini, it also times in this process what start-up spends on the
// programs' icons: the check of their icon directories against the extraction
// itself. It exits 0 when it measured and non-zero only when it could not.
#include "IconResource.h"
#include "Shell.h"
#include "Unit1Layout.h"
#include "WindowClasses.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr double kStartGoal = 1.05;       // time to window, over the reference launcher
constexpr double kWorkingSetGoal = 1.20;  // peak working set with no ini, over the bare window
constexpr DWORD kWindowTimeoutMilliseconds = 15000;
constexpr DWORD kSettleMilliseconds = 300;  // the first paint, before memory is read

struct Sample {
    double milliseconds = 0;
    double peakWorkingSet = 0;  // MB
    double privateBytes = 0;    // MB
};

struct Program {
    const wchar_t* name;
    std::vector<Sample> samples;
};

struct FindContext {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisibleForm(HWND window, LPARAM context) noexcept
{
    auto* find = reinterpret_cast<FindContext*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != find->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t className[32];
    GetClassNameW(window, className, 32);
    if (wcscmp(className, kelvory::kFormClass) == 0) {
        find->window = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(ticks) / double(frequency.QuadPart);
}

// Starts the program with the main window's client size on its command line
// (read by the references, ignored by kelvory.exe) and measures it. False when
// it could not be started or its window never appeared.
bool RunOnce(const std::wstring& folder, const wchar_t* name, Sample& sample)
{
    const std::wstring exe = folder + L"\\" + name;
    std::wstring commandLine = L"\"" + exe + L"\" " + std::to_wstring(kelvory::kForm1Layout.clientWidth) + L" " +
                               std::to_wstring(kelvory::kForm1Layout.clientHeight);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    LARGE_INTEGER shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        std::printf("%ls could not be started (error %lu)\n", exe.c_str(), GetLastError());
        return false;
    }

    FindContext find{process.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + kWindowTimeoutMilliseconds;
    while (!find.window && GetTickCount64() < deadline &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindVisibleForm, reinterpret_cast<LPARAM>(&find));
        if (!find.window) {
            Sleep(0);
        }
    }
    QueryPerformanceCounter(&shown);

    if (find.window) {
        Sleep(kSettleMilliseconds);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
        sample.milliseconds = 1000.0 * Seconds(shown.QuadPart - start.QuadPart);
        sample.peakWorkingSet = double(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
        // The private commit: PagefileUsage is the same figure as PrivateUsage on
        // Windows, and the one of the two that Wine fills in.
        sample.privateBytes = double(memory.PagefileUsage) / (1024.0 * 1024.0);
        PostMessageW(find.window, WM_CLOSE, 0, 0);
    } else {
        std::printf("%ls: no visible main window within %lu ms\n", exe.c_str(), kWindowTimeoutMilliseconds);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return find.window != nullptr;
}

// Under heavy load Wine now and then fails a start that the next attempt makes:
// a run counts as failed only after three attempts.
bool Run(const std::wstring& folder, const wchar_t* name, Sample& sample)
{
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (RunOnce(folder, name, sample)) {
            return true;
        }
        std::printf("  (attempt %d of 3 failed)\n", attempt);
    }
    return false;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Medians {
    double milliseconds;
    double peakWorkingSet;
    double privateBytes;
};

Medians MediansOf(const std::vector<Sample>& samples)
{
    std::vector<double> times;
    std::vector<double> peaks;
    std::vector<double> privates;
    for (const Sample& sample : samples) {
        times.push_back(sample.milliseconds);
        peaks.push_back(sample.peakWorkingSet);
        privates.push_back(sample.privateBytes);
    }
    return {Median(times), Median(peaks), Median(privates)};
}

Medians Ratios(const Medians& over, const Medians& under)
{
    return {over.milliseconds / under.milliseconds, over.peakWorkingSet / under.peakWorkingSet,
            over.privateBytes / under.privateBytes};
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const char* Verdict(double ratio, double goal)
{
    return ratio <= goal ? "met" : "NOT met";
}

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * Seconds(now.QuadPart - start.QuadPart);
}

// The configured programs' icons as start-up takes them, timed in rounds: the
// icon directory check of all entries, and the extraction of all their icons.
void MeasureIconCheck(const std::wstring& folder, int rounds, double toWindow)
{
    const std::wstring ini = folder + L"\\kelvory.ini";
    std::vector<std::wstring> paths;
    for (int n = 1; n <= 8; ++n) {
        wchar_t path[2048];
        const std::wstring section = L"prog" + std::to_wstring(n);
        if (GetPrivateProfileStringW(section.c_str(), L"exe", L"", path, 2048, ini.c_str()) > 0) {
            paths.push_back(path);
        }
    }
    std::vector<double> checks;
    std::vector<double> extractions;
    int fitting = 0;
    for (int round = 0; round <= rounds; ++round) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        fitting = 0;
        for (const std::wstring& path : paths) {
            fitting += kelvory::IconDirectoryFits(path.c_str());
        }
        const double check = MillisecondsSince(start);
        QueryPerformanceCounter(&start);
        for (const std::wstring& path : paths) {
            DestroyIcon(kelvory::ExtractFileIcon(GetModuleHandleW(nullptr), path.c_str(), 0));
        }
        const double extraction = MillisecondsSince(start);
        if (round > 0) { // the first round warms the file cache, as the warm-up runs do
            checks.push_back(check);
            extractions.push_back(extraction);
        }
    }
    const double check = Median(checks);
    std::printf("  icons of the %zu entries (%d fit), in this process, medians of %d rounds:\n", paths.size(), fitting,
                rounds);
    std::printf("    icon directory check %8.2f ms (%.1f%% of kelvory.exe's time to window)\n", check,
                100.0 * check / toWindow);
    std::printf("    icon extraction      %8.2f ms\n", Median(extractions));
}

// One comparison: kelvory.exe and the other program in pairs, alternating which
// starts first. Each keeps the samples of its own comparison.
struct Comparison {
    Program kelvory{L"kelvory.exe", {}};
    Program other;
};

bool MeasureCase(const std::wstring& folder, int pairs)
{
    const wchar_t* const references[] = {L"bare_window.exe", L"bare_window_cc6.exe", L"reference_launcher.exe"};
    std::vector<Comparison> comparisons;
    for (const wchar_t* reference : references) {
        comparisons.push_back({{L"kelvory.exe", {}}, {reference, {}}});
    }
    // The bare window against a copy of itself: its ratios are the noise.
    Comparison noise{{L"bare_window.exe", {}}, {L"bare_window.exe", {}}};

    Sample warmUp;
    for (const wchar_t* name : {L"kelvory.exe", references[0], references[1], references[2]}) {
        if (!Run(folder, name, warmUp)) {
            return false;
        }
    }

    for (int pair = 0; pair < pairs; ++pair) {
        for (Comparison* comparison : [&] {
                 std::vector<Comparison*> all;
                 for (Comparison& each : comparisons) {
                     all.push_back(&each);
                 }
                 all.push_back(&noise);
                 return all;
             }()) {
            Program* first = pair % 2 ? &comparison->other : &comparison->kelvory;
            Program* second = pair % 2 ? &comparison->kelvory : &comparison->other;
            Sample a;
            Sample b;
            if (!Run(folder, first->name, a) || !Run(folder, second->name, b)) {
                return false;
            }
            first->samples.push_back(a);
            second->samples.push_back(b);
        }
    }

    std::vector<Sample> allKelvory;
    for (const Comparison& comparison : comparisons) {
        allKelvory.insert(allKelvory.end(), comparison.kelvory.samples.begin(), comparison.kelvory.samples.end());
    }
    std::printf("  %-24s %12s %15s %13s %13s\n", "program", "size (bytes)", "to window (ms)", "peak WS (MB)",
                "private (MB)");
    auto printRow = [&](const wchar_t* name, const std::vector<Sample>& samples) {
        const Medians medians = MediansOf(samples);
        std::printf("  %-24ls %12lld %15.1f %13.2f %13.2f\n", name, FileSize(folder + L"\\" + name),
                    medians.milliseconds, medians.peakWorkingSet, medians.privateBytes);
    };
    printRow(L"kelvory.exe", allKelvory);
    for (const Comparison& comparison : comparisons) {
        printRow(comparison.other.name, comparison.other.samples);
    }

    std::printf("  %-24s %12s %15s %13s %13s\n", "kelvory.exe over", "", "time", "peak WS", "private");
    std::vector<Medians> ratios;
    for (const Comparison& comparison : comparisons) {
        ratios.push_back(Ratios(MediansOf(comparison.kelvory.samples), MediansOf(comparison.other.samples)));
        std::printf("  %-24ls %12s %14.2fx %12.2fx %12.2fx\n", comparison.other.name, "", ratios.back().milliseconds,
                    ratios.back().peakWorkingSet, ratios.back().privateBytes);
    }
    const Medians noiseRatios = Ratios(MediansOf(noise.kelvory.samples), MediansOf(noise.other.samples));
    std::printf("  %-24s %12s %14.2fx %12.2fx %12.2fx\n", "noise: bare over bare", "", noiseRatios.milliseconds,
                noiseRatios.peakWorkingSet, noiseRatios.privateBytes);
    std::printf("  goal: time to window <= %.2fx reference_launcher.exe: %s (%.2fx)\n", kStartGoal,
                Verdict(ratios[2].milliseconds, kStartGoal), ratios[2].milliseconds);
    if (GetFileAttributesW((folder + L"\\kelvory.ini").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("  goal: peak working set with no ini <= %.2fx bare_window.exe: %s (%.2fx)\n", kWorkingSetGoal,
                    Verdict(ratios[0].peakWorkingSet, kWorkingSetGoal), ratios[0].peakWorkingSet);
    } else {
        MeasureIconCheck(folder, pairs, MediansOf(allKelvory).milliseconds);
    }
    return true;
}

} // namespace

// startup_bench.exe <pairs> <case folder>...
int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::printf("usage: startup_bench <pairs> <case folder>...\n");
        return 2;
    }
    const int pairs = std::max(1, _wtoi(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const std::wstring folder = argv[i];
        std::printf("%ls: %d pairs per comparison, alternating order; medians\n", folder.c_str(), pairs);
        std::fflush(stdout);
        if (!MeasureCase(folder, pairs)) {
            std::printf("could not measure %ls\n", folder.c_str());
            return 1;
        }
        std::fflush(stdout);
    }
    return 0;
}
