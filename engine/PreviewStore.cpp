#include "PreviewStore.h"

#include "FileList.h"
#include "NameClashes.h"
#include "NameText.h"
#include "PreviewList.h"

#include <QStringList>

#include <array>

namespace lorvane {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype firstNonDigit(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return i;
    }
    return -1;
}

// `lastDotOfBase` is only called when the extension has no dot.
template <typename LastDot>
qsizetype numberPositionAt(qsizetype baseSize, LastDot &&lastDotOfBase, qsizetype extSize,
                           qsizetype lastDotOfExt)
{
    const qsizetype whole = baseSize + extSize;
    if (lastDotOfExt >= 0)
        return lastDotOfExt + 1 == extSize ? whole : baseSize + lastDotOfExt;
    const qsizetype inBase = lastDotOfBase();
    if (inBase < 0 || inBase + 1 == whole)
        return whole;
    return inBase;
}

qsizetype numberPositionIn(const QString &base, const QString &ext)
{
    return numberPositionAt(
        base.size(), [&base] { return base.lastIndexOf(u'.'); }, ext.size(), ext.lastIndexOf(u'.'));
}

// The keys of the parts met in one pass over the entries. A part that many entries
// share (the one base name of the change rule, an extension) is read once: within
// the pass nothing changes, so a string seen at the same address with the same
// length is the same text.
class PartKeys
{
public:
    struct Part
    {
        NameKey key;
        qsizetype lastDot;
    };

    const Part &operator()(const QString &text)
    {
        Slot &slot = m_slots[(quintptr(text.constData()) / sizeof(QChar)) % Slots];
        if (slot.data != text.constData() || slot.size != text.size()) {
            slot.data = text.constData();
            slot.size = text.size();
            slot.part = {keyOf(text), text.lastIndexOf(u'.')};
        }
        return slot.part;
    }

private:
    struct Slot
    {
        const QChar *data = nullptr;
        qsizetype size = -1;
        Part part;
    };
    static constexpr size_t Slots = 61;
    std::array<Slot, Slots> m_slots;
};

// Many entries share one string (every base name under the change rule is the text
// of txtFil, and entries with the same extension share one), so a case rule maps each
// distinct shared string once. Pointer equality with a string held here implies
// equal content: a string that another QString shares cannot be changed in place.
class MemoMap
{
public:
    bool holds(const QString &in) const { return find(in) != nullptr; }

    template <typename F> const QString &operator()(const QString &in, F &&map)
    {
        if (const Slot *slot = find(in))
            return slot->out;
        Slot &slot = m_slots[slotOf(in)];
        slot.in = in;
        slot.out = map(in);
        return slot.out;
    }

private:
    struct Slot
    {
        QString in;
        QString out;
    };
    // Each string has one slot, found from its address: a folder's extensions
    // come in no order, and a search through the slots would guess wrong at
    // nearly every entry.
    static constexpr size_t Slots = 31;

    static size_t slotOf(const QString &in)
    {
        return (quintptr(in.constData()) / sizeof(QChar)) % Slots;
    }

    const Slot *find(const QString &in) const
    {
        const Slot &slot = m_slots[slotOf(in)];
        if (!slot.in.isNull() && in.constData() == slot.in.constData() &&
            in.size() == slot.in.size())
            return &slot;
        return nullptr;
    }

    std::array<Slot, Slots> m_slots;
};

// A folder holds few distinct extensions: a refill gives the entries with the same
// one the same string, instead of a string each, and the case rules then map each
// extension once. A folder of many different extensions only costs a few compares.
class ExtensionPool
{
public:
    const QString &operator()(QStringView ext)
    {
        for (const QString &known : m_known) {
            if (known.size() == ext.size() && QStringView(known) == ext)
                return known;
        }
        QString &slot = m_known[m_next];
        m_next = (m_next + 1) % m_known.size();
        slot = ext.toString();
        return slot;
    }

private:
    std::array<QString, 16> m_known;
    size_t m_next = 0;
};

} // namespace

// --- Refill -----------------------------------------------------------------------------

