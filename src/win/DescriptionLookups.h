#pragma once
// The configured programs' descriptions for the tooltips, read off the window's
// thread. A program may lie on a network share or a stick that has gone, and
// reading it then takes as long as the system waits for it: the window must
// answer all the while. Each lookup runs on a thread of its own. The window
// waits for it a moment, so that a local file's description comes with the
// tooltip; a slower one is announced with a message when it arrives, and the
// tooltip that still waits for it is shown again with it.
#include "PathLimit.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvory {

// Reads a program's description. It runs on worker threads, several at once.
using DescribeFunction = std::function<std::u16string(const std::u16string& path)>;

class DescriptionLookups {
public:
    // Windows' own limit for a path; a longer one is never looked up.
    static constexpr std::size_t kLongestPath = kelvory::kLongestPath;
    // Lookups that may run at once. One that stalls keeps its thread until the
    // system gives up on the file, so hovers over stalled programs cannot pile
    // threads up: past this number a tooltip shows the file name alone.
    static constexpr int kMostRunning = 4;
    // How long the window waits for a lookup before the tooltip shows without
    // its description: reading a local file takes a few milliseconds.
    static constexpr DWORD kWaitMilliseconds = 250;

    // A lookup that ends after the wait is announced to the window with message,
    // its wParam naming the lookup for Arrived.
    DescriptionLookups(UINT message, DescribeFunction describe);
    ~DescriptionLookups();
    DescriptionLookups(const DescriptionLookups&) = delete;
    DescriptionLookups& operator=(const DescriptionLookups&) = delete;

    // The description of path for the tooltip of tool, a window of window:
    // looked up afresh (or with a lookup of the same path still running), and
    // empty when the lookup has not ended within the wait. Then the tooltip
    // awaits it, and the window is told when it arrives.
    std::u16string Describe(HWND window, HWND tool, const std::u16string& path);

    // Handles the message with its wParam. When the tooltip still awaits that
    // lookup, calls show with its tool; while show runs, Describe answers for
    // that tool with what the lookup found, if the path is still the same.
    void Arrived(WPARAM lookup, const std::function<void(HWND tool)>& show);

    // Announces nothing any more: the window is going. Lookups still running go
    // on and end unannounced; nothing they touch goes away before they do.
    void Detach() noexcept;

private:
    struct Lookup;
    struct Shared;
    struct Job;
    struct Awaited {
        HWND tool = nullptr;
        std::shared_ptr<Lookup> lookup;
    };

    std::shared_ptr<Lookup> Start(HWND window, const std::u16string& path);
    static DWORD WINAPI Run(void* job) noexcept;

    std::shared_ptr<Shared> m_shared;
    // Lookups started and not yet announced: a few at most.
    std::vector<std::shared_ptr<Lookup>> m_started;
    WPARAM m_lastNumber = 0;
    // The lookup that the shown tooltip awaits, and the one being shown.
    Awaited m_awaited;
    Awaited m_arrived;
};

} // namespace kelvory
