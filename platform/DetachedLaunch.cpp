#include "DetachedLaunch.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lorvane {

DetachedLaunch::DetachedLaunch(QObject *parent) : QObject(parent) {}

DetachedLaunch::~DetachedLaunch()
{
    // The watcher then finds the pipe closed and simply ends; the program it
    // started goes on.
    if (m_fd >= 0)
        ::close(m_fd);
}

DetachedLaunch *DetachedLaunch::start(const QByteArray &program, const QList<QByteArray> &arguments,
                                      QObject *parent)
{
    auto *launch = new DetachedLaunch(parent);

    // Everything the children use is prepared before fork(): after it, only
    // async-signal-safe calls are allowed.
    std::vector<QByteArray> storage;
    storage.reserve(arguments.size() + 1);
    storage.push_back(program);
    for (const QByteArray &arg : arguments)
        storage.push_back(arg);
    std::vector<char *> argv;
    for (QByteArray &s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        QTimer::singleShot(0, launch, [launch] { launch->report(-1); });
        return launch;
    }
    const pid_t watcher = ::fork();
    if (watcher < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        QTimer::singleShot(0, launch, [launch] { launch->report(-1); });
        return launch;
    }
    if (watcher == 0) {
        ::close(fds[0]);
        ::setsid();
        ::signal(SIGPIPE, SIG_IGN);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        int code = -1;
        if (child > 0) {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        const unsigned char byte = static_cast<unsigned char>(code < 0 ? 255 : code);
        [[maybe_unused]] const ssize_t written = ::write(fds[1], &byte, 1);
        ::_exit(0);
    }
    ::close(fds[1]);
    launch->m_fd = fds[0];
    launch->m_watcher = watcher;
    launch->m_notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, launch);
    connect(launch->m_notifier, &QSocketNotifier::activated, launch, &DetachedLaunch::readStatus);
    return launch;
}

DetachedLaunch *DetachedLaunch::openWithAssociatedProgram(const QByteArray &path, QObject *parent)
{
    return start(QByteArrayLiteral("xdg-open"), {path}, parent);
}

void DetachedLaunch::readStatus()
{
    unsigned char byte = 0;
    ssize_t got = 0;
    do {
        got = ::read(m_fd, &byte, 1);
    } while (got < 0 && errno == EINTR);
    m_notifier->setEnabled(false);
    ::close(m_fd);
    m_fd = -1;
    ::waitpid(pid_t(m_watcher), nullptr, 0);
    if (got != 1) {
        report(-1);
        return;
    }
    report(byte == 255 ? -1 : int(byte));
}

void DetachedLaunch::report(int exitCode)
{
    emit finished(exitCode);
    if (exitCode != 0)
        emit failed();
    deleteLater();
}

} // namespace lorvane