void PreviewStore::refill(const FileList &file1, Refill how)
{
    const int n = qMax(0, file1.count());
    const bool inPlace = how == Refill::InPlace && n == count();
    m_folder.resize(size_t(n));
    m_bases.resize(size_t(n));
    m_exts.resize(size_t(n));
    m_extsByChangeRule.assign(size_t(n), false);
    m_replace.clear();
    m_allBases.reset();
    m_numbers = AppliedNumbers{};
    // A refill in place publishes only what it marks; one after a reset that is
    // not published yet must keep the listed names to hand.
    const bool keepNames = !inPlace || m_refilled;
    m_listedNames.clear();
    if (keepNames)
        m_listedNames.reserve(n);
    ExtensionPool extensions;
    for (int i = 0; i < n; ++i) {
        const QString name = file1.entry(i);
        if (keepNames)
            m_listedNames.append(name);
        FolderName &folder = m_folder[size_t(i)];
        const qsizetype extLength = dottedExtensionLength(name);
        if (extLength == 0) {
            folder.ext.clear();
            folder.base = name;
        } else {
            folder.ext = extensions(QStringView(name).last(extLength));
            folder.base = name.first(name.size() - extLength);
        }
        m_bases[size_t(i)] = folder.base;
        m_exts[size_t(i)] = folder.ext;
    }
    if (inPlace) {
        markAllDirty();
        return;
    }
    m_refilled = true;
    m_dirtyFirst = m_dirtyLast = -1;
}

// --- Parts ------------------------------------------------------------------------------

// The change and delete rules give every entry the same base name; it is then kept
// once instead of in every entry, so that a keystroke under the change rule (and the
// case rule on top of it) costs nothing per entry until the entries are joined.
void PreviewStore::setAllBases(const QString &base)
{
    if (!m_replace.isEmpty()) {
        // Entries the replace pair holds must each be checked for a rewrite.
        for (qsizetype i = 0; i < count(); ++i)
            setBase(i, base);
        return;
    }
    m_allBases = base;
    markAllDirty();
}

void PreviewStore::separateBases()
{
    if (!m_allBases)
        return;
    const QString base = *m_allBases;
    m_allBases.reset();
    for (QString &entryBase : m_bases)
        entryBase = base;
}

void PreviewStore::setBase(qsizetype i, const QString &base)
{
    separateBases();
    QString &current = m_bases[size_t(i)];
    if (m_replace.holds(i)) {
        if (current == base)
            return;
        // Another rule rewrote the entry, so the replace pair's piece lengths no
        // longer describe it.
        m_replace.forget(i);
    }
    current = base;
    markDirty(i);
}

void PreviewStore::setExt(qsizetype i, const QString &ext, bool byChangeRule)
{
    m_extsByChangeRule[size_t(i)] = byChangeRule;
    QString &current = m_exts[size_t(i)];
    if (m_replace.holds(i)) {
        if (current == ext)
            return;
        m_replace.forget(i);
    }
    current = ext;
    markDirty(i);
}

void PreviewStore::rebuildFromPieces(qsizetype i, const QString &insert, ReplacePair::Join join)
{
    separateBases();
    m_replace.rebuild(i, m_bases[size_t(i)], m_exts[size_t(i)], insert, join);
    markDirty(i);
}

// --- Numbers ----------------------------------------------------------------------------

void PreviewStore::setNumbers(const AppliedNumbers &numbers)
{
    const bool same = numbers.place == m_numbers.place && numbers.texts == m_numbers.texts &&
                      numbers.numbered == m_numbers.numbered;
    if (same)
        return;
    const bool hadNumbers = m_numbers.place != NumberPlace::None && m_numbers.numbered > 0;
    const qsizetype before = hadNumbers ? m_numbers.numbered : 0;
    m_numbers = numbers;
    const qsizetype after = numbers.place != NumberPlace::None ? numbers.numbered : 0;
    const qsizetype touched = qMax(before, after);
    if (touched > 0) {
        markDirty(0);
        markDirty(touched - 1);
    }
}

const QString &PreviewStore::numberOf(qsizetype i) const
{
    static const QString none;
    if (m_numbers.place == NumberPlace::None || i >= m_numbers.numbered)
        return none;
    return m_numbers.texts->texts[size_t(i)];
}

qsizetype PreviewStore::numberPosition(qsizetype i) const
{
    return numberPositionIn(base(i), ext(i));
}

// --- Letter case ------------------------------------------------------------------------

void PreviewStore::mapLetters(bool capital)
{
    MemoMap baseMemo;
    MemoMap extMemo;
    const auto map = [capital](const QString &text) {
        return capital ? toCapitalLetters(text) : toSmallLetters(text);
    };
    if (m_allBases && hasLettersToMap(*m_allBases, capital)) {
        m_allBases = map(*m_allBases);
        markAllDirty();
    }
    // Most parts are already in the wanted case after the first run, so each is only
    // scanned; a copy is made only where a letter changes.
    for (qsizetype i = 0; i < count(); ++i) {
        QString &entryBase = m_bases[size_t(i)];
        const QString &entryExt = m_exts[size_t(i)];
        if (!m_allBases && entryBase.isDetached() && !m_replace.holds(i)) {
            // A base name of its own (as the insert rules leave each one) is mapped
            // where it lies: no other string can see the change.
            if (mapLettersInPlace(entryBase, capital))
                markDirty(i);
        } else if (!m_allBases &&
                   (baseMemo.holds(entryBase) || hasLettersToMap(entryBase, capital))) {
            const QString &base = baseMemo(entryBase, map);
            if (base.constData() != entryBase.constData())
                setBase(i, base);
        }
        // Extensions are shared: the memo also keeps those already in the wanted
        // case (mapped to themselves), so each is scanned once, not once per entry.
        if (entryExt.isEmpty())
            continue;
        const QString &ext = extMemo(entryExt, map);
        if (ext.constData() != entryExt.constData())
            setExt(i, ext, m_extsByChangeRule[size_t(i)]);
    }
}

