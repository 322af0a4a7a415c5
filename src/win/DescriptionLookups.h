#pragma once
// What a configured button's tooltip says, read off the window's thread: the
// path a click on the button would start, read from kelvory.ini as a click
// reads it, and that program's description. Either file may lie on a network
// share or a stick that has gone, and reading it then takes as long as the
// system waits for it: the window must answer all the while, so it never waits
// for a lookup. A lookup runs on a thread of its own, started when the pointer
// or the keyboard's selection reaches the button, so that a local program's
// answer is there before the tooltip's delay has passed. Each step it finishes
// is announced to the window with a message; what the last lookup of a button
// found is kept for the button's next show.
#include "PathLimit.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvory {

// The path a click on the button of a section would start now, placeholders
// expanded; empty where it would start nothing.
using ReadEntryFunction = std::function<std::u16string(const std::u16string& section)>;
// A program's description.
//
// Both run on worker threads, several at once, and a worker may go on after the
// window, the form and this object have gone: whatever they capture they must
// own or share (values, std::shared_ptr, atomics), never refer to.
using DescribeFunction = std::function<std::u16string(const std::u16string& path)>;

class DescriptionLookups {
public:
    // Windows' own limit for a path; a longer one is never looked up.
    static constexpr std::size_t kLongestPath = kelvory::kLongestPath;
    // Lookups that may run at once. One that stalls keeps its thread until the
    // system gives up on the file, so lookups over stalled programs cannot pile
    // threads up: past this number a button keeps what it knew.
    static constexpr int kMostRunning = 4;

    // What a button's tooltip can say now: the path its entry named when last
    // read (empty: a click would start nothing) and that program's description,
    // empty while none is known.
    struct Known {
        HWND button = nullptr;
        std::u16string path;
        std::u16string description;
    };

    // Each step of a lookup is announced with message, its wParam naming the
    // lookup for Arrived.
    DescriptionLookups(UINT message, ReadEntryFunction readEntry, DescribeFunction describe);
    ~DescriptionLookups();
    DescriptionLookups(const DescriptionLookups&) = delete;
    DescriptionLookups& operator=(const DescriptionLookups&) = delete;

    // The window the messages go to, once: a second call, or one after
    // Detach, changes nothing.
    void Bind(HWND window) noexcept;
    // Announces nothing any more: the window is going. Lookups still running go
    // on and end unannounced; nothing they touch goes away before they do.
    void Detach() noexcept;

    // What start-up read for button, known before any lookup of it.
    void Know(HWND button, const std::u16string& path);
    // What is known for button; null for a button never known.
    const Known* Find(HWND button) const;

    // Reads the entry of section, the section of button, and then its
    // program's description, unless kMostRunning lookups run. While a lookup
    // of that button still runs, the next one starts when it ends.
    void Start(HWND button, const std::u16string& section);

    // Handles the message with its wParam: takes in what that lookup has found
    // so far, and calls changed with its button when that changed what the
    // button's tooltip says.
    void Arrived(WPARAM lookup, const std::function<void(HWND button)>& changed);

private:
    struct Lookup;
    struct Shared;
    struct Job;

    struct TakenIn {
        // What the button's tooltip says changed.
        bool changed;
        // The lookup has ended, and all it found is taken in.
        bool ended;
    };

    Known& KnownOf(HWND button);
    TakenIn TakeIn(const Lookup& lookup);
    static DWORD WINAPI Run(void* job) noexcept;

    std::shared_ptr<Shared> m_shared;
    // Lookups started and not yet taken in whole: a few at most.
    std::vector<std::shared_ptr<Lookup>> m_started;
    WPARAM m_lastNumber = 0;
    // One for each configured button.
    std::vector<Known> m_known;
};

} // namespace kelvory
