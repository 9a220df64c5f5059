// Autorelease pools: objects handed to the innermost pool are deleted when it is drained or
// released. Pools nest per thread.
#pragma once

#include "NSObjCRuntime.h"

#include <vector>

class NSAutoreleasePool : public NSObject {
public:
    NSAutoreleasePool();
    ~NSAutoreleasePool() override;
    NSAutoreleasePool(const NSAutoreleasePool&) = delete;
    NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;

    // Gives the object to the innermost pool of this thread; without a pool it is kept (leaked),
    // as the platform does after logging.
    static void addObject(NSObject* object);

    // Deletes the objects given to this pool so far.
    void drain();
    // Drains the pool and deletes it; the pool must have been made with new.
    void release();

private:
    std::vector<NSObject*> objects_;
};
