// The test program: the offscreen platform unless the caller chose one, the application object,
// then every test.
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    platform::testing::startApplication(argc, argv);
    return RUN_ALL_TESTS();
}
