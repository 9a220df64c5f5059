// Drawing a document in a child process of its own, made with fork() and no exec: the child
// starts with the drawing code already loaded, so it costs little more than drawing in place,
// yet a document that crashes the reader, hangs it or swamps the memory takes only the child down.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

struct ChildLimits {
    std::chrono::milliseconds time;  // wall clock, from the fork to the last byte; then the child is killed
    size_t memory;                   // address space the child may add to what it starts with (0: no bound)
    char** environment = nullptr;    // the child's environment (nullptr: this process's)
};

// What `work` returns, computed in a child process; nullopt when it returned nullopt, or the child
// died, overran its time (it is killed then) or could not be started. The calling process is
// untouched: no signal handlers, limits or environment change here. A child without an answer is
// killed and reaped before this returns; one that answered is left to end by itself and reaped
// by a thread of its own, as waiting while the child's copy of a large host is torn down cost
// more than the drawing.
std::optional<std::string> RunInChild(const std::function<std::optional<std::string>()>& work, const ChildLimits& limits);
