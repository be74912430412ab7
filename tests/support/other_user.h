// Running a part of a test as another user, who is not root: tests run as root in CI, and root
// passes every permission check. Only root can become another user.
#pragma once

#include <functional>
#include <vector>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr uid_t otherUser = 65534;

inline bool mayBecomeOtherUser()
{
    return geteuid() == 0;
}

// Runs body in a forked child as otherUser, with its group and the groups given, and returns
// what body returned; 100 when the child could not become that user, 101 when it did not end.
inline int asOtherUser(const std::vector<gid_t>& groups, const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(groups.size(), groups.data()) != 0 ||
            setresgid(otherUser, otherUser, otherUser) != 0 ||
            setresuid(otherUser, otherUser, otherUser) != 0)
            _exit(100);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return 101;
    return WEXITSTATUS(status);
}
