#pragma once

#include <QByteArray>

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace lorvane {

// An open file descriptor, closed when the object goes.
class Descriptor
{
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }

    [[nodiscard]] int fd() const { return m_fd; }
    // Hands the descriptor over; this object no longer closes it.
    [[nodiscard]] int release() { return std::exchange(m_fd, -1); }

    // Writes all of `data`; false with errno set when a write fails.
    [[nodiscard]] bool writeAll(const QByteArray &data) const
    {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(m_fd, data.constData() + done, size_t(data.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            done += n;
        }
        return true;
    }

private:
    int m_fd = -1;
};

} // namespace lorvane
