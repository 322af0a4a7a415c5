#include "DescriptionLookups.h"

#include "UniqueHandle.h"

#include <algorithm>
#include <utility>

namespace kelvory {

struct DescriptionLookups::Lookup {
    WPARAM number = 0;
    std::u16string path;
    // Set once description is written; the window reads it only after that.
    UniqueKernelHandle done;
    std::u16string description;
    // The window waited for this lookup once already: a stalled one holds up
    // no second tooltip.
    bool waited = false;
};

// What the window and the running lookups share: it lives as long as the last
// of them.
struct DescriptionLookups::Shared {
    SRWLOCK lock = SRWLOCK_INIT;
    HWND window = nullptr;
    UINT message = 0;
    int running = 0;
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

DescriptionLookups::DescriptionLookups(UINT message, DescribeFunction describe) : m_shared(std::make_shared<Shared>())
{
    m_shared->message = message;
    m_shared->describe = std::move(describe);
}

DescriptionLookups::~DescriptionLookups()
{
    Detach();
}

void DescriptionLookups::Detach() noexcept
{
    const ExclusiveLock lock(m_shared->lock);
    m_shared->window = nullptr;
}

std::u16string DescriptionLookups::Describe(HWND window, HWND tool, const std::u16string& path)
{
    if (m_arrived.lookup && m_arrived.tool == tool && m_arrived.lookup->path == path) {
        return m_arrived.lookup->description;
    }
    m_awaited = {};
    if (path.size() > kLongestPath) {
        return {};
    }
    const std::shared_ptr<Lookup> lookup = Start(window, path);
    if (!lookup) {
        return {};
    }
    const DWORD wait = std::exchange(lookup->waited, true) ? 0 : kWaitMilliseconds;
    if (WaitForSingleObject(lookup->done.get(), wait) == WAIT_OBJECT_0) {
        return lookup->description;
    }
    m_awaited = {tool, lookup};
    return {};
}

std::shared_ptr<DescriptionLookups::Lookup> DescriptionLookups::Start(HWND window, const std::u16string& path)
{
    // A lookup of the same path still running is joined. One that has ended is
    // awaited by no tooltip any more, so its message is of no interest.
    for (auto started = m_started.begin(); started != m_started.end();) {
        if (WaitForSingleObject((*started)->done.get(), 0) == WAIT_OBJECT_0) {
            started = m_started.erase(started);
        } else if ((*started)->path == path) {
            return *started;
        } else {
            ++started;
        }
    }

    auto lookup = std::make_shared<Lookup>();
    lookup->number = ++m_lastNumber;
    lookup->path = path;
    lookup->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!lookup->done) {
        return nullptr;
    }
    {
        const ExclusiveLock lock(m_shared->lock);
        if (m_shared->running == kMostRunning) {
            return nullptr;
        }
        ++m_shared->running;
        m_shared->window = window;
    }
    auto job = std::make_unique<Job>(Job{m_shared, lookup});
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, Run, job.get(), 0, nullptr));
    if (!thread) {
        const ExclusiveLock lock(m_shared->lock);
        --m_shared->running;
        return nullptr;
    }
    job.release();
    m_started.push_back(lookup);
    return lookup;
}

DWORD WINAPI DescriptionLookups::Run(void* parameter) noexcept
{
    const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    Shared& shared = *job->shared;
    Lookup& lookup = *job->lookup;
    try {
        lookup.description = shared.describe(lookup.path);
    } catch (...) {
        lookup.description.clear();
    }
    SetEvent(lookup.done.get());

    const ExclusiveLock lock(shared.lock);
    --shared.running;
    if (shared.window) {
        PostMessageW(shared.window, shared.message, lookup.number, 0);
    }
    return 0;
}

void DescriptionLookups::Arrived(WPARAM number, const std::function<void(HWND tool)>& show)
{
    const auto started = std::find_if(m_started.begin(), m_started.end(),
                                      [&](const std::shared_ptr<Lookup>& lookup) { return lookup->number == number; });
    if (started == m_started.end()) {
        return;
    }
    const std::shared_ptr<Lookup> lookup = std::move(*started);
    m_started.erase(started);
    if (lookup != m_awaited.lookup) {
        return;
    }
    m_arrived = std::exchange(m_awaited, {});
    struct Forget {
        Awaited& arrived;
        ~Forget() { arrived = {}; }
    } forget{m_arrived};
    show(m_arrived.tool);
}

} // namespace kelvory