void PreviewStore::capitaliseFirstNonDigit()
{
    separateBases();
    MemoMap baseMemo;
    for (qsizetype i = 0; i < count(); ++i) {
        const QString &entryBase = m_bases[size_t(i)];
        const QString &entryExt = m_exts[size_t(i)];
        const QString &number = numberOf(i);
        // The first character of the whole entry that is not a digit; in a number it
        // is a sign or a point, which has no capital form.
        const bool numberHasOne = firstNonDigit(number) >= 0;
        if (m_numbers.place == NumberPlace::AtStart && numberHasOne)
            continue;
        const qsizetype inBase = firstNonDigit(entryBase);
        const qsizetype inExt = inBase >= 0 ? -1 : firstNonDigit(entryExt);
        if (inBase < 0 && inExt < 0)
            continue;
        const qsizetype at = inBase >= 0 ? inBase : entryBase.size() + inExt;
        if (m_numbers.place == NumberPlace::BeforeExtension && numberHasOne &&
            numberPositionIn(entryBase, entryExt) <= at)
            continue;
        if (inBase >= 0) {
            const QString &base = baseMemo(entryBase, [inBase](const QString &text) {
                QString capitalised = text;
                capitaliseAt(capitalised, inBase);
                return capitalised;
            });
            if (base != entryBase)
                setBase(i, base);
            continue;
        }
        QString ext = entryExt;
        if (capitaliseAt(ext, inExt))
            setExt(i, ext, m_extsByChangeRule[size_t(i)]);
    }
}

// --- Publishing -------------------------------------------------------------------------

void PreviewStore::markDirty(qsizetype i)
{
    if (m_dirtyFirst < 0 || i < m_dirtyFirst)
        m_dirtyFirst = i;
    if (i > m_dirtyLast)
        m_dirtyLast = i;
}

void PreviewStore::markAllDirty()
{
    if (count() == 0)
        return;
    m_dirtyFirst = 0;
    m_dirtyLast = count() - 1;
}

QString PreviewStore::compose(qsizetype i) const
{
    QString text;
    const QString *whole = composeInto(i, text);
    return whole ? *whole : text;
}

// Joins the parts of entry i into out (reusing its buffer). Returns the part that
// is the whole entry when there is only one, so that the caller can share it.
const QString *PreviewStore::composeInto(qsizetype i, QString &out) const
{
    const QString &ext = m_exts[size_t(i)];
    const QString &base = this->base(i);
    const QString &number = numberOf(i);
    if (number.isEmpty()) {
        if (ext.isEmpty())
            return &base;
        if (base.isEmpty())
            return &ext;
    }
    out.resize(0);
    out.reserve(number.size() + base.size() + ext.size());
    if (m_numbers.place != NumberPlace::BeforeExtension) {
        out.append(number);
        out.append(base);
        out.append(ext);
        return nullptr;
    }
    const qsizetype at = numberPositionIn(base, ext);
    if (at <= base.size()) {
        out.append(QStringView(base).first(at));
        out.append(number);
        out.append(QStringView(base).sliced(at));
        out.append(ext);
        return nullptr;
    }
    const qsizetype inExt = at - base.size();
    out.append(base);
    out.append(QStringView(ext).first(inExt));
    out.append(number);
    out.append(QStringView(ext).sliced(inExt));
    return nullptr;
}

