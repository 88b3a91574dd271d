#include "RenameExecution.h"

#include "BatchRename.h"
#include "FileNameCodec.h"
#include "RenameHost.h"
#include "RenameJob.h"

#include <QHash>

#include <cstring>

using lorvane::BatchRename;
using lorvane::RenameError;
using lorvane::RenamePair;
using lorvane::RenameStatus;

namespace {

namespace text {
const QString askRename = QStringLiteral("هل تريد بالتأكيد تغيير أسماء هذه الملفات");
const QString askRestore =
    QStringLiteral("هل تريد بالتأكيد استرجاع أسماء الملفات التى أعدت تسميتها في آخر مرة");
// The report after a renaming or an undo that could not do everything.
const QString notRenamed = QStringLiteral("تعذرت إعادة تسمية هذه الملفات:");
const QString notRestored = QStringLiteral("تعذرت استعادة أسماء هذه الملفات:");
const QString entry = QStringLiteral("%1 إلى %2: %3");
const QString andMore = QStringLiteral("وملفات أخرى عددها %1");
const QString leftUnder = QStringLiteral("، والملف الآن باسم مؤقت: %1");
const QString invalidName = QStringLiteral("الاسم الجديد غير صالح");
const QString duplicateTarget = QStringLiteral("الاسم الجديد مطلوب لملف آخر أيضا");
const QString duplicateSource = QStringLiteral("الملف مذكور أكثر من مرة");
const QString targetExists = QStringLiteral("يوجد ملف أو مجلد آخر بالاسم الجديد");
const QString blocked = QStringLiteral("الاسم الجديد ما زال لملف آخر لم يتغير اسمه");
const QString sourceMissing = QStringLiteral("الملف لم يعد موجودا");
const QString permissionDenied = QStringLiteral("لا توجد صلاحية لتغيير الاسم");
const QString readOnly = QStringLiteral("وسيط التخزين للقراءة فقط");
const QString notSupported = QStringLiteral("نظام الملفات لا يسمح بإعادة تسمية آمنة");
const QString folderUnavailable = QStringLiteral("تعذر فتح المجلد");
const QString systemError = QStringLiteral("خطأ من النظام: %1");
} // namespace text

// A report longer than this would not fit on the screen.
constexpr int ReportedFiles = 30;

QString reasonText(const lorvane::RenameOutcome &outcome)
{
    switch (outcome.error) {
    case RenameError::InvalidName:
        return text::invalidName;
    case RenameError::DuplicateTarget:
        return text::duplicateTarget;
    case RenameError::DuplicateSource:
        return text::duplicateSource;
    case RenameError::TargetExists:
        return text::targetExists;
    case RenameError::Blocked:
        return text::blocked;
    case RenameError::SourceMissing:
        return text::sourceMissing;
    case RenameError::PermissionDenied:
        return text::permissionDenied;
    case RenameError::ReadOnlyFileSystem:
        return text::readOnly;
    case RenameError::NotSupported:
        return text::notSupported;
    case RenameError::FolderUnavailable:
        return text::folderUnavailable;
    case RenameError::None:
    case RenameError::Other:
        break;
    }
    return text::systemError.arg(QString::fromLocal8Bit(std::strerror(outcome.systemError)));
}

QHash<QString, int> histogram(const QStringList &names)
{
    QHash<QString, int> counts;
    counts.reserve(names.size());
    for (const QString &name : names)
        ++counts[name];
    return counts;
}

} // namespace

QString RenameExecution::failureMessage(const BatchRename &batch, Work work)
{
    QStringList lines;
    qsizetype failures = 0;
    for (std::size_t e = 0; e < batch.size(); ++e) {
        const lorvane::RenameOutcome &outcome = batch.outcomes()[e];
        if (outcome.status != RenameStatus::Failed)
            continue;
        if (++failures > ReportedFiles)
            continue;
        const RenamePair &pair = batch.pairs()[e];
        QString line = text::entry.arg(lorvane::decodeFileName(pair.from),
                                       lorvane::decodeFileName(pair.to), reasonText(outcome));
        if (!outcome.leftUnder.isEmpty())
            line += text::leftUnder.arg(lorvane::decodeFileName(outcome.leftUnder));
        lines << line;
    }
    if (failures == 0)
        return {};
    if (failures > ReportedFiles)
        lines << text::andMore.arg(failures - ReportedFiles);
    lines.prepend(work == Work::Rename ? text::notRenamed : text::notRestored);
    return lines.join(QLatin1Char('\n'));
}

// Equal preview names force running numbers on. This gives what comparing
// every pair of names would give: at each entry whose name occurs more than
// once the numbering runs again, and once a run changes nothing further runs
// cannot either.
void RenameExecution::duplicateCheck()
{
    QStringList previews = m_host.previewNames();
    QHash<QString, int> counts = histogram(previews);
    bool numbered = false;
    for (qsizetype i = 0; i < previews.size(); ++i) {
        if (counts.value(previews[i]) < 2)
            continue;
        m_host.forceNumbering();
        QStringList renumbered = m_host.previewNames();
        if (numbered && renumbered == previews)
            return;
        numbered = true;
        previews = std::move(renumbered);
        counts = histogram(previews);
    }
}

void RenameExecution::CmdDoNow_Click()
{
    const std::vector<QByteArray> files = m_host.fileBytes();
    const auto n = qsizetype(files.size());
    const std::vector<bool> excluded = m_host.excludedRows();
    qint64 filesToProcess = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!excluded[size_t(i)])
            ++filesToProcess;
    }
    duplicateCheck();
    if (n == 0)
        return;

    if (m_host.askYesNo(text::askRename, RenameHost::Icon::Information)) {
        m_host.setUndoEnabled(true);
        const QByteArray folder = m_host.folderBytes();
        m_undoNames.reset(folder);

        const QStringList previews = m_host.previewNames();
        std::vector<RenamePair> pairs;
        for (qsizetype i = 0; i < n; ++i) {
            if (excluded[size_t(i)])
                continue;
            QByteArray wanted = lorvane::encodeFileName(previews.value(i));
            if (wanted != files[size_t(i)])
                pairs.push_back({files[size_t(i)], std::move(wanted)});
        }
        lorvane::RenameJob job(folder, std::move(pairs));
        if (filesToProcess > 0)
            m_host.showProgress(filesToProcess, job);
        // Whatever happened to the window, every rename is carried out.
        job.runToEnd();
        m_host.letEventsRun();
        for (const RenamePair &done : job.batch().renamed())
            m_undoNames.record(done);

        m_host.reload();
        const QString failures = failureMessage(job.batch(), Work::Rename);
        if (!failures.isEmpty())
            m_host.report(failures);
        return;
    }
    m_host.reload();
}

void RenameExecution::cmdUnRename_Click()
{
    if (!m_host.askYesNo(text::askRestore, RenameHost::Icon::Question))
        return;
    m_host.setUndoEnabled(false);
    // Through the same service as the renaming, so that chains and rings
    // come back in a safe order too.
    BatchRename batch(m_undoNames.folder(), m_undoNames.restorePairs());
    batch.runAll();
    m_host.reload();
    const QString failures = failureMessage(batch, Work::Restore);
    if (!failures.isEmpty())
        m_host.report(failures);
}
