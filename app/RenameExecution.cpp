#include "RenameExecution.h"

#include "BatchRename.h"
#include "FileNameCodec.h"
#include "RenameHost.h"
#include "RenameJob.h"
#include "ShownName.h"

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
const QString notDone = QStringLiteral("لم يتغير اسم أي ملف، فقد تعذر حفظ سجل العملية: %1");
const QString entry = QStringLiteral("%1 إلى %2: %3");
const QString andMore = QStringLiteral("وملفات أخرى عددها %1، والقائمة كلها في التفاصيل");
const QString leftUnder = QStringLiteral("، والملف الآن باسم مؤقت: %1");
const QString invalidName = QStringLiteral("الاسم الجديد غير صالح");
const QString duplicateTarget = QStringLiteral("الاسم الجديد مطلوب لملف آخر أيضا");
const QString duplicateSource = QStringLiteral("الملف مذكور أكثر من مرة");
const QString targetExists = QStringLiteral("يوجد ملف أو مجلد آخر بالاسم الجديد");
const QString blocked = QStringLiteral("الاسم الجديد ما زال لملف آخر لم يتغير اسمه");
const QString sourceMissing = QStringLiteral("الملف لم يعد موجودا");
const QString changed = QStringLiteral("الاسم القديم صار لملف أو مجلد آخر غير الذي ظهر في القائمة");
const QString notFound = QStringLiteral("لم يوجد الملف باسمه القديم ولا الجديد ولا باسم مؤقت");
const QString permissionDenied = QStringLiteral("لا توجد صلاحية لتغيير الاسم");
const QString readOnly = QStringLiteral("وسيط التخزين للقراءة فقط");
const QString notSupported = QStringLiteral("نظام الملفات لا يسمح بإعادة تسمية آمنة");
const QString folderUnavailable = QStringLiteral("تعذر فتح المجلد");
} // namespace text

// Files named in the message itself; the details hold them all.
constexpr int ReportedFiles = 10;

// A name as the person sees it: whole, with visible marks for what would
// hide part of it or break the line, in its own direction.
QString shown(const QByteArray &name)
{
    return lorvane::isolatedName(lorvane::decodeFileName(name));
}

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
    case RenameError::Changed:
        return text::changed;
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
    return lorvane::systemErrorText(outcome.systemError);
}

} // namespace

RenameExecution::Report RenameExecution::failureReport(const lorvane::RenameJob &job)
{
    if (!job.journalError().isEmpty())
        return {text::notDone.arg(lorvane::isolatedName(job.journalError())), {}};
    QStringList lines;
    const lorvane::BatchRename &batch = job.batch();
    for (std::size_t e = 0; e < batch.size(); ++e) {
        const lorvane::RenameOutcome &outcome = batch.outcomes()[e];
        if (outcome.status != RenameStatus::Failed)
            continue;
        const RenamePair &pair = batch.pairs()[e];
        QString line = text::entry.arg(shown(pair.from), shown(pair.to), reasonText(outcome));
        if (!outcome.leftUnder.isEmpty())
            line += text::leftUnder.arg(shown(outcome.leftUnder));
        lines << line;
    }
    for (const lorvane::RenameJob::Unsettled &unsettled : job.unsettled()) {
        const bool lost = unsettled.error == RenameError::SourceMissing;
        lines << text::entry.arg(
            shown(unsettled.pair.from), shown(unsettled.pair.to),
            lost ? text::notFound
                 : reasonText({RenameStatus::Failed, unsettled.error, unsettled.systemError, {}}));
    }
    if (lines.isEmpty())
        return {};
    const QString heading =
        job.work() == lorvane::RenameJob::Work::Rename ? text::notRenamed : text::notRestored;
    QStringList message = lines.mid(0, ReportedFiles);
    message.prepend(heading);
    if (lines.size() <= ReportedFiles)
        return {message.join(QLatin1Char('\n')), {}};
    message << text::andMore.arg(lines.size() - ReportedFiles);
    return {message.join(QLatin1Char('\n')), lines.join(QLatin1Char('\n'))};
}

void RenameExecution::CmdDoNow_Click()
{
    const std::vector<QByteArray> files = m_host.fileBytes();
    const std::vector<lorvane::FileIdentity> identities = m_host.fileIdentities();
    const auto n = qsizetype(files.size());
    const std::vector<bool> excluded = m_host.excludedRows();
    qint64 filesToProcess = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!excluded[size_t(i)])
            ++filesToProcess;
    }
    m_host.resolveDuplicates();
    if (n == 0)
        return;

    if (m_host.askYesNo(text::askRename, RenameHost::Icon::Information)) {
        m_host.setUndoEnabled(true);
        const QByteArray folder = m_host.folderBytes();
        m_undoNames.reset(folder);

        const QStringList previews = m_host.previewNames();
        std::vector<RenamePair> pairs;
        pairs.reserve(size_t(filesToProcess));
        for (qsizetype i = 0; i < n; ++i) {
            if (excluded[size_t(i)])
                continue;
            QByteArray wanted = lorvane::encodeFileName(previews.value(i));
            if (wanted != files[size_t(i)])
                pairs.push_back({files[size_t(i)], std::move(wanted),
                                 size_t(i) < identities.size() ? identities[size_t(i)]
                                                               : lorvane::FileIdentity()});
        }
        lorvane::RenameJob job(lorvane::RenameJob::Work::Rename, folder, std::move(pairs));
        job.start();
        if (filesToProcess > 0)
            m_host.showProgress(filesToProcess, job);
        // Whatever happened to the window, every rename is carried out.
        job.runToEnd();
        m_host.letEventsRun();
        m_undoNames.record(job.batch());

        m_host.reload();
        report(job);
        return;
    }
    m_host.reload();
}

void RenameExecution::cmdUnRename_Click()
{
    if (!m_host.askYesNo(text::askRestore, RenameHost::Icon::Question))
        return;
    m_host.setUndoEnabled(false);
    // The same job as the renaming, so that chains and rings come back in a
    // safe order, an undo cut short is found again, and a file that has
    // taken a renamed file's place is left alone.
    lorvane::RenameJob job(lorvane::RenameJob::Work::Restore, m_undoNames.folder(),
                           m_undoNames.restorePairs());
    job.runToEnd();
    m_host.reload();
    report(job);
}

void RenameExecution::report(const lorvane::RenameJob &job)
{
    const Report failures = failureReport(job);
    if (!failures.text.isEmpty())
        m_host.report(failures.text, failures.details);
}
