#include <Foundation/NSAutoreleasePool.h>

#include <algorithm>

namespace {

std::vector<NSAutoreleasePool*>& poolsOfThisThread()
{
    thread_local std::vector<NSAutoreleasePool*> pools;
    return pools;
}

} // namespace

NSAutoreleasePool::NSAutoreleasePool() { poolsOfThisThread().push_back(this); }

NSAutoreleasePool::~NSAutoreleasePool()
{
    drain();
    auto& pools = poolsOfThisThread();
    pools.erase(std::remove(pools.begin(), pools.end(), this), pools.end());
}

void NSAutoreleasePool::addObject(NSObject* object)
{
    auto& pools = poolsOfThisThread();
    if (object != nil && !pools.empty())
        pools.back()->objects_.push_back(object);
}

void NSAutoreleasePool::drain()
{
    // Deleting an object may hand further objects to this pool.
    while (!objects_.empty()) {
        std::vector<NSObject*> objects;
        objects.swap(objects_);
        for (NSObject* object : objects)
            delete object;
    }
}

void NSAutoreleasePool::release() { delete this; }
