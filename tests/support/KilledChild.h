#pragma once

// A crash in the middle of some work, for the tests that check what is left
// behind: the work runs in a child process, which is killed (SIGKILL, nothing
// runs after it) as soon as the work says it has started.

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// `work` calls `started()` once it is under way, then goes on until it ends
// (slowly enough that the kill lands before). Returns the child's process id
// when it died of the kill, 0 when it could not be started or ended first.
inline pid_t killOnceStarted(const std::function<void(const std::function<void()> &started)> &work)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return 0;
    const pid_t child = ::fork();
    if (child == 0) {
        work([&] { (void)!::write(ready[1], "s", 1); });
        ::_exit(0);
    }
    char started = 0;
    const bool running = child > 0 && ::read(ready[0], &started, 1) == 1;
    if (child > 0)
        ::kill(child, SIGKILL);
    int status = 0;
    const bool reaped = child > 0 && ::waitpid(child, &status, 0) == child;
    ::close(ready[0]);
    ::close(ready[1]);
    return running && reaped && WIFSIGNALED(status) ? child : 0;
}

} // namespace testsupport
