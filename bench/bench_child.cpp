// Running one measuring run in a process of its own and collecting its figures, wall time and
// peak memory.
#include "bench/bench.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

ChildResult runChild(const std::string& self, const std::vector<std::string>& arguments,
                     int timeoutSeconds)
{
    ChildResult result;
    int output[2];
    if (pipe(output) != 0)
        return result;
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        close(output[1]);
        // The child stops itself: the default action of SIGALRM ends the process.
        alarm(unsigned(timeoutSeconds));
        std::vector<char*> argv{const_cast<char*>(self.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(output[1]);
    std::string printed;
    char buffer[4096];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;)
        printed.append(buffer, std::size_t(got));
    close(output[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count();
    result.peakKb = double(usage.ru_maxrss);
    result.timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    std::istringstream lines(printed);
    std::string name;
    double value;
    while (lines >> name >> value)
        result.figures[name] = value;
    return result;
}

} // namespace bench
