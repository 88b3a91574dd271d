#pragma once

#include "BatchRename.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace lorvane {

// The record on disk of a batch rename under way, so that a batch cut short
// by a crash, a kill or a power cut is found again at the next start and can
// be finished or put back.
//
// The plan (folder, every old and new name with the identity of its file, the
// beginning of every temporary name the batch may use) is written to a file
// of its own in the journal folder and synced before the first rename;
// progress is appended as the batch runs; the file goes when the batch ends.
// A journal is created under a temporary name and renamed into place, so a
// journal that exists is complete. The program holding a journal keeps it
// locked, so another instance leaves it alone.
class RenameJournal
{
public:
    // What the interrupted batch was doing, for telling the person.
    enum class Work : std::uint8_t { Rename, Restore };
    // Which of each pair's names the batch gives the files.
    enum class Direction : std::uint8_t { Forward, Back };

    struct Plan
    {
        Work work = Work::Rename;
        Direction direction = Direction::Forward;
        QByteArray folder;
        // Every pair as first planned, whichever way the batch goes now.
        std::vector<RenamePair> pairs;
        // Temporary names of every batch that worked on these files so far.
        std::vector<QByteArray> temporaryPrefixes;
        // The last temporary name recorded for a pair, by pair index.
        std::map<std::uint32_t, QByteArray> parked;
    };

    // "$XDG_STATE_HOME/lorvane", by default "~/.local/state/lorvane".
    [[nodiscard]] static QString defaultFolder();

    RenameJournal() = default;
    ~RenameJournal();
    RenameJournal(const RenameJournal &) = delete;
    RenameJournal &operator=(const RenameJournal &) = delete;

    // Writes `plan` and syncs it; with `replacing` (a journal this object
    // holds from open()) the new plan takes that journal's place in one step.
    // Returns an empty text or why the journal could not be written.
    [[nodiscard]] QString begin(const QString &journalFolder, const Plan &plan);
    // Appends how far the batch got and where it parked files; `entryOf`
    // maps the batch's entries to the plan's pairs (empty: the same). Syncs
    // at most every half second, and always with `sync`.
    void record(std::size_t settled, const std::vector<BatchRename::Parking> &parkings,
                const std::vector<std::uint32_t> &entryOf, bool sync);
    // The batch ended: the journal goes.
    void remove();

    // Journals of batches that did not end and that no running program holds.
    [[nodiscard]] static QStringList leftBehind(const QString &journalFolder);
    // Takes over the journal at `path`: locks it and reads its plan. Returns
    // an empty text or why it cannot be read.
    [[nodiscard]] QString open(const QString &path, Plan &plan);

    [[nodiscard]] const QString &path() const { return m_path; }

private:
    void close();

    QString m_path;
    int m_fd = -1;
    std::int64_t m_lastSync = 0;
};

// Where each file of an interrupted batch is now, found by its identity, never
// by its name alone.
struct FilePlace
{
    enum class Where : std::uint8_t {
        Old,       // under its old name
        New,       // under its new name
        Both,      // under both (a link-then-unlink cut in the middle)
        Temporary, // under a temporary name of the batch
        Missing,   // under none of them: it is gone or another file has the names
    };
    Where where = Where::Missing;
    QByteArray temporary{};
    // A temporary name that is a second link of the file found elsewhere (a
    // link-then-unlink into or out of a temporary name cut in the middle).
    QByteArray surplus{};
};

// Looks for every file of `plan` in its folder. `error` is set when the folder
// itself cannot be read.
[[nodiscard]] std::vector<FilePlace> locateFiles(const RenameJournal::Plan &plan, int &error);

} // namespace lorvane
