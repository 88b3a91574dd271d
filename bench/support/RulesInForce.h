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

// The rules a keystroke into txtFil is measured under: every entry is rebuilt
// by the change rule ("new name"), numbered before the extension from 1 in
// steps of 1, and capitalised.
inline void putKeystrokeRules(lorvane::RenameEngine &engine)
{
    engine.txtStart().setText(QStringLiteral("1"));
    engine.txtStep().setText(QStringLiteral("1"));
    engine.NumA().select();
    engine.NB().select();
    engine.reFil().select();
    engine.txtFil().setText(QStringLiteral("new name"));
}

} // namespace benchsupport
