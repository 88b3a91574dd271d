#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

class QSocketNotifier;

// Starts a program with an argument list of exact bytes (no shell ever sees
// them), detached from us so that closing Lorvane never ends what it started,
// and still reports how the program ended. A watcher process between us and
// the program waits for it and writes its exit status into a pipe that we read
// on the event loop.
namespace lorvane {

class DetachedLaunch : public QObject
{
    Q_OBJECT

public:
    // The program is looked up in PATH. The returned object deletes itself
    // after it has emitted finished().
    static DetachedLaunch *start(const QByteArray &program, const QList<QByteArray> &arguments,
                                 QObject *parent = nullptr);

    // Opens `path` with the program the desktop associates with its type
    // (xdg-open); `failed` runs when nothing could open it.
    static DetachedLaunch *openWithAssociatedProgram(const QByteArray &path,
                                                     QObject *parent = nullptr);

    ~DetachedLaunch() override;

signals:
    // exitCode is the program's own exit code, 127 when it could not be
    // started, -1 when it was ended by a signal or could not be watched.
    void finished(int exitCode);
    // Emitted with finished() when exitCode is not 0.
    void failed();

private:
    explicit DetachedLaunch(QObject *parent);
    void readStatus();
    void report(int exitCode);

    int m_fd = -1;
    qint64 m_watcher = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace lorvane
