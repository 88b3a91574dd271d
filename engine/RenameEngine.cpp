#include "RenameEngine.h"

#include "FileList.h"
#include "NameText.h"

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
// of txtFil), so a case rule maps each distinct shared string once. Pointer equality
// with the string held here implies equal content: a string that another QString
// shares cannot be changed in place.
class MemoMap
{
public:
    template <typename F> const QString &operator()(const QString &in, F &&map)
    {
        if (!m_in.isNull() && in.constData() == m_in.constData() && in.size() == m_in.size())
            return m_out;
        m_in = in;
        m_out = map(in);
        return m_out;
    }

private:
    QString m_in;
    QString m_out;
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

QString RenameEngine::compose(const Entry &entry) const
{
    if (entry.place == NumberPlace::None || entry.number.isEmpty()) {
        if (entry.ext.isEmpty())
            return entry.base;
        if (entry.base.isEmpty())
            return entry.ext;
    }
    QString text;
    text.reserve(entry.base.size() + entry.number.size() + entry.ext.size());
    if (entry.place == NumberPlace::AtStart)
        text.append(entry.number);
    text.append(entry.base);
    if (entry.place == NumberPlace::BeforeExtension)
        text.append(entry.number);
    text.append(entry.ext);
    return text;
}

void RenameEngine::publish()
{
    if (m_refilled) {
        QStringList entries;
        entries.reserve(count());
        for (Entry &entry : m_entries) {
            entry.dirty = false;
            entries.append(compose(entry));
        }
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
    for (qsizetype i = m_dirtyFirst; i <= m_dirtyLast; ++i) {
        Entry &entry = m_entries[size_t(i)];
        if (!entry.dirty)
            continue;
        entry.dirty = false;
        QString text = compose(entry);
        if (text == entries.at(i))
            continue;
        entries[i] = std::move(text);
        if (first < 0)
            first = int(i);
        last = int(i);
    }
    m_dirtyFirst = m_dirtyLast = -1;
    if (first >= 0)
        emit m_list1.entriesChanged(first, last);
}

// --- Entry parts ------------------------------------------------------------------------

void RenameEngine::markDirty(int i)
{
    Entry &entry = m_entries[size_t(i)];
    if (entry.dirty)
        return;
    entry.dirty = true;
    if (m_dirtyFirst < 0 || i < m_dirtyFirst)
        m_dirtyFirst = i;
    if (i > m_dirtyLast)
        m_dirtyLast = i;
}

void RenameEngine::forgetReplace(Entry &entry)
{
    entry.pieceLengths.clear();
    entry.replaceStripped.clear();
    entry.replaceBaseLength = 0;
}

void RenameEngine::setBase(int i, const QString &base)
{
    Entry &entry = m_entries[size_t(i)];
    if (!entry.pieceLengths.empty()) {
        if (entry.base == base)
            return;
        // Another rule rewrote the entry, so the replace pair's
        // piece lengths no longer describe it.
        forgetReplace(entry);
    }
    entry.base = base;
    markDirty(i);
}

void RenameEngine::setExt(int i, const QString &ext, bool byChangeRule)
{
    Entry &entry = m_entries[size_t(i)];
    entry.extByChangeRule = byChangeRule;
    if (!entry.pieceLengths.empty()) {
        if (entry.ext == ext)
            return;
        forgetReplace(entry);
    }
    entry.ext = ext;
    markDirty(i);
}

void RenameEngine::setNumber(int i, const QString &number, NumberPlace place)
{
    Entry &entry = m_entries[size_t(i)];
    if (entry.place == place && entry.number.size() == number.size() && entry.number == number)
        return;
    entry.number = number;
    entry.place = place;
    markDirty(i);
}

// Writes the base name and extension of entry i from its replace pieces with the
// given text between them. The boundary between base name and extension stays where
// it was in the entry before the find text was taken out; an occurrence that spanned
// it goes, with its replacement, to the extension.
void RenameEngine::rebuildFromPieces(int i, const QString &insert)
{
    Entry &entry = m_entries[size_t(i)];
    const std::vector<int> &pieces = entry.pieceLengths;
    const QStringView stripped(entry.replaceStripped);
    const qsizetype findLength = m_replaceFind.size();
    const qsizetype boundary = entry.replaceBaseLength;
    QString base;
    QString ext;
    bool inExt = false;
    bool extTouched = false;
    qsizetype at = 0;       // position in the stripped text
    qsizetype original = 0; // position in the entry before the split
    for (size_t k = 0; k < pieces.size(); ++k) {
        const qsizetype length = pieces[k];
        const QStringView piece = stripped.sliced(at, length);
        if (!inExt && original + length <= boundary) {
            base.append(piece);
        } else if (!inExt) {
            const qsizetype cut = boundary - original;
            base.append(piece.first(cut));
            inExt = true;
            if (k + 1 == pieces.size())
                break; // the rest of the last piece is the extension as it stands
            extTouched = true;
            ext.append(piece.sliced(cut));
        } else {
            ext.append(piece);
        }
        at += length;
        original += length;
        if (k + 1 == pieces.size())
            break;
        if (!inExt && original + findLength <= boundary) {
            base.append(insert);
        } else {
            inExt = true;
            extTouched = true;
            ext.append(insert);
        }
        original += findLength;
    }
    entry.base = std::move(base);
    if (extTouched || !inExt)
        entry.ext = std::move(ext);
    markDirty(i);
}

// --- Lifecycle --------------------------------------------------------------------------

void RenameEngine::refillFromFolder(Refill how)
{
    const int n = qMax(0, m_file1.count());
    const bool inPlace = how == Refill::InPlace && n == count();
    m_folder.resize(size_t(n));
    if (!inPlace)
        m_entries.assign(size_t(n), Entry{});
    for (int i = 0; i < n; ++i) {
        const QString name = m_file1.entry(i);
        FolderName &folder = m_folder[size_t(i)];
        folder.ext = dottedExtensionOf(name);
        folder.base = folder.ext.isEmpty() ? name : name.first(name.size() - folder.ext.size());
        Entry &entry = m_entries[size_t(i)];
        if (inPlace) {
            forgetReplace(entry);
            entry.number.clear();
            entry.place = NumberPlace::None;
            markDirty(i);
        }
        entry.base = folder.base;
        entry.ext = folder.ext;
        entry.extByChangeRule = false;
    }
    if (!inPlace) {
        m_refilled = true;
        m_dirtyFirst = m_dirtyLast = -1;
    }
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
    const QString empty;
    for (int i = 0; i < count(); ++i)
        setBase(i, empty);
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
    for (const Entry &entry : m_entries)
        m_NameSnapshot.append(entry.base);
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
        for (int i = 0; i < count(); ++i)
            setBase(i, t);
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
        setBase(i, m_entries[size_t(i)].base + t);
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
    for (int i = 0; i < count(); ++i) {
        Entry &entry = m_entries[size_t(i)];
        if (!entry.pieceLengths.empty()) {
            rebuildFromPieces(i, m_replaceFind);
            forgetReplace(entry);
        }
        const qsizetype avoid =
            entry.place == NumberPlace::BeforeExtension && !entry.number.isEmpty()
                ? entry.base.size()
                : -1;
        SplitPieces split =
            SplitCount(entry.ext.isEmpty() ? entry.base : entry.base + entry.ext, find, avoid);
        if (split.count < 0)
            continue;
        entry.replaceStripped = std::move(split.stripped);
        entry.pieceLengths = std::move(split.pieceLengths);
        entry.replaceBaseLength = int(entry.base.size());
    }
    m_replaceFind = find;
    m_replaceInserted = with;
    for (int i = 0; i < count(); ++i) {
        if (!m_entries[size_t(i)].pieceLengths.empty())
            rebuildFromPieces(i, with);
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
    for (int i = 0; i < count(); ++i) {
        if (!m_entries[size_t(i)].pieceLengths.empty())
            rebuildFromPieces(i, with);
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
    for (int i = 0; i < count(); ++i) {
        const Entry &entry = m_entries[size_t(i)];
        const QString &base = baseMemo(entry.base, map);
        if (base.constData() != entry.base.constData())
            setBase(i, base);
        const QString &ext = extMemo(entry.ext, map);
        if (ext.constData() != entry.ext.constData())
            setExt(i, ext, entry.extByChangeRule);
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
    MemoMap baseMemo;
    for (int i = 0; i < count(); ++i) {
        const Entry &entry = m_entries[size_t(i)];
        // The first character of the whole entry that is not a digit; in a number it
        // is a sign or a point, which has no capital form.
        if (entry.place == NumberPlace::AtStart && firstNonDigit(entry.number) >= 0)
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
        if (entry.place == NumberPlace::BeforeExtension && firstNonDigit(entry.number) >= 0)
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

// The number texts depend only on start, step and zero fill, so they are kept for the
// next apply; a keystroke in another rule then reuses them.
void RenameEngine::prepareNumbers()
{
    const double start = leadingNumberValue(m_txtStart.text());
    const double step = leadingNumberValue(m_txtStep.text());
    const double zeros = leadingNumberValue(m_txtZ.text());
    const NumberCache &cache = m_numbers;
    if (cache.valid && cache.start == start && cache.step == step && cache.zeros == zeros)
        return;
    m_numbers = NumberCache{start, step, zeros, true, {}, -1};
}

const QString *RenameEngine::numberTextAt(qsizetype i)
{
    NumberCache &cache = m_numbers;
    const double start = cache.start;
    const double step = cache.step;
    const double zeros = cache.zeros;
    if (cache.stopIndex >= 0 && i >= cache.stopIndex)
        return nullptr;
    while (qsizetype(cache.texts.size()) <= i) {
        const qsizetype k = qsizetype(cache.texts.size());
        const double value = start + step * double(k);
        if (k > 0 && value == 0) {
            cache.stopIndex = k;
            return nullptr;
        }
        QString text = plainNumberText(value);
        const double width = zeros + 1;
        if (double(text.size()) < width) {
            const double missing = width - double(text.size());
            const int fill = missing >= 16 ? 16 : int(std::nearbyint(missing));
            if (fill > 0)
                text.prepend(QString(qMin(fill, 16), u'0'));
        }
        cache.texts.push_back(std::move(text));
    }
    return &cache.texts[size_t(i)];
}

void RenameEngine::CmdNum_Click()
{
    Run run(*this);
    if (!m_PreviewUnnumbered)
        Numno_Click();
    const NumberPlace place = m_NumB.isSelected()   ? NumberPlace::AtStart
                              : m_NumA.isSelected() ? NumberPlace::BeforeExtension
                                                    : NumberPlace::None;
    const QString none;
    int i = 0;
    if (place != NumberPlace::None) {
        prepareNumbers();
        for (; i < count(); ++i) {
            const QString *text = numberTextAt(i);
            if (!text)
                break;
            setNumber(i, *text, place);
        }
        if (i > 0) {
            m_NumRuleCode = 1;
            m_NumberMarker = place == NumberPlace::AtStart ? kNumB : kNumA;
            m_PreviewUnnumbered = false;
        }
    }
    // Entries this apply did not number carry no number, so a
    // later strip leaves them exactly as they are.
    for (; i < count(); ++i)
        setNumber(i, none, NumberPlace::None);
}

void RenameEngine::Numno_Click()
{
    Run run(*this);
    m_NumRuleCode = 0;
    // Each entry knows its own number and where it went, so the strip is exact
    // whatever the marker says.
    const QString none;
    for (int i = 0; i < count(); ++i) {
        if (m_entries[size_t(i)].place != NumberPlace::None)
            setNumber(i, none, NumberPlace::None);
    }
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

// --- State accessors --------------------------------------------------------------------

QString RenameEngine::NumberTexts(int index) const
{
    if (index == count())
        return m_NumberMarker;
    if (index < 0 || index > count())
        return {};
    return m_entries[size_t(index)].number;
}

int RenameEngine::ReplaceCounts(int index) const
{
    if (index < 0 || index >= count())
        return 0;
    const std::vector<int> &pieces = m_entries[size_t(index)].pieceLengths;
    return pieces.empty() ? 0 : int(pieces.size()) - 1;
}

std::vector<int> RenameEngine::PieceLengths(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_entries[size_t(index)].pieceLengths;
}

QString RenameEngine::baseNamePart(int index) const
{
    return m_entries.at(size_t(index)).base;
}

QString RenameEngine::extensionPart(int index) const
{
    return m_entries.at(size_t(index)).ext;
}

} // namespace lorvane
