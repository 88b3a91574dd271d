#pragma once

#include "Descriptor.h"
#include "ServiceResult.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

// A folder opened once, for writing files into it. Every file is reached
// relative to the open folder, so that all of them land in this very folder
// even if its path is renamed or replaced meanwhile, and none is written
// through a symbolic link: in a folder that others may write to, a link
// planted under the name of a file to be written could lead to any file of
// the person running the program.
namespace lorvane {

class FolderHandle
{
public:
    // Opens `folder`. Links on the way to it are followed: the person chose
    // that path.
    explicit FolderHandle(const QString &folder);

    // Success, or why the folder could not be opened.
    [[nodiscard]] const ServiceResult &status() const { return m_status; }
    [[nodiscard]] int fd() const { return m_folder.fd(); }
    [[nodiscard]] const QString &path() const { return m_path; }
    // `name` inside this folder, to name it in messages.
    [[nodiscard]] QString filePath(const QString &name) const;

    struct [[nodiscard]] Opened
    {
        ServiceResult result = ServiceResult::success();
        int fd = -1; // -1 with a successful result: there is no such file
        mode_t mode = 0;
    };
    // Opens the existing file `name` for reading without following a link.
    // Anything but a regular file with a single name is refused, a symbolic
    // link or a hard link planted under that name included. The caller
    // closes the descriptor.
    Opened openExisting(const QString &name) const;

    // Gives `name` the contents `data`, whole or not at all: a new file is
    // written beside it and then takes the name, replacing whatever had it
    // (a link itself, never writing through it). `mode`: the permissions
    // kept from the file replaced; without it the usual ones of a new file.
    // `dosAttrib`, when not empty: the stored attribute word to keep.
    ServiceResult replaceFile(const QString &name, const QByteArray &data,
                              std::optional<mode_t> mode, const QByteArray &dosAttrib = {}) const;

private:
    QString m_path;
    Descriptor m_folder;
    ServiceResult m_status = ServiceResult::success();
};

} // namespace lorvane
