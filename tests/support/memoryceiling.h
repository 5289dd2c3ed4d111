#pragma once
// A ceiling on the memory a test process may take. A fault in code that handles a huge
// input (a text of millions of letters laid out whole, a collection of 32,767 Vardecks
// copied once per row) can make a test grow by gigabytes before it fails, taking the
// machine's memory from every other process; under the ceiling the allocation fails
// instead (std::bad_alloc: a failed test) within seconds. No test needs more than a few
// hundred megabytes; RR_TEST_MEMORY_CEILING_MB sets another ceiling, 0 none.
//
// The ceiling is on the process's data (RLIMIT_DATA: its heap and private writable
// mappings), not on its address space, which the browser engine reserves by the
// terabyte without using it. The programs a test starts inherit it. Builds with the
// address sanitizer, whose shadow memory counts as data, run without it.
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <new>
#include <sys/resource.h>

namespace rr::test
{

constexpr qint64 kTestMemoryCeilingMb = 3072;

inline void setMemoryCeiling()
{
#if defined(__SANITIZE_ADDRESS__)
    return;
#else
    bool given = false;
    const qint64 megabytes = qEnvironmentVariableIntValue("RR_TEST_MEMORY_CEILING_MB", &given);
    const qint64 ceiling = given ? megabytes : kTestMemoryCeilingMb;
    rlimit limit{};
    if (ceiling <= 0 || ::getrlimit(RLIMIT_DATA, &limit) != 0)
        return;
    limit.rlim_cur = std::min<rlim_t>(rlim_t(ceiling) << 20, limit.rlim_max);
    ::setrlimit(RLIMIT_DATA, &limit);
    std::set_new_handler([] {
        std::fputs("The test reached its process's memory ceiling (tests/support/memoryceiling.h).\n", stderr);
        throw std::bad_alloc();
    });
#endif
}

} // namespace rr::test
