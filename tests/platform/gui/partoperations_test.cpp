// A part's operations reached through the window: offered, absent, replaced, and gone
// with the object that offered them.
#include "platform/gui/partoperations.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace rr
{
namespace
{

class CountingOperations
{
public:
    virtual ~CountingOperations() = default;
    virtual int count() { return 0; }
    virtual QString name() { return {}; }
};

class Counter : public QObject, public CountingOperations
{
public:
    explicit Counter(int value) : m_value(value) {}
    int count() override { return m_value; }
    QString name() override { return QStringLiteral("counter %1").arg(m_value); }

private:
    int m_value;
};

TEST(PartOperations, aCallReachesThePartLastOfferedAndTheClassesOwnWhenNoneLives)
{
    QObject window;
    EXPECT_FALSE(operationsOffered<CountingOperations>(window));
    EXPECT_EQ(operationsOf<CountingOperations>(window).count(), 0);
    EXPECT_EQ(operationsOf<CountingOperations>(window).name(), QString());

    auto first = std::make_unique<Counter>(1);
    offerOperations<CountingOperations>(window, *first, *first);
    EXPECT_TRUE(operationsOffered<CountingOperations>(window));
    EXPECT_EQ(operationsOf<CountingOperations>(window).name(), QStringLiteral("counter 1"));

    // A stand-in offered later takes the place of the part.
    Counter standIn(7);
    offerOperations<CountingOperations>(window, standIn, standIn);
    EXPECT_EQ(operationsOf<CountingOperations>(window).count(), 7);

    // Another window keeps its own offers.
    QObject other;
    EXPECT_EQ(operationsOf<CountingOperations>(other).count(), 0);

    // Once the offering object is gone the calls do nothing again.
    auto last = std::make_unique<Counter>(3);
    offerOperations<CountingOperations>(window, *last, *last);
    last.reset();
    EXPECT_FALSE(operationsOffered<CountingOperations>(window));
    EXPECT_EQ(operationsOf<CountingOperations>(window).count(), 0);
}

} // namespace
} // namespace rr
