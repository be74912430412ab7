// The session's end as a signal: the handler may interrupt any code at any time.
#include "platform/qt/windows/window_p.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

TEST(SessionEnd, TheSignalNeitherWaitsForAFullPipeNorChangesErrno)
{
    platform::watchSessionEnd();
    // In a child, so that no event loop reads the pipe and no session actually ends; a handler
    // that waited for room in the pipe is ended by the alarm.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(20);
        for (int i = 0; i < 200'000; ++i) { // far more bytes than a pipe holds
            errno = ENOSPC;
            raise(SIGTERM);
            if (errno != ENOSPC)
                _exit(2);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFSIGNALED(status)) << "the handler blocked on the full pipe";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the handler changed errno";
}
