#pragma once
// Every test runs with a fresh session (storage/session.h): nothing one test leaves in
// the recent list, the open database's name or any other session value reaches the
// next. Both test mains install this listener; the program's own Session stays
// underneath for whatever runs between tests.
#include "storage/session.h"

#include <gtest/gtest.h>
#include <memory>

namespace rr::test
{

class FreshSessionPerTest : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { m_session = std::make_unique<Session>(); }
    void OnTestEnd(const ::testing::TestInfo &) override { m_session.reset(); }

    std::unique_ptr<Session> m_session;
};

} // namespace rr::test
