// The test program: the offscreen platform unless the caller chose one, the application object,
// then the one test case asked for.
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The editor's globals start once per process, as in the program, so a case never shares its
// process: a second case would start from what the first left behind and fail or wait forever.
// Asked for more than one, the program says so at once instead of hanging.
class OneCasePerProcess : public ::testing::EmptyTestEventListener {
    void OnTestIterationStart(const ::testing::UnitTest& tests, int) override
    {
        if (tests.test_to_run_count() <= 1)
            return;
        std::fprintf(stderr,
                     "quenwrite_tests runs one test case per process (%d were asked for).\n"
                     "Run them all with ctest in the build folder, or one at a time with\n"
                     "  quenwrite_tests --gtest_filter=Suite.Case\n",
                     tests.test_to_run_count());
        std::exit(2);
    }
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new OneCasePerProcess);
    platform::testing::startApplication(argc, argv);
    return RUN_ALL_TESTS();
}
