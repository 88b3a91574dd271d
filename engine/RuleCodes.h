#pragma once

#include <QtGlobal>

// The rule codes of the engine state. Their values are the numbers the rules have
// always been known by, so that a code can still be read as that number.
namespace lorvane {

// FileRuleCode: the file-name part rule as last written. The handlers write it in
// passing, so it does not always name the selected option: after the change rule's
// handlers have run it rests at Delete, after insert after at NoChange.
enum class FileRule : qint16 {
    NoChange = 0,     // Filno_Click, which the insert options also run
    Delete = 1,       // FilDel_Click, which the change rule also runs
    TextRule = 2,     // the change and insert clicks, change-text handling
    InsertBefore = 3, // insert-before text handling
    InsertAfter = 4,  // insert-after text handling, before its worker runs
};

// ExtRuleCode: the active extension rule.
enum class ExtRule : qint16 {
    NoChange = 0,
    Delete = 1,
    Change = 2,
};

// NumRuleCode: whether numbering is in force.
enum class NumRule : qint16 {
    Off = 0,
    InForce = 1,
};

// CaseRuleCode: the active letter-case rule.
enum class CaseRule : qint16 {
    NoChange = 0,
    Capital = 1,
    Small = 2,
    FirstCapital = 3,
};

} // namespace lorvane
