// Pools delete what they were given, innermost first.
#include <Foundation/NSAutoreleasePool.h>
#include <gtest/gtest.h>

namespace {

struct CountedObject : NSObject {
    explicit CountedObject(int& alive) : alive_(alive) { ++alive_; }
    ~CountedObject() override { --alive_; }
    int& alive_;
};

} // namespace

TEST(AutoreleasePool, deletesWhatItWasGivenWhenDrainedOrReleasedInnermostFirst)
{
    int alive = 0;
    auto* outer = new NSAutoreleasePool();
    NSAutoreleasePool::addObject(new CountedObject(alive));
    {
        NSAutoreleasePool inner;
        NSAutoreleasePool::addObject(new CountedObject(alive));
        NSAutoreleasePool::addObject(new CountedObject(alive));
        EXPECT_EQ(alive, 3);
        inner.drain();
        EXPECT_EQ(alive, 1);
        NSAutoreleasePool::addObject(new CountedObject(alive));
    }
    EXPECT_EQ(alive, 1);
    outer->release();
    EXPECT_EQ(alive, 0);
}
