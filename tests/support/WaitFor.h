// Waiting in widget tests: lets events and timers run until a condition holds.
// Unlike QtTest's QTRY_ macros it reports to the caller, so it works inside
// GoogleTest bodies: ASSERT_TRUE(testsupport::waitFor([&] { return ...; })).
#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <functional>

namespace testsupport {

// True as soon as `done` is true; false when `timeoutMs` passed without.
inline bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace testsupport
