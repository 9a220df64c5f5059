// Gives the test process, and every child it starts, a pasteboard store of its own.
#pragma once

#include <TemporaryFolder.h>

#include <gtest/gtest.h>

#include <cstdlib>

class PrivateRuntimeFolder : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = new TemporaryFolder("orvella-runtime");
        setenv("XDG_RUNTIME_DIR", folder_->path().c_str(), 1);
    }
    void TearDown() override { delete folder_; }

private:
    TemporaryFolder* folder_ = nullptr;
};
