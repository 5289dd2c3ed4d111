#pragma once
// Makes writes past limitBytes per file fail while it lives, also for root: the file
// size limit is lowered and its signal ignored, so write() fails instead.
#include <csignal>
#include <sys/resource.h>

namespace rr::test
{

class FailingDisk
{
public:
    explicit FailingDisk(rlim_t limitBytes = 16)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = limitBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FailingDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FailingDisk(const FailingDisk &) = delete;
    FailingDisk &operator=(const FailingDisk &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace rr::test
