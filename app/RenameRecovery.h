#pragma once

#include "RenameJournal.h"

#include <QString>

class QWidget;

// At start-up, before the main window lists anything: a batch rename that a
// crash, a kill or a power cut left unfinished is found from its journal and
// shown to the person, who can finish it, put every file back, or leave it
// for the next start. The chosen work runs through the same job as every
// renaming, with the progress window; what it could not do is reported, and
// the journal is removed.
class RenameRecovery
{
public:
    enum class Choice { Finish, PutBack, Later };

    // Deals with every journal left in `journalFolder`, asking the person.
    static void offer(QWidget *parent,
                      const QString &journalFolder = lorvane::RenameJournal::defaultFolder());

    // The question put to the person about `plan` with its files at `places`.
    [[nodiscard]] static QString question(const lorvane::RenameJournal::Plan &plan,
                                          const std::vector<lorvane::FilePlace> &places);
};
