#include "DescriptionLookups.h"

#include "UniqueHandle.h"

#include <algorithm>
#include <utility>

namespace kelvory {

struct DescriptionLookups::Lookup {
    WPARAM number = 0;
    HWND button = nullptr;
    std::u16string section;
    // Written by the worker and read by the window, both under the shared lock.
    bool entryRead = false;
    std::u16string path;
    // The description is read too, or will not be: the lookup has ended.
    bool ended = false;
    std::u16string description;
    // Reached again while it ran, so it is done again when it ends; the
    // window's alone.
    bool again = false;
};

// What the window and the running lookups share: it lives as long as the last
// of them.
struct DescriptionLookups::Shared {
    SRWLOCK lock = SRWLOCK_INIT;
    HWND window = nullptr;
    bool bound = false;
    UINT message = 0;
    int running = 0;
    ReadEntryFunction readEntry;
    DescribeFunction describe;
};

// What a worker thread is handed: its own share of both.
struct DescriptionLookups::Job {
    std::shared_ptr<Shared> shared;
    std::shared_ptr<Lookup> lookup;
};

namespace {

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) noexcept : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&m_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& m_lock;
};

} // namespace

DescriptionLookups::DescriptionLookups(UINT message, ReadEntryFunction readEntry, DescribeFunction describe)
    : m_shared(std::make_shared<Shared>())
{
    m_shared->message = message;
    m_shared->readEntry = std::move(readEntry);
    m_shared->describe = std::move(describe);
}

DescriptionLookups::~DescriptionLookups()
{
    Detach();
}

void DescriptionLookups::Bind(HWND window) noexcept
{
    const ExclusiveLock lock(m_shared->lock);
    if (!std::exchange(m_shared->bound, true)) {
        m_shared->window = window;
    }
}

void DescriptionLookups::Detach() noexcept
{
    const ExclusiveLock lock(m_shared->lock);
    m_shared->bound = true;
    m_shared->window = nullptr;
}

DescriptionLookups::Known& DescriptionLookups::KnownOf(HWND button)
{
    const auto known = std::find_if(m_known.begin(), m_known.end(), [&](const Known& k) { return k.button == button; });
    if (known != m_known.end()) {
        return *known;
    }
    return m_known.emplace_back(Known{button, {}, {}});
}

void DescriptionLookups::Know(HWND button, const std::u16string& path)
{
    Known& known = KnownOf(button);
    known.path = path;
    known.description.clear();
}

const DescriptionLookups::Known* DescriptionLookups::Find(HWND button) const
{
    const auto known = std::find_if(m_known.begin(), m_known.end(), [&](const Known& k) { return k.button == button; });
    return known != m_known.end() ? &*known : nullptr;
}

DescriptionLookups::TakenIn DescriptionLookups::TakeIn(const Lookup& lookup)
{
    const ExclusiveLock lock(m_shared->lock);
    if (!lookup.entryRead) {
        return {false, lookup.ended};
    }
    // A description belongs to the path it was read for: a new path shows
    // none until its own arrives.
    Known& known = KnownOf(lookup.button);
    bool changed = false;
    if (known.path != lookup.path) {
        known.path = lookup.path;
        known.description.clear();
        changed = true;
    }
    if (lookup.ended && known.description != lookup.description) {
        known.description = lookup.description;
        changed = true;
    }
    return {changed, lookup.ended};
}

void DescriptionLookups::Start(HWND button, const std::u16string& section)
{
    // Lookups that have ended are taken in here too, in case their message was
    // lost; one of this button still running is not started twice, but once
    // more when it ends, since the entry may have changed meanwhile.
    for (auto started = m_started.begin(); started != m_started.end();) {
        if (TakeIn(**started).ended) {
            started = m_started.erase(started);
        } else if ((*started)->button == button) {
            (*started)->again = true;
            return;
        } else {
            ++started;
        }
    }

    auto lookup = std::make_shared<Lookup>();
    lookup->number = ++m_lastNumber;
    lookup->button = button;
    lookup->section = section;
    auto job = std::make_unique<Job>(Job{m_shared, lookup});
    m_started.reserve(m_started.size() + 1);
    {
        const ExclusiveLock lock(m_shared->lock);
        if (m_shared->running == kMostRunning) {
            return;
        }
        ++m_shared->running;
    }
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, Run, job.get(), 0, nullptr));
    if (!thread) {
        const ExclusiveLock lock(m_shared->lock);
        --m_shared->running;
        return;
    }
    job.release();
    m_started.push_back(std::move(lookup));
}

DWORD WINAPI DescriptionLookups::Run(void* parameter) noexcept
{
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    Shared& shared = *job->shared;
    Lookup& lookup = *job->lookup;
    // Tells the window what the lookup has found so far; update only moves
    // what the worker made outside the lock, so it cannot fail.
    const auto announce = [&](const auto& update) noexcept {
        const ExclusiveLock lock(shared.lock);
        update();
        if (shared.window) {
            PostMessageW(shared.window, shared.message, lookup.number, 0);
        }
    };

    // The path is shown as soon as it is read; its program is read after that,
    // unless there is none or its path is longer than Windows takes. A failure
    // ends the lookup with what it found before it.
    std::u16string path;
    std::u16string description;
    try {
        path = shared.readEntry(lookup.section);
        if (!path.empty() && path.size() <= kLongestPath) {
            std::u16string shown = path;
            announce([&]() noexcept {
                lookup.entryRead = true;
                lookup.path.swap(shown);
            });
            description = shared.describe(path);
        }
    } catch (...) {
        description.clear();
    }
    announce([&]() noexcept {
        lookup.entryRead = true;
        lookup.path.swap(path);
        lookup.description.swap(description);
        lookup.ended = true;
        --shared.running;
    });
    return 0;
}

void DescriptionLookups::Arrived(WPARAM number, const std::function<void(HWND button)>& changed)
{
    const auto started = std::find_if(m_started.begin(), m_started.end(),
                                      [&](const std::shared_ptr<Lookup>& lookup) { return lookup->number == number; });
    if (started == m_started.end()) {
        return;
    }
    const std::shared_ptr<Lookup> lookup = *started;
    const TakenIn taken = TakeIn(*lookup);
    if (taken.ended) {
        m_started.erase(started);
        if (lookup->again) {
            Start(lookup->button, lookup->section);
        }
    }
    if (taken.changed) {
        changed(lookup->button);
    }
}

} // namespace kelvory
