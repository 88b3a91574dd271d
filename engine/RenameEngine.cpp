#include "RenameEngine.h"

#include "FileList.h"
#include "NameText.h"

#include <array>
#include <cmath>

namespace lorvane {

namespace {

const QString kTxtFil = QStringLiteral("txtFil");
const QString kTxtEX = QStringLiteral("txtEX");
const QString kExRen = QStringLiteral("ExRen");
const QString kNumA = QStringLiteral("NumA");
const QString kNumB = QStringLiteral("NumB");
const QString kNone = QStringLiteral("None");

bool isBlank(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

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

// Many entries share one string (every base name under the change rule is the text
// of txtFil, and entries with the same extension share one), so a case rule maps each
// distinct shared string once. Pointer equality with a string held here implies
// equal content: a string that another QString shares cannot be changed in place.
// A few strings are held at once, as a folder's extensions take turns down the list.
class MemoMap
{
public:
    bool holds(const QString &in) const { return find(in) != nullptr; }

    template <typename F> const QString &operator()(const QString &in, F &&map)
    {
        if (const Slot *slot = find(in))
            return slot->out;
        Slot &slot = m_slots[m_next];
        m_next = (m_next + 1) % Slots;
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
    static constexpr size_t Slots = 8;

    const Slot *find(const QString &in) const
    {
        for (const Slot &slot : m_slots) {
            if (!slot.in.isNull() && in.constData() == slot.in.constData() &&
                in.size() == slot.in.size())
                return &slot;
        }
        return nullptr;
    }

    std::array<Slot, Slots> m_slots;
    size_t m_next = 0;
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

// One handler run: the outermost run publishes List1 and carries out the focus moves
// requested during it.
class RenameEngine::Run
{
public:
    explicit Run(RenameEngine &engine) : m_engine(engine) { ++m_engine.m_runDepth; }
    ~Run()
    {
        if (--m_engine.m_runDepth == 0)
            m_engine.endRun();
    }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

private:
    RenameEngine &m_engine;
};

RenameEngine::RenameEngine(FileList &file1, QObject *parent) : QObject(parent), m_file1(file1)
{
    m_Frame2.setInitial(m_Filno);
    m_Frame3.setInitial(m_ExNo);
    m_Frame4.setInitial(m_Numno);
    m_Frame5.setInitial(m_Nno);
    m_txtEX.setEnabled(false);
    m_txtStart.setText(QStringLiteral("0"));
    m_txtStep.setText(QStringLiteral("0"));
    m_txtZ.setText(QStringLiteral("0"));
    m_ForbiddenChars = {QStringLiteral("<"),  QStringLiteral(">"), QStringLiteral("?"),
                        QStringLiteral("\""), QStringLiteral("|"), QStringLiteral("\\"),
                        QStringLiteral("/"),  QStringLiteral("*"), QStringLiteral(":")};

    m_txtFil.setChangeHandler([this] { txtFil_Change(); });
    m_txtFil.setClickHandler([this] { txtFil_Click(); });
    m_txtFil.setKeyPressHandler([this](const QString &typed) { return txtFil_KeyPress(typed); });
    m_txtFil.setInputFilter([this](const QString &text) { return withoutForbidden(text); });
    m_txtDel.setChangeHandler([this] { txtDel_Change(); });
    m_txtDel.setKeyPressHandler([this](const QString &typed) { return txtDel_KeyPress(typed); });
    m_txtW.setChangeHandler([this] { txtW_Change(); });
    m_txtW.setKeyPressHandler([this](const QString &typed) { return txtW_KeyPress(typed); });
    m_txtEX.setChangeHandler([this] { txtEX_Change(); });
    m_txtEX.setClickHandler([this] { txtEX_Click(); });
    m_txtEX.setKeyPressHandler([this](const QString &typed) { return txtEX_KeyPress(typed); });
    m_txtEX.setInputFilter([this](const QString &text) { return withoutForbidden(text); });
    m_txtP.setChangeHandler([this] { txtP_Change(); });
    m_txtStart.setChangeHandler([this] { txtStart_Change(); });
    m_txtStart.setClickHandler([this] { txtStart_Click(); });
    m_txtStep.setChangeHandler([this] { txtStep_Change(); });
    m_txtStep.setClickHandler([this] { txtStep_Click(); });
    m_txtZ.setChangeHandler([this] { txtZ_Change(); });
    m_txtZ.setClickHandler([this] { txtZ_Click(); });

    m_Filno.setClickHandler([this] { Filno_Click(); });
    m_FilDel.setClickHandler([this] { FilDel_Click(); });
    m_reFil.setClickHandler([this] { reFil_Click(); });
    m_FilAf.setClickHandler([this] { FilAf_Click(); });
    m_FilBe.setClickHandler([this] { FilBe_Click(); });
    m_ExNo.setClickHandler([this] { ExNo_Click(); });
    m_ExDel.setClickHandler([this] { ExDel_Click(); });
    m_ExRen.setClickHandler([this] { ExRen_Click(); });
    m_NumA.setClickHandler([this] { NumA_Click(); });
    m_NumB.setClickHandler([this] { NumB_Click(); });
    m_Numno.setClickHandler([this] { Numno_Click(); });
    m_Nno.setClickHandler([this] { Nno_Click(); });
    m_NB.setClickHandler([this] { NB_Click(); });
    m_NF.setClickHandler([this] { NF_Click(); });
    m_NS.setClickHandler([this] { NS_Click(); });
}

RenameEngine::~RenameEngine() = default;

// --- Controls ---------------------------------------------------------------------------

TextBox *RenameEngine::textBox(QStringView name)
{
    for (TextBox *box :
         {&m_txtFil, &m_txtDel, &m_txtW, &m_txtEX, &m_txtP, &m_txtStart, &m_txtStep, &m_txtZ}) {
        if (box->objectName() == name)
            return box;
    }
    return nullptr;
}

OptionButton *RenameEngine::option(QStringView name)
{
    for (OptionGroup *group : {&m_Frame2, &m_Frame3, &m_Frame4, &m_Frame5}) {
        for (OptionButton *button : group->buttons()) {
            if (button->objectName() == name)
                return button;
        }
    }
    return nullptr;
}

OptionGroup *RenameEngine::optionGroup(QStringView name)
{
    for (OptionGroup *group : {&m_Frame2, &m_Frame3, &m_Frame4, &m_Frame5}) {
        if (group->objectName() == name)
            return group;
    }
    return nullptr;
}

// --- Runs, focus and publishing ----------------------------------------------------------

void RenameEngine::endRun()
{
    std::optional<QString> moved;
    while (m_pendingFocus) {
        const QString target = *m_pendingFocus;
        m_pendingFocus.reset();
        if (target == m_focus)
            continue;
        ++m_runDepth;
        moveFocus(target);
        --m_runDepth;
        moved = target;
    }
    publish();
    if (moved)
        emit focusRequested(*moved);
}

void RenameEngine::setFocusControl(const QString &name)
{
    Run run(*this);
    if (name == m_focus)
        return;
    moveFocus(name);
}

void RenameEngine::moveFocus(const QString &name)
{
    const QString old = m_focus;
    m_focus = name;
    runLostFocus(old);
    runGotFocus(name);
}

void RenameEngine::runLostFocus(const QString &name)
{
    if (name == kExRen)
        ExRen_LostFocus();
    else if (name == kTxtEX)
        txtEX_LostFocus();
}

void RenameEngine::runGotFocus(const QString &name)
{
    if (name == kExRen)
        ExRen_GotFocus();
    else if (name == kTxtEX)
        txtEX_GotFocus();
    else if (name == kTxtFil)
        txtFil_GotFocus();
}

QString RenameEngine::compose(qsizetype i) const
{
    QString text;
    const QString *whole = composeInto(i, text);
    return whole ? *whole : text;
}

// Publishing runs after every keystroke over every entry, so it writes a changed
// entry into the list's own string where that has room, instead of allocating a new
// string per entry and freeing the old one.
void RenameEngine::publish()
{
    if (m_refilled) {
        QStringList entries;
        entries.reserve(count());
        for (qsizetype i = 0; i < count(); ++i)
            entries.append(compose(i));
        m_list1.m_entries = std::move(entries);
        m_refilled = false;
        m_dirtyFirst = m_dirtyLast = -1;
        emit m_list1.entriesReset();
        return;
    }
    if (m_dirtyFirst < 0)
        return;
    int first = -1;
    int last = -1;
    QStringList &entries = m_list1.m_entries;
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
        emit m_list1.entriesChanged(first, last);
}

// --- Entry parts ------------------------------------------------------------------------

void RenameEngine::markDirty(qsizetype i)
{
    if (m_dirtyFirst < 0 || i < m_dirtyFirst)
        m_dirtyFirst = i;
    if (i > m_dirtyLast)
        m_dirtyLast = i;
}

void RenameEngine::forgetReplace(qsizetype i)
{
    ReplaceState &state = m_replace[size_t(i)];
    state.pieceLengths.clear();
    state.stripped.clear();
    state.baseLength = 0;
}

// The change and delete rules give every entry the same base name; it is then kept
// once instead of in every entry, so that a keystroke under the change rule (and the
// case rule on top of it) costs nothing per entry until the entries are joined.
void RenameEngine::setAllBases(const QString &base)
{
    if (!m_replace.empty()) {
        // Entries the replace pair holds must each be checked for a rewrite.
        for (int i = 0; i < count(); ++i)
            setBase(i, base);
        return;
    }
    m_allBases = base;
    markAllDirty();
}

void RenameEngine::separateBases()
{
    if (!m_allBases)
        return;
    const QString base = *m_allBases;
    m_allBases.reset();
    for (Entry &entry : m_entries)
        entry.base = base;
}

void RenameEngine::setBase(int i, const QString &base)
{
    separateBases();
    Entry &entry = m_entries[size_t(i)];
    if (hasPieces(i)) {
        if (entry.base == base)
            return;
        // Another rule rewrote the entry, so the replace pair's piece lengths no
        // longer describe it.
        forgetReplace(i);
    }
    entry.base = base;
    markDirty(i);
}

void RenameEngine::setExt(int i, const QString &ext, bool byChangeRule)
{
    Entry &entry = m_entries[size_t(i)];
    entry.extByChangeRule = byChangeRule;
    if (hasPieces(i)) {
        if (entry.ext == ext)
            return;
        forgetReplace(i);
    }
    entry.ext = ext;
    markDirty(i);
}

// Writes the base name and extension of entry i from its replace pieces with the
// given text between them. The boundary between base name and extension stays where
// it was in the entry before the find text was taken out; an occurrence that spanned
// it goes, with its replacement, to the extension, unless the find text itself is
// put back.
void RenameEngine::rebuildFromPieces(int i, const QString &insert, Join join)
{
    Entry &entry = m_entries[size_t(i)];
    const ReplaceState &state = m_replace[size_t(i)];
    const std::vector<int> &pieces = state.pieceLengths;
    const QStringView stripped(state.stripped);
    const qsizetype findLength = m_replaceFind.size();
    const qsizetype boundary = state.baseLength;
    // The entry's own base-name buffer is written again where nothing else shares it.
    QString &base = entry.base;
    const qsizetype estimate = stripped.size() + qsizetype(pieces.size() - 1) * insert.size();
    if (base.isDetached() && base.capacity() >= estimate) {
        base.resize(0);
    } else {
        QString fresh;
        fresh.reserve(estimate + 8);
        base = std::move(fresh);
    }
    QString ext;
    bool inExt = false;
    bool extTouched = false;
    qsizetype at = 0;      // position in the stripped text
    qsizetype unsplit = 0; // position in the entry as it was before the split
    for (size_t k = 0; k < pieces.size(); ++k) {
        const bool lastPiece = k + 1 == pieces.size();
        const qsizetype length = pieces[k];
        const QStringView piece = stripped.sliced(at, length);
        if (inExt) {
            ext.append(piece);
        } else if (unsplit + length <= boundary) {
            base.append(piece);
        } else {
            const qsizetype cut = boundary - unsplit;
            base.append(piece.first(cut));
            inExt = true;
            if (lastPiece)
                break; // the rest of the last piece is the extension as it stands
            extTouched = true;
            ext.append(piece.sliced(cut));
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
            ext.append(QStringView(insert).sliced(boundary - unsplit));
        } else {
            inExt = true;
            extTouched = true;
            ext.append(insert);
        }
        unsplit += findLength;
    }
    // Otherwise the extension is the unchanged end of the last piece, or it was empty
    // when the find text was taken out (a changed extension ends the replace state).
    if (extTouched)
        entry.ext = std::move(ext);
    markDirty(i);
}

// --- Lifecycle --------------------------------------------------------------------------

void RenameEngine::refillFromFolder(Refill how)
{
    const int n = qMax(0, m_file1.count());
    const bool inPlace = how == Refill::InPlace && n == count();
    m_folder.resize(size_t(n));
    m_entries.resize(size_t(n));
    m_replace.clear();
    m_allBases.reset();
    m_numbers = AppliedNumbers{};
    ExtensionPool extensions;
    for (int i = 0; i < n; ++i) {
        const QString name = m_file1.entry(i);
        FolderName &folder = m_folder[size_t(i)];
        const qsizetype extLength = dottedExtensionLength(name);
        if (extLength == 0) {
            folder.ext.clear();
            folder.base = name;
        } else {
            folder.ext = extensions(QStringView(name).last(extLength));
            folder.base = name.first(name.size() - extLength);
        }
        Entry &entry = m_entries[size_t(i)];
        entry.base = folder.base;
        entry.ext = folder.ext;
        entry.extByChangeRule = false;
    }
    if (inPlace) {
        markAllDirty();
        return;
    }
    m_refilled = true;
    m_dirtyFirst = m_dirtyLast = -1;
}

// Rules survive every refill: the rules whose options are selected are applied to
// the freshly filled names in group order, with the current texts, so the preview
// never shows plain names under selected rules. The option buttons
// decide, not the rule codes, which rest at other values after some handlers.
void RenameEngine::reapplySelectedRules(bool withLetterCase)
{
    m_PreviewUnnumbered = true;
    if (m_FilDel.isSelected()) {
        FilDel_Click();
    } else if (m_reFil.isSelected() || m_FilAf.isSelected() || m_FilBe.isSelected()) {
        if (m_FilAf.isSelected()) {
            m_NameSnapshot.clear();
            m_NameSnapshot.reserve(count());
            for (const FolderName &folder : m_folder)
                m_NameSnapshot.append(folder.base);
        }
        txtFil_Change();
    }
    if (m_ExDel.isSelected()) {
        ExDel_Click();
    } else if (m_ExRen.isSelected()) {
        txtEX_Change();
        // With no extension typed the change rule shows the names without dot once
        // the focus is elsewhere, as the change-focus step leaves them.
        if (m_txtEX.text().isEmpty() && m_focus != kTxtEX) {
            takeAppendedDotsOff();
            m_ExtStripped = true;
        }
    }
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
    if (withLetterCase)
        DoNum();
}

void RenameEngine::Form_Load()
{
    Run run(*this);
    m_FileRuleCode = m_ExtRuleCode = m_NumRuleCode = m_CaseRuleCode = 0;
    m_PreviewUnnumbered = true;
    m_ExtStripped = m_ExtChangeActive = m_ExtDeleted = false;
    refillFromFolder(Refill::Reset);
    reapplySelectedRules(true);
}

void RenameEngine::folderListed()
{
    Run run(*this);
    txtP_Change();
}

void RenameEngine::resetRuleGroups()
{
    Run run(*this);
    m_Filno.select();
    m_ExNo.select();
    m_Numno.select();
    m_Nno.select();
}

void RenameEngine::FullRebuild()
{
    Run run(*this);
    m_PreviewUnnumbered = true;
    refillFromFolder(Refill::InPlace);
    reapplySelectedRules(false);
}

// --- File-name part rules and the replace pair -------------------------------------------

void RenameEngine::Filno_Click()
{
    Run run(*this);
    m_PreviewUnnumbered = true;
    m_FileRuleCode = 0;
    for (int i = 0; i < count(); ++i)
        setBase(i, m_folder[size_t(i)].base);
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
}

void RenameEngine::FilDel_Click()
{
    Run run(*this);
    m_FileRuleCode = 1;
    setAllBases(QString());
    m_PreviewUnnumbered = true;
    if (numberingInForce())
        CmdNum_Click();
    m_PreviewUnnumbered = false;
}

void RenameEngine::reFil_Click()
{
    Run run(*this);
    m_FileRuleCode = 2;
    m_txtFil.requestSelectAll();
    requestFocus(kTxtFil);
    FilDel_Click();
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::FilAf_Click()
{
    Run run(*this);
    m_FileRuleCode = 2;
    m_txtFil.requestSelectAll();
    requestFocus(kTxtFil);
    Filno_Click();
    if (numberingInForce())
        Numno_Click();
    m_NameSnapshot.clear();
    m_NameSnapshot.reserve(count());
    for (int i = 0; i < count(); ++i)
        m_NameSnapshot.append(baseOf(i));
    m_PreviewUnnumbered = true;
    if (numberingInForce()) {
        CmdNum_Click();
        m_PreviewUnnumbered = false;
    }
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::FilBe_Click()
{
    Run run(*this);
    m_FileRuleCode = 2;
    m_txtFil.requestSelectAll();
    requestFocus(kTxtFil);
    Filno_Click();
    if (!m_txtFil.text().isEmpty())
        txtFil_Change();
}

void RenameEngine::txtFil_Change()
{
    Run run(*this);
    const QString t = m_txtFil.text();
    m_PreviewUnnumbered = true;
    if (m_reFil.isSelected()) {
        m_FileRuleCode = 2;
        FilDel_Click();
        m_PreviewUnnumbered = false;
        if (numberingInForce())
            Numno_Click();
        m_PreviewUnnumbered = true;
        setAllBases(t);
        if (numberingInForce())
            CmdNum_Click();
    }
    if (m_FilAf.isSelected()) {
        m_FileRuleCode = 3;
        for (int i = 0; i < count(); ++i) {
            const QString &saved =
                i < m_NameSnapshot.size() ? m_NameSnapshot.at(i) : m_folder[size_t(i)].base;
            setBase(i, t + saved);
        }
        if (numberingInForce())
            CmdNum_Click();
    }
    if (m_FilBe.isSelected()) {
        m_FileRuleCode = 4;
        AppendToBaseName();
    }
    m_PreviewUnnumbered = false;
    DoNum();
}

void RenameEngine::txtFil_Click()
{
    m_txtFil.requestSelectAll();
}

void RenameEngine::txtFil_GotFocus() {}

bool RenameEngine::txtFil_KeyPress(const QString &typed)
{
    if (!refuses(typed))
        return true;
    m_txtFil.requestCaretToEnd();
    return false;
}

// The insert-after worker. The number of NumA sits behind the base name in its own
// slot, so the text follows the folder base name and the number follows the text,
// exactly as a full rebuild in group order gives it.
void RenameEngine::AppendToBaseName()
{
    Run run(*this);
    Filno_Click();
    const QString t = m_txtFil.text();
    if (t.isEmpty())
        return;
    for (int i = 0; i < count(); ++i)
        setBase(i, baseOf(i) + t);
}

bool RenameEngine::txtDel_KeyPress(const QString &)
{
    m_ReplacePrevText = m_txtDel.text();
    return true;
}

void RenameEngine::txtDel_Change()
{
    Run run(*this);
    // The previous text is taken on every change, typed, pasted or undone alike.
    m_ReplacePrevText = m_txtDel.previousText();
    const QString find = m_txtDel.text();
    const QString with = isBlank(m_txtW.text()) ? QString() : m_txtW.text();
    separateBases();
    m_replace.resize(size_t(count()));
    bool anyPieces = false;
    for (int i = 0; i < count(); ++i) {
        Entry &entry = m_entries[size_t(i)];
        ReplaceState &state = m_replace[size_t(i)];
        if (!state.pieceLengths.empty()) {
            rebuildFromPieces(i, m_replaceFind, Join::Restore);
            forgetReplace(i);
        }
        const qsizetype avoid =
            m_numbers.place == NumberPlace::BeforeExtension && !numberOf(i).isEmpty()
                ? entry.base.size()
                : -1;
        SplitPieces split =
            SplitCount(entry.ext.isEmpty() ? entry.base : entry.base + entry.ext, find, avoid);
        if (split.count < 0)
            continue;
        state.stripped = std::move(split.stripped);
        state.pieceLengths = std::move(split.pieceLengths);
        state.baseLength = int(entry.base.size());
        anyPieces = true;
    }
    m_replaceFind = find;
    m_replaceInserted = with;
    if (!anyPieces) {
        m_replace.clear();
        return;
    }
    for (int i = 0; i < count(); ++i) {
        if (hasPieces(i))
            rebuildFromPieces(i, with, Join::Insert);
    }
}

bool RenameEngine::txtW_KeyPress(const QString &)
{
    m_ReplacePrevText = m_txtW.text();
    return true;
}

// The previous with text comes out only where the replace pair put it, by
// position, never by searching the entry for it: a with text that also occurs in
// the name elsewhere, or that a rebuild has already removed, leaves the name alone.
void RenameEngine::txtW_Change()
{
    Run run(*this);
    m_ReplacePrevText = m_txtW.previousText();
    m_txtDel.setEnabled(m_txtW.text().isEmpty());
    if (m_txtDel.text().isEmpty() && !m_txtW.text().isEmpty()) {
        m_txtW.setText(QString()); // runs txtW_Change again, which does the rest
        return;
    }
    const QString with = isBlank(m_txtW.text()) ? QString() : m_txtW.text();
    if (with == m_replaceInserted)
        return;
    m_replaceInserted = with;
    if (m_replace.empty())
        return;
    for (int i = 0; i < count(); ++i) {
        if (hasPieces(i))
            rebuildFromPieces(i, with, Join::Insert);
    }
}

// --- Extension rules and the filter ------------------------------------------------------

void RenameEngine::ExNo_Click()
{
    Run run(*this);
    m_ExtDeleted = false;
    m_ExtChangeActive = false;
    m_txtEX.setEnabled(false);
    m_ExtRuleCode = 0;
    for (int i = 0; i < count(); ++i)
        setExt(i, m_folder[size_t(i)].ext, false);
    m_ExtStripped = false;
}

// Also when the change rule held the entries with an empty extension, delete ends
// with entries that carry no extension: ExtStripped True and ExtRuleCode 1, so that
// a later no change gives back exactly the folder's extension.
void RenameEngine::ExDel_Click()
{
    Run run(*this);
    m_txtEX.setEnabled(false);
    if (m_txtEX.text().isEmpty() && m_ExtChangeActive)
        changeFocusStep();
    const QString empty;
    for (int i = 0; i < count(); ++i)
        setExt(i, empty, false);
    m_ExtStripped = true;
    m_ExtChangeActive = false;
    m_ExtDeleted = true;
    m_ExtRuleCode = 1;
}

void RenameEngine::ExRen_Click()
{
    Run run(*this);
    if (!m_ExtDeleted) {
        m_txtEX.setEnabled(true);
        ExDel_Click();
    }
    const QString dot = QStringLiteral(".");
    for (int i = 0; i < count(); ++i)
        setExt(i, dot, true);
    m_txtEX.setEnabled(true);
    m_ExtStripped = false;
    m_ExtChangeActive = true;
    requestFocus(kTxtEX);
    m_txtEX.requestSelectAll();
    txtEX_Change();
    m_ExtRuleCode = 2;
}

void RenameEngine::ExRen_GotFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::ExRen_LostFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::changeFocusStep()
{
    if (!m_ExRen.isSelected()) {
        m_ExtStripped = false;
        m_ExtChangeActive = false;
        return;
    }
    const QString trimmed = trimSpaces(m_txtEX.text());
    if (trimmed != m_txtEX.text())
        m_txtEX.setText(trimmed);
    if (m_txtEX.text().isEmpty()) {
        takeAppendedDotsOff();
        m_ExtStripped = true;
    }
}

// Only the dot that the change rule appended comes off, and only where it still
// stands, so running the step twice never cuts a real character.
void RenameEngine::takeAppendedDotsOff()
{
    const QString empty;
    for (int i = 0; i < count(); ++i) {
        const Entry &entry = m_entries[size_t(i)];
        if (entry.extByChangeRule && entry.ext == u'.')
            setExt(i, empty, false);
    }
}

void RenameEngine::txtEX_Change()
{
    Run run(*this);
    m_ExtStripped = false;
    const QString trimmed = trimSpaces(m_txtEX.text());
    if (trimmed != m_txtEX.text()) {
        m_txtEX.setText(trimmed); // runs txtEX_Change again with the trimmed text
        return;
    }
    // The extension box writes the preview only while its rule is chosen, so that
    // the preview always shows what the options say.
    if (!m_ExRen.isSelected())
        return;
    const QString ext = u'.' + trimmed;
    for (int i = 0; i < count(); ++i)
        setExt(i, ext, true);
}

void RenameEngine::txtEX_Click()
{
    m_txtEX.requestSelectAll();
}

void RenameEngine::txtEX_GotFocus()
{
    Run run(*this);
    if (!m_ExRen.isSelected() || !isBlank(m_txtEX.text()))
        return;
    const QString dot = QStringLiteral(".");
    for (int i = 0; i < count(); ++i)
        setExt(i, dot, true);
}

bool RenameEngine::txtEX_KeyPress(const QString &typed)
{
    if (!refuses(typed))
        return true;
    m_txtEX.requestCaretToEnd();
    return false;
}

void RenameEngine::txtEX_LostFocus()
{
    Run run(*this);
    changeFocusStep();
}

void RenameEngine::txtP_Change()
{
    Run run(*this);
    const QString trimmed = trimSpaces(m_txtP.text());
    if (trimmed != m_txtP.text()) {
        m_txtP.setText(trimmed); // runs txtP_Change again with the trimmed text
        return;
    }
    const QString pattern = trimmed.isEmpty() || trimmed == u'.' ? QStringLiteral("*.*")
                                                                 : QStringLiteral("*.") + trimmed;
    if (m_file1.pattern() != pattern)
        m_file1.setPattern(pattern);
    m_PreviewUnnumbered = true;
    refillFromFolder(Refill::Reset);
    reapplySelectedRules(true);
}

// --- Letter case -------------------------------------------------------------------------

void RenameEngine::mapCase(bool capital)
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
    for (int i = 0; i < count(); ++i) {
        Entry &entry = m_entries[size_t(i)];
        if (!m_allBases && entry.base.isDetached() && !hasPieces(i)) {
            // A base name of its own (as the insert rules leave each one) is mapped
            // where it lies: no other string can see the change.
            if (mapLettersInPlace(entry.base, capital))
                markDirty(i);
        } else if (!m_allBases &&
                   (baseMemo.holds(entry.base) || hasLettersToMap(entry.base, capital))) {
            const QString &base = baseMemo(entry.base, map);
            if (base.constData() != entry.base.constData())
                setBase(i, base);
        }
        if (extMemo.holds(entry.ext) || hasLettersToMap(entry.ext, capital)) {
            const QString &ext = extMemo(entry.ext, map);
            if (ext.constData() != entry.ext.constData())
                setExt(i, ext, entry.extByChangeRule);
        }
    }
}

void RenameEngine::NB_Click()
{
    Run run(*this);
    m_CaseRuleCode = 1;
    mapCase(true);
}

void RenameEngine::NF_Click()
{
    Run run(*this);
    m_CaseRuleCode = 2;
    mapCase(false);
}

void RenameEngine::NS_Click()
{
    Run run(*this);
    NF_Click();
    m_CaseRuleCode = 3;
    separateBases();
    MemoMap baseMemo;
    for (int i = 0; i < count(); ++i) {
        const Entry &entry = m_entries[size_t(i)];
        const QString &number = numberOf(i);
        // The first character of the whole entry that is not a digit; in a number it
        // is a sign or a point, which has no capital form.
        if (m_numbers.place == NumberPlace::AtStart && firstNonDigit(number) >= 0)
            continue;
        const qsizetype inBase = firstNonDigit(entry.base);
        if (inBase >= 0) {
            const QString &base = baseMemo(entry.base, [inBase](const QString &text) {
                QString capitalised = text;
                capitaliseAt(capitalised, inBase);
                return capitalised;
            });
            if (base != entry.base)
                setBase(i, base);
            continue;
        }
        if (m_numbers.place == NumberPlace::BeforeExtension && firstNonDigit(number) >= 0)
            continue;
        const qsizetype inExt = firstNonDigit(entry.ext);
        if (inExt < 0)
            continue;
        QString ext = entry.ext;
        if (capitaliseAt(ext, inExt))
            setExt(i, ext, entry.extByChangeRule);
    }
}

void RenameEngine::Nno_Click()
{
    Run run(*this);
    m_CaseRuleCode = 0;
    FullRebuild();
}

void RenameEngine::DoNum()
{
    Run run(*this);
    if (m_NB.isSelected())
        NB_Click();
    else if (m_NF.isSelected())
        NF_Click();
    else if (m_NS.isSelected())
        NS_Click();
}

// --- Numbering ---------------------------------------------------------------------------

void RenameEngine::CmdNum_Click()
{
    Run run(*this);
    if (!m_PreviewUnnumbered)
        Numno_Click();
    const NumberPlace place = m_NumB.isSelected()   ? NumberPlace::AtStart
                              : m_NumA.isSelected() ? NumberPlace::BeforeExtension
                                                    : NumberPlace::None;
    if (place == NumberPlace::None || count() == 0) {
        // Entries this apply does not number carry no number, so a later strip
        // leaves them exactly as they are.
        setNumbers(AppliedNumbers{});
        return;
    }
    AppliedNumbers numbers;
    numbers.place = place;
    numbers.texts = numberTextsForCurrentValues();
    numbers.numbered = qMin<qsizetype>(count(), qsizetype(numbers.texts->texts.size()));
    setNumbers(numbers);
    m_NumRuleCode = 1;
    m_NumberMarker = place == NumberPlace::AtStart ? kNumB : kNumA;
    m_PreviewUnnumbered = false;
}

void RenameEngine::Numno_Click()
{
    Run run(*this);
    m_NumRuleCode = 0;
    // Every entry's number is known exactly, so the strip is exact whatever the
    // marker says, and a second strip finds nothing to take out.
    setNumbers(AppliedNumbers{});
    if (m_NumberMarker != kNone)
        m_PreviewUnnumbered = true;
}

void RenameEngine::Numno_MouseUp()
{
    m_NumberMarker = kNone;
}

void RenameEngine::NumA_Click()
{
    Run run(*this);
    CmdNum_Click();
    m_NumRuleCode = 1;
}

void RenameEngine::NumB_Click()
{
    Run run(*this);
    CmdNum_Click();
    m_NumRuleCode = 1;
}

void RenameEngine::txtStart_Change()
{
    Run run(*this);
    QString text = trimSpaces(m_txtStart.text());
    if (!isNumericText(text))
        text = QStringLiteral("0");
    if (text != m_txtStart.text()) {
        m_txtStart.setText(text); // runs txtStart_Change again with the sound text
        return;
    }
    if (leadingNumberValue(text) > 0 && leadingNumberValue(m_txtStep.text()) == 0)
        m_txtStep.setText(QStringLiteral("1"));
}

void RenameEngine::txtStart_Click()
{
    m_txtStart.requestSelectAll();
}

void RenameEngine::txtStep_Change()
{
    Run run(*this);
    QString text = trimSpaces(m_txtStep.text());
    if (!isNumericText(text))
        text = QStringLiteral("1");
    if (text != m_txtStep.text())
        m_txtStep.setText(text);
}

void RenameEngine::txtStep_Click()
{
    m_txtStep.requestSelectAll();
}

void RenameEngine::txtZ_Change()
{
    Run run(*this);
    if (!isNumericText(m_txtZ.text()))
        m_txtZ.setText(QStringLiteral("0"));
}

void RenameEngine::txtZ_Click()
{
    m_txtZ.requestSelectAll();
}

// --- Refused characters -----------------------------------------------------------------

bool RenameEngine::refuses(const QString &typed) const
{
    for (QChar c : typed) {
        for (const QString &forbidden : m_ForbiddenChars) {
            if (c == forbidden.at(0))
                return true;
        }
    }
    return false;
}

// Text pasted into txtFil or txtEX loses the refused characters, as typed text does.
QString RenameEngine::withoutForbidden(const QString &text) const
{
    if (!refuses(text))
        return text;
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!refuses(QString(c)))
            kept.append(c);
    }
    return kept;
}

void RenameEngine::markAllDirty()
{
    if (count() == 0)
        return;
    m_dirtyFirst = 0;
    m_dirtyLast = count() - 1;
}

bool RenameEngine::hasPieces(qsizetype i) const
{
    return !m_replace.empty() && !m_replace[size_t(i)].pieceLengths.empty();
}

void RenameEngine::setNumbers(const AppliedNumbers &numbers)
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

const QString &RenameEngine::numberOf(qsizetype i) const
{
    static const QString none;
    if (m_numbers.place == NumberPlace::None || i >= m_numbers.numbered)
        return none;
    return m_numbers.texts->texts[size_t(i)];
}

// The number texts depend only on start, step and zero fill, so they are kept for
// the next apply: a keystroke in another rule then numbers without formatting.
std::shared_ptr<RenameEngine::NumberSeries> RenameEngine::numberTextsForCurrentValues()
{
    const double start = leadingNumberValue(m_txtStart.text());
    const double step = leadingNumberValue(m_txtStep.text());
    const double zeros = leadingNumberValue(m_txtZ.text());
    if (!m_numberTexts || m_numberTexts->start != start || m_numberTexts->step != step ||
        m_numberTexts->zeros != zeros) {
        m_numberTexts = std::make_shared<NumberSeries>();
        m_numberTexts->start = start;
        m_numberTexts->step = step;
        m_numberTexts->zeros = zeros;
    }
    NumberSeries &series = *m_numberTexts;
    const qsizetype wanted = count();
    series.texts.reserve(size_t(wanted));
    while (series.stopIndex < 0 && qsizetype(series.texts.size()) < wanted) {
        const qsizetype k = qsizetype(series.texts.size());
        const double value = start + step * double(k);
        if (k > 0 && value == 0) {
            series.stopIndex = k;
            break;
        }
        QString text = plainNumberText(value);
        const double width = zeros + 1;
        if (double(text.size()) < width) {
            const double missing = width - double(text.size());
            const int fill = missing >= 16 ? 16 : int(std::nearbyint(missing));
            if (fill > 0)
                text.prepend(QString(fill, u'0'));
        }
        series.texts.push_back(std::move(text));
    }
    return m_numberTexts;
}

// Joins the parts of entry i into out (reusing its buffer). Returns the part that
// is the whole entry when there is only one, so that the caller can share it.
const QString *RenameEngine::composeInto(qsizetype i, QString &out) const
{
    const Entry &entry = m_entries[size_t(i)];
    const QString &base = baseOf(i);
    const QString &number = numberOf(i);
    if (number.isEmpty()) {
        if (entry.ext.isEmpty())
            return &base;
        if (base.isEmpty())
            return &entry.ext;
    }
    out.resize(0);
    out.reserve(number.size() + base.size() + entry.ext.size());
    if (m_numbers.place == NumberPlace::AtStart)
        out.append(number);
    out.append(base);
    if (m_numbers.place == NumberPlace::BeforeExtension)
        out.append(number);
    out.append(entry.ext);
    return nullptr;
}

// --- State accessors --------------------------------------------------------------------

QString RenameEngine::NumberTexts(int index) const
{
    if (index == count())
        return m_NumberMarker;
    if (index < 0 || index > count())
        return {};
    return numberOf(index);
}

int RenameEngine::ReplaceCounts(int index) const
{
    if (index < 0 || index >= count() || !hasPieces(index))
        return 0;
    return int(m_replace[size_t(index)].pieceLengths.size()) - 1;
}

std::vector<int> RenameEngine::PieceLengths(int index) const
{
    if (index < 0 || index >= count() || !hasPieces(index))
        return {};
    return m_replace[size_t(index)].pieceLengths;
}

QString RenameEngine::baseNamePart(int index) const
{
    return baseOf(index);
}

QString RenameEngine::extensionPart(int index) const
{
    return m_entries.at(size_t(index)).ext;
}

} // namespace lorvane
