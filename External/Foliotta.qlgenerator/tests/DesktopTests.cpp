#include <gtest/gtest.h>
TEST(DesktopPlaceholder, Nothing) {}
