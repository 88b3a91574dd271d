#include "RenameRecovery.h"

#include "Form3.h"
#include "RenameExecution.h"
#include "RenameJob.h"

#include "FileNameCodec.h"
#include "MessageBox.h"
#include "ShownName.h"

#include <QFile>
#include <QLineEdit>

using lorvane::FilePlace;
using lorvane::RenameJournal;

namespace {

namespace text {
const QString interruptedRename = QStringLiteral(
    "توقفت إعادة تسمية الملفات في المجلد %1 قبل أن تكتمل، فلم يصل بعضها إلى اسمه الجديد.");
const QString interruptedRestore = QStringLiteral(
    "توقفت استعادة أسماء الملفات في المجلد %1 قبل أن تكتمل، فلم يعد بعضها إلى اسمه السابق.");
const QString state = QStringLiteral("من %1 ملف: %2 بالاسم المطلوب، و%3 بالاسم الذي كان له قبل "
                                     "العملية، و%4 باسم مؤقت.");
const QString missing = QStringLiteral(
    "و%1 لم يوجد بأي من أسمائه أو حل محله ملف آخر، فلن يمس، وستجد أسماءه في التقرير.");
const QString choose =
    QStringLiteral("هل تريد إكمال العملية، أم إرجاع كل ملف إلى الاسم الذي كان له قبلها؟");
const QString finish = QStringLiteral("إكمال العملية");
const QString putBack = QStringLiteral("إرجاع الأسماء");
const QString later = QStringLiteral("لاحقا");
const QString unreadable = QStringLiteral(
    "وجد سجل عملية إعادة تسمية لم تكتمل، ولكن تعذرت قراءته، فنقل إلى %1 ولم يمس أي ملف.");
const QString folderUnavailable = QStringLiteral(
    "توقفت عملية إعادة تسمية في المجلد %1 قبل أن تكتمل، ولكن تعذر فتح المجلد الآن، وسيعرض الأمر "
    "عليك عند التشغيل التالي.");
const QString done = QStringLiteral("انتهت العملية في المجلد %1، وكل ملف باسمه الذي اخترته.");
} // namespace text

QString shownPath(const QByteArray &path)
{
    return lorvane::isolatedName(lorvane::decodeFileName(path));
}

} // namespace

QString RenameRecovery::question(const RenameJournal::Plan &plan,
                                 const std::vector<FilePlace> &places)
{
    // Counted against the names the batch was giving the files.
    const bool forward = plan.direction == RenameJournal::Direction::Forward;
    qsizetype atTarget = 0;
    qsizetype atOrigin = 0;
    qsizetype parked = 0;
    qsizetype lost = 0;
    for (const FilePlace &place : places) {
        switch (place.where) {
        case FilePlace::Where::New:
        case FilePlace::Where::Both:
            ++(forward ? atTarget : atOrigin);
            break;
        case FilePlace::Where::Old:
            ++(forward ? atOrigin : atTarget);
            break;
        case FilePlace::Where::Temporary:
            ++parked;
            break;
        case FilePlace::Where::Missing:
            ++lost;
            break;
        }
    }
    QStringList lines;
    lines << (plan.work == RenameJournal::Work::Rename ? text::interruptedRename
                                                       : text::interruptedRestore)
                 .arg(shownPath(plan.folder));
    lines << text::state.arg(qsizetype(places.size())).arg(atTarget).arg(atOrigin).arg(parked);
    if (lost > 0)
        lines << text::missing.arg(lost);
    lines << QString() << text::choose;
    return lines.join(QLatin1Char('\n'));
}

void RenameRecovery::offer(QWidget *parent, const QString &journalFolder)
{
    for (const QString &path : RenameJournal::leftBehind(journalFolder)) {
        auto journal = std::make_unique<RenameJournal>();
        RenameJournal::Plan plan;
        if (!journal->open(path, plan).isEmpty()) {
            // Asked about at every start it would help nobody; kept aside, it
            // can still be read by a person.
            const QString aside = path + QStringLiteral(".unreadable");
            journal.reset();
            (void)QFile::rename(path, aside);
            lorvane::Message(text::unreadable.arg(lorvane::isolatedName(aside)),
                             QMessageBox::Warning)
                .exec(parent);
            continue;
        }
        int folderError = 0;
        const std::vector<FilePlace> places = lorvane::locateFiles(plan, folderError);
        if (folderError != 0) {
            lorvane::Message(text::folderUnavailable.arg(shownPath(plan.folder)),
                             QMessageBox::Warning)
                .exec(parent);
            continue;
        }
        const QMessageBox::StandardButton answer =
            lorvane::Message(question(plan, places), QMessageBox::Question)
                .buttons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                .buttonText(QMessageBox::Yes, text::finish)
                .buttonText(QMessageBox::No, text::putBack)
                .buttonText(QMessageBox::Cancel, text::later)
                .defaultButton(QMessageBox::Yes)
                .exec(parent);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No)
            continue;
        const bool sameWay = answer == QMessageBox::Yes;
        const bool forward = plan.direction == RenameJournal::Direction::Forward;
        const auto direction =
            sameWay == forward ? RenameJournal::Direction::Forward : RenameJournal::Direction::Back;
        const QByteArray folder = plan.folder;
        lorvane::RenameJob job(std::move(journal), std::move(plan), places, direction);
        job.start();
        if (job.batch().size() > 0) {
            Form3 progress(parent);
            progress.setJob(&job);
            progress.Text1->setText(QString::number(job.batch().size()));
            progress.exec();
        }
        job.runToEnd();
        const RenameExecution::Report failures = RenameExecution::failureReport(job);
        if (failures.text.isEmpty()) {
            lorvane::Message(text::done.arg(shownPath(folder)), QMessageBox::Information)
                .exec(parent);
            continue;
        }
        lorvane::Message(failures.text, QMessageBox::Warning)
            .details(failures.details)
            .exec(parent);
    }
}
