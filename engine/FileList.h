#pragma once

#include <QString>

namespace lorvane {

// File1, the folder list, as the rules see it: the names (no path) of the files of
// the current folder that match the pattern, in list order. The window implements
// it over its own folder listing; tests use a fake.
//
// The engine reads the names only while it refills the preview (load, full rebuild,
// folder listing, filter change) and keeps a copy of their split into base name and
// extension; so whenever the listing changes, the window calls
// RenameEngine::folderListed() (or the engine's reload operation) before anything else.
class FileList
{
public:
    virtual ~FileList() = default;

    [[nodiscard]] virtual int count() const = 0;
    [[nodiscard]] virtual QString entry(int index) const = 0;

    // The filter pattern, "*.*" or "*." followed by an extension. setPattern() lists
    // the folder again with the new pattern before it returns. The engine calls it
    // only with a pattern that differs from pattern().
    [[nodiscard]] virtual QString pattern() const = 0;
    virtual void setPattern(const QString &pattern) = 0;

    // The folder listed.
    [[nodiscard]] virtual QString path() const = 0;
};

} // namespace lorvane
