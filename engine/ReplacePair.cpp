#include "ReplacePair.h"

#include "NameText.h"

namespace lorvane {

void ReplacePair::forget(qsizetype i)
{
    State &state = m_states[size_t(i)];
    state.pieceLengths.clear();
    state.stripped.clear();
    state.baseLength = 0;
}

bool ReplacePair::split(qsizetype i, const QString &base, const QString &ext, const QString &find,
                        qsizetype avoidInside)
{
    SplitPieces pieces = SplitCount(ext.isEmpty() ? base : base + ext, find, avoidInside);
    if (pieces.count < 0)
        return false;
    State &state = m_states[size_t(i)];
    state.stripped = std::move(pieces.stripped);
    state.pieceLengths = std::move(pieces.pieceLengths);
    state.baseLength = int(base.size());
    return true;
}

void ReplacePair::rebuild(qsizetype i, QString &base, QString &ext, const QString &insert,
                          Join join) const
{
    const State &state = m_states[size_t(i)];
    const std::vector<int> &pieces = state.pieceLengths;
    const QStringView stripped(state.stripped);
    const qsizetype findLength = m_find.size();
    const qsizetype boundary = state.baseLength;
    // The entry's own base-name buffer is written again where nothing else shares it.
    const qsizetype estimate = stripped.size() + qsizetype(pieces.size() - 1) * insert.size();
    if (base.isDetached() && base.capacity() >= estimate) {
        base.resize(0);
    } else {
        QString fresh;
        fresh.reserve(estimate + 8);
        base = std::move(fresh);
    }
    QString newExt;
    bool inExt = false;
    bool extTouched = false;
    qsizetype at = 0;      // position in the stripped text
    qsizetype unsplit = 0; // position in the entry as it was before the split
    for (size_t k = 0; k < pieces.size(); ++k) {
        const bool lastPiece = k + 1 == pieces.size();
        const qsizetype length = pieces[k];
        const QStringView piece = stripped.sliced(at, length);
        if (inExt) {
            newExt.append(piece);
        } else if (unsplit + length <= boundary) {
            base.append(piece);
        } else {
            const qsizetype cut = boundary - unsplit;
            base.append(piece.first(cut));
            inExt = true;
            if (lastPiece)
                break; // the rest of the last piece is the extension as it stands
            extTouched = true;
            newExt.append(piece.sliced(cut));
        }
        if (lastPiece)
            break;
        at += length;
        unsplit += length;
        if (!inExt && unsplit + findLength <= boundary) {
            base.append(insert);
        } else if (!inExt && unsplit < boundary && join == Join::Restore) {
            // The find text goes back exactly where it was, across the boundary.
            base.append(QStringView(insert).first(boundary - unsplit));
            inExt = true;
            extTouched = true;
            newExt.append(QStringView(insert).sliced(boundary - unsplit));
        } else {
            inExt = true;
            extTouched = true;
            newExt.append(insert);
        }
        unsplit += findLength;
    }
    // Otherwise the extension is the unchanged end of the last piece, or it was empty
    // when the find text was taken out (a changed extension ends the replace state).
    if (extTouched)
        ext = std::move(newExt);
}

int ReplacePair::occurrences(qsizetype i) const
{
    if (i < 0 || i >= qsizetype(m_states.size()) || !holds(i))
        return 0;
    return int(m_states[size_t(i)].pieceLengths.size()) - 1;
}

std::vector<int> ReplacePair::pieceLengths(qsizetype i) const
{
    if (i < 0 || i >= qsizetype(m_states.size()) || !holds(i))
        return {};
    return m_states[size_t(i)].pieceLengths;
}

} // namespace lorvane
