#pragma once

#include <QString>

#include <utility>

namespace lorvane {

// The outcome of one call into a platform service that touches the disk. A
// failure carries a sentence for the user (the system's reason and the path),
// so that the window can report it as it is.
class [[nodiscard]] ServiceResult
{
public:
    static ServiceResult success() { return ServiceResult(QString()); }
    static ServiceResult failure(QString reason) { return ServiceResult(std::move(reason)); }
    // Builds the failure for a system call that set errno to `error`.
    static ServiceResult fromErrno(int error, const QString &path);

    bool ok() const { return m_reason.isEmpty(); }
    const QString &reason() const { return m_reason; }

private:
    explicit ServiceResult(QString reason) : m_reason(std::move(reason)) {}
    QString m_reason;
};

} // namespace lorvane
