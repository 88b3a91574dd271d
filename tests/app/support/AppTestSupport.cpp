#include "AppTestSupport.h"

#include "UndoStore.h"
#include "UserSettings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace apptest {

namespace {
const QString section = QStringLiteral("Lorvane");
const QString key = QStringLiteral("Quary");
} // namespace

PrivateSettings::PrivateSettings(const QString &quary)
    : m_old(qgetenv("XDG_CONFIG_HOME")), m_hadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    if (!quary.isEmpty())
        setQuary(quary);
}

PrivateSettings::~PrivateSettings()
{
    if (m_hadOld)
        qputenv("XDG_CONFIG_HOME", m_old);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString PrivateSettings::quary() const
{
    return lorvane::UserSettings().value(section, key, QString());
}

void PrivateSettings::setQuary(const QString &value)
{
    lorvane::UserSettings().setValue(section, key, value);
}

Renames recordedRenames(const UndoStore &undo)
{
    Renames renames;
    for (const lorvane::RenamePair &back : undo.restorePairs())
        renames.emplace_back(back.from, back.to);
    return renames;
}

void makeFiles(const QString &folder, const QList<QByteArray> &names)
{
    for (const QByteArray &name : names) {
        const QByteArray path = QFile::encodeName(folder) + '/' + name;
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

QStringList rows(const QAbstractItemView *view)
{
    QStringList out;
    const QAbstractItemModel *model = view->model();
    for (int r = 0; r < model->rowCount(); ++r)
        out << model->index(r, 0).data().toString();
    return out;
}

std::shared_ptr<bool> whenModal(const char *className, std::function<void(QWidget *)> act,
                                int timeoutMs)
{
    auto *timer = new QTimer;
    // The watch ends with the last copy of the flag, so that a watch left over
    // from one test never answers a box of the next.
    QPointer<QTimer> guard(timer);
    std::shared_ptr<bool> ran(new bool(false), [guard](bool *flag) {
        delete flag;
        if (guard)
            guard->deleteLater();
    });
    std::weak_ptr<bool> weak = ran;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            timer->stop();
            if (auto flag = weak.lock())
                *flag = true;
            act(modal);
            return;
        }
        if (deadline->hasExpired())
            timer->stop();
    });
    timer->start(10);
    return ran;
}

std::shared_ptr<bool> answerMessageBox(int standardButton, QString *text, QString *title)
{
    return whenModal("QMessageBox", [=](QWidget *w) {
        auto *box = static_cast<QMessageBox *>(w);
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (QAbstractButton *b = box->button(QMessageBox::StandardButton(standardButton)))
            b->click();
        else
            box->reject();
    });
}

void clickIndicator(QWidget *button, Qt::MouseButton mouseButton)
{
    const int x = button->isRightToLeft() ? button->width() - 7 : 7;
    QTest::mouseClick(button, mouseButton, {}, QPoint(x, button->height() / 2));
}

FakeOpener::FakeOpener(int exitCode) : m_oldPath(qgetenv("PATH"))
{
    const QString script = m_bin.filePath(QStringLiteral("xdg-open"));
    QFile f(script);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" +
                QFile::encodeName(m_bin.filePath(QStringLiteral("calls"))) + "'\nexit " +
                QByteArray::number(exitCode) + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_oldPath);
}

FakeOpener::~FakeOpener()
{
    qputenv("PATH", m_oldPath);
}

QStringList FakeOpener::calls() const
{
    QFile f(m_bin.filePath(QStringLiteral("calls")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            out << QString::fromUtf8(line);
    }
    return out;
}

} // namespace apptest