// Publishing runs after every keystroke. A short range of entries is compared and
// written at once, each changed entry into the list's own string where that has
// room; a long one is left to List1 to compose as its entries are read, because
// there composing every entry costs far more than the views' repaint of a row that
// did not change.
void PreviewStore::publish(PreviewList &list1)
{
    constexpr qsizetype ComposedAtOnce = 4096;
    const bool lazy = m_dirtyFirst >= 0 && m_dirtyLast - m_dirtyFirst + 1 > ComposedAtOnce;
    const auto composer = [this](qsizetype i, QString &out) { return composeInto(i, out); };
    if (m_refilled) {
        // Every entry outside the range written since the refill is its folder
        // name as listed.
        QStringList entries = std::move(m_listedNames);
        m_listedNames = QStringList();
        list1.clearStale();
        if (lazy) {
            list1.setStale(m_dirtyFirst, m_dirtyLast, composer);
        } else {
            for (qsizetype i = qMax<qsizetype>(m_dirtyFirst, 0); i <= m_dirtyLast; ++i)
                entries[i] = compose(i);
        }
        list1.m_entries = std::move(entries);
        m_refilled = false;
        m_dirtyFirst = m_dirtyLast = -1;
        emit list1.entriesReset();
        return;
    }
    if (m_dirtyFirst < 0)
        return;
    if (lazy) {
        const int first = int(m_dirtyFirst);
        const int last = int(m_dirtyLast);
        list1.setStale(first, last, composer);
        m_dirtyFirst = m_dirtyLast = -1;
        emit list1.entriesChanged(first, last);
        return;
    }
    int first = -1;
    int last = -1;
    QStringList &entries = list1.m_entries;
    QString &scratch = m_scratch;
    for (qsizetype i = m_dirtyFirst; i <= m_dirtyLast; ++i) {
        const QString *whole = composeInto(i, scratch);
        const QString &text = whole ? *whole : scratch;
        const QString &old = entries.at(i);
        if (text.size() == old.size() && text == old)
            continue;
        QString &target = entries[i];
        if (target.isDetached() && target.capacity() >= text.size()) {
            // Copied rather than shared even where one part is the whole entry, so
            // that the part's own buffer stays free to be written again in place.
            target.resize(text.size());
            std::copy_n(text.constData(), text.size(), target.data());
        } else if (whole) {
            target = *whole;
        } else {
            // Some room for the next keystrokes, which mostly add a character.
            QString fresh;
            fresh.reserve(scratch.size() + 8);
            fresh.append(scratch);
            target = std::move(fresh);
        }
        if (first < 0)
            first = int(i);
        last = int(i);
    }
    m_dirtyFirst = m_dirtyLast = -1;
    if (first >= 0)
        emit list1.entriesChanged(first, last);
}

// --- Clash keys -------------------------------------------------------------------------

void PreviewStore::serveKeys(PreviewList &list1)
{
    list1.m_partKeys = [this, &list1](qsizetype first, qsizetype count, NameKey *out) {
        if (m_refilled || m_dirtyFirst >= 0 || this->count() != list1.count())
            return false;
        keys(first, count, out);
        return true;
    };
}

void PreviewStore::keys(qsizetype first, qsizetype count, NameKey *out) const
{
    const qsizetype end = first + count;
    const qsizetype numbered =
        m_numbers.place == NumberPlace::None ? 0 : qMin(m_numbers.numbered, end);
    if (numbered > 0) {
        if (m_hashedTexts != m_numbers.texts) {
            m_hashedTexts = m_numbers.texts;
            m_numberHashes.clear();
            m_numberLengths.clear();
        }
        const std::vector<QString> &texts = m_numbers.texts->texts;
        m_numberHashes.reserve(size_t(m_numbers.numbered));
        m_numberLengths.reserve(size_t(m_numbers.numbered));
        for (size_t k = m_numberHashes.size(); k < size_t(numbered); ++k) {
            m_numberHashes.push_back(keyOf(texts[k]).hash);
            m_numberLengths.push_back(qint32(texts[k].size()));
        }
    }
    PartKeys parts;
    for (qsizetype i = first; i < end; ++i) {
        const QString &base = this->base(i);
        const QString &ext = m_exts[size_t(i)];
        const PartKeys::Part baseKey = parts(base);
        const PartKeys::Part extKey = parts(ext);
        NameKey &key = out[i - first];
        if (i >= numbered) {
            key = joined(baseKey.key, extKey.key);
            continue;
        }
        // A number text is digits with perhaps a sign and a point: never "/" or NUL.
        const NameKey number{m_numberHashes[size_t(i)], m_numberLengths[size_t(i)], 0};
        if (m_numbers.place == NumberPlace::AtStart) {
            key = joined(number, joined(baseKey.key, extKey.key));
            continue;
        }
        const qsizetype at = numberPositionAt(
            base.size(), [&] { return baseKey.lastDot; }, ext.size(), extKey.lastDot);
        if (at == base.size() + ext.size()) {
            key = joined(joined(baseKey.key, extKey.key), number);
        } else if (at == base.size()) {
            key = joined(joined(baseKey.key, number), extKey.key);
        } else if (at < base.size()) {
            const QStringView whole(base);
            key = joined(joined(keyOf(whole.first(at)), number),
                         joined(keyOf(whole.sliced(at)), extKey.key));
        } else {
            const QStringView whole(ext);
            const qsizetype inExt = at - base.size();
            key = joined(joined(baseKey.key, keyOf(whole.first(inExt))),
                         joined(number, keyOf(whole.sliced(inExt))));
        }
    }
}

} // namespace lorvane
