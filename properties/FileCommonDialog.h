#pragma once

#include "CommonDialog.h"

class QWidget;

namespace lorvane {

// The common dialog on the desktop: a modal, right-to-left QFileDialog.
class FileCommonDialog : public CommonDialog
{
public:
    explicit FileCommonDialog(QWidget *parent);

    Answer ShowOpen() override;
    Answer ShowSave() override;

private:
    Answer show(bool save);
    QWidget *m_parent;
};

} // namespace lorvane
