#pragma once

#include "RenameEngine.h"

#include <QString>

namespace benchsupport {

// The rules the listing benchmarks keep in force, so that every listed name
// goes through the engine: "_x" after the base name, capitals, and running
// numbers before the extension from 1 in steps of 1.
inline void putRulesInForce(lorvane::RenameEngine &engine)
{
    engine.FilBe().select();
    engine.txtFil().setText(QStringLiteral("_x"));
    engine.NB().select();
    engine.txtStart().setText(QStringLiteral("1"));
    engine.txtStep().setText(QStringLiteral("1"));
    engine.NumA().select();
}

} // namespace benchsupport
