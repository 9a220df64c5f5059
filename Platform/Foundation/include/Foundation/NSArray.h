// An ordered list of strings, the result of splitting a string.
#pragma once

#include "NSString.h"

#include <vector>

class NSArray : public NSObject {
public:
    NSArray() = default;
    explicit NSArray(std::vector<NSString> items) : items_(std::move(items)) {}

    NSUInteger count() const { return items_.size(); }
    // Past the end the answer is an empty string rather than an exception.
    NSString objectAtIndex(NSUInteger index) const { return index < items_.size() ? items_[index] : NSString(); }

    std::vector<NSString>::const_iterator begin() const { return items_.begin(); }
    std::vector<NSString>::const_iterator end() const { return items_.end(); }

private:
    std::vector<NSString> items_;
};
