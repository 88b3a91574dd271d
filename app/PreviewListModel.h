#pragma once

#include <QAbstractListModel>

class PreviewClashes;
namespace lorvane {
class PreviewList;
}

// The view's model of the preview List1. The engine publishes the preview once
// per handler run; this turns that into one reset or one dataChanged, so a
// keystroke over 100,000 names costs one signal, not 100,000.
class PreviewListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit PreviewListModel(lorvane::PreviewList &preview, QObject *parent = nullptr);

    // Where the rows' clash marks come from: NameItemDelegate::ClashRole gives a
    // row's NameClash bits, the tooltip its reasons.
    void setClashes(PreviewClashes *clashes);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    lorvane::PreviewList &m_preview;
    PreviewClashes *m_clashes = nullptr;
};
