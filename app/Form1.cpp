#include "Form1.h"

#include "DetachedLaunch.h"
#include "FolderListModel.h"
#include "FolderTree.h"
#include "Form2.h"
#include "NameItemDelegate.h"
#include "NameListView.h"
#include "PreviewClashes.h"
#include "PreviewListModel.h"
#include "PropertiesHost.h"
#include "PropertiesPane.h"
#include "RenameCommands.h"
#include "TextFit.h"
#include "Twips.h"
#include "UserSettings.h"

#include "CmdButton.h"
#include "RenameEngine.h"
#include "StoredButtons.h"

#include "MessageBox.h"
#include "ShownName.h"
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <cerrno>

// The pictures and stored button data live in the library's resources.
static void initResources()
{
    Q_INIT_RESOURCE(lorvane);
}

namespace {

// Every caption and message of the window, each written once.
namespace text {
const QString noChange = QStringLiteral("لا تغيير");
const QString remove = QStringLiteral("حذف");
const QString change = QStringLiteral("تغيير");
const QString insertBefore = QStringLiteral("إدخال قبل");
const QString insertAfter = QStringLiteral("إدخال بعد");
const QString chooseFolder = QStringLiteral("اختر المجلد");
const QString filesBefore = QStringLiteral("الملفات قبل");
const QString filesAfter = QStringLiteral("الملفات بعد");
const QString filesAfterTip = QStringLiteral("حالة الملفات بعد التغيير");
const QString fileNameRules = QStringLiteral("تعديل أسماء الملفات");
const QString exclusion = QStringLiteral("استبعاد بعض الملفات من التغيير");
const QString extensionRules = QStringLiteral("تعديل أسما الملحقات");
const QString numbering = QStringLiteral("ترتيب ترقيمي");
const QString letterCase = QStringLiteral("تعديل على الأحرف");
const QString capitals = QStringLiteral("أحرف كبيرة");
const QString smalls = QStringLiteral("أحرف صغيرة");
const QString firstCapital = QStringLiteral("الحرف الأول كبير");
const QString replace = QStringLiteral("استبدل");
const QString with = QStringLiteral("ب");
const QString chooseExtension = QStringLiteral("اختر الملحق");
const QString extensionTip = QStringLiteral("اكتب الملحق بدون نقطة");
const QString start = QStringLiteral("البداية");
const QString step = QStringLiteral("الخطوة");
const QString zeros = QStringLiteral("الأصفار");
const QString excludeTip = QStringLiteral("انتق أي ملف لاستبعاده عن عملية تغيير الأسماء");
const QString cannotOpen = QStringLiteral("تعذر فتح هذا الملف");
const QString askExit = QStringLiteral("هل تريد الخروج من البرنامج");
const QString cannotList = QStringLiteral("تعذر عرض ملفات هذا المجلد:");
const QString noReadPermission = QStringLiteral("لا توجد صلاحية لقراءة المجلد");
const QString folderGone = QStringLiteral("المجلد غير موجود");
const QString notAFolder = QStringLiteral("هذا ليس مجلدا");
const QString hintLines[] = {
    QStringLiteral("مرحبا بك في برنامج Lorvane"),
    QStringLiteral("اذا كان شريط إبدأ يخفي جزء من البرنامج"),
    QStringLiteral("فقم بالضغط على أي مساحة فارغة ضغطتين"),
    QStringLiteral("و اذا أردت الغاء هذه الميزة اضغط على أي مساحة فارغة"),
    QStringLiteral("بالزر الأيمن"),
    QStringLiteral("هل تريد اظهار هذه الرسالة مع بدء كل تشغيل"),
};
} // namespace text

const QString settingsSection = QStringLiteral("Lorvane");
const QString hintKey = QStringLiteral("Quary");

QString startupHint()
{
    // One line each, and an empty line before the question.
    QStringList lines;
    for (const QString &line : text::hintLines)
        lines << line;
    const QString question = lines.takeLast();
    return lines.join(u'\n') + QStringLiteral("\n\n") + question;
}

template <typename T> T *named(T *widget, const char *name, QWidget *parent, const QRect &geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setParent(parent);
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(const char *name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    auto *l = named(new QLabel(caption), name, parent, geometry);
    // Arabic captions start at the right edge of their box; without
    // AlignAbsolute a right-to-left window would mirror this to the left.
    l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return l;
}

QRadioButton *option(const char *name, const QString &caption, QWidget *parent,
                     const QRect &geometry)
{
    return named(new QRadioButton(caption), name, parent, geometry);
}

QLineEdit *textBox(const char *name, QWidget *parent, const QRect &geometry)
{
    auto *box = named(new QLineEdit, name, parent, geometry);
    // No file name is longer, and a huge paste would cost every keystroke dearly.
    box->setMaxLength(255);
    return box;
}

QGroupBox *frame(const char *name, const QString &caption, QWidget *parent, const QRect &geometry)
{
    return named(new QGroupBox(caption), name, parent, geometry);
}

lorvane::CmdButton *button(const lorvane::StoredButtons &stored, const char *name, QWidget *parent,
                           const QRect &geometry)
{
    const QString key = QString::fromLatin1(name);
    lorvane::CmdButton *b = stored.create(key, parent);
    b->setGeometry(geometry);
    const QString tip = stored.bag(key).value(QStringLiteral("tooltip")).toString();
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

NameListView *listView(const char *name, QWidget *parent, const QRect &geometry)
{
    auto *view = named(new NameListView(parent), name, parent, geometry);
    // 100,000 entries: without uniform sizes every change re-measures them all.
    view->setUniformItemSizes(true);
    view->setLayoutMode(QListView::Batched);
    view->setBatchSize(2000);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTextElideMode(Qt::ElideMiddle);
    return view;
}

// Row i of one list always faces row i of the other: both have one row height
// and as many rows, so equal scroll positions show equal rows.
void scrollTogether(NameListView *a, NameListView *b)
{
    QObject::connect(a->scrollBar(), &QScrollBar::valueChanged, b->scrollBar(),
                     &QScrollBar::setValue);
    QObject::connect(b->scrollBar(), &QScrollBar::valueChanged, a->scrollBar(),
                     &QScrollBar::setValue);
}

// Tells of every top-level window of the program that is hidden.
class WindowHideWatch : public QObject
{
public:
    WindowHideWatch(QObject *parent, std::function<void(QWidget *)> onHide)
        : QObject(parent), m_onHide(std::move(onHide))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            m_onHide(static_cast<QWidget *>(watched));
        return false;
    }

private:
    std::function<void(QWidget *)> m_onHide;
};

} // namespace

Form1::Form1(const QString &startFolder, QWidget *parent)
    : QWidget(parent), m_startFolder(startFolder), m_file1Model(new FolderListModel(this)),
      m_engine(new lorvane::RenameEngine(*m_file1Model, this)),
      m_list1Model(new PreviewListModel(m_engine->List1(), this)),
      m_clashes(new PreviewClashes(*m_file1Model, m_engine->List1(), this))
{
    m_list1Model->setClashes(m_clashes);
    if (m_startFolder.isEmpty())
        m_startFolder = QCoreApplication::applicationDirPath();
    initResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(lorvane::programTitle());
    setWindowIcon(QIcon(QStringLiteral(":/lorvane/lorvane.png")));
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(twips::size(11835, 8595));
    // The design is measured in pixels; a font measured in pixels keeps the
    // captions inside their controls whatever the screen's dots per inch.
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);

    m_endProgram = [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
        QCoreApplication::exit(0);
    };

    const lorvane::StoredButtons stored =
        lorvane::StoredButtons::load(QStringLiteral(":/lorvane/Form1.buttons"));
    if (!stored.errors().isEmpty())
        qWarning("Form1: stored button data: %s", qPrintable(stored.errors().join(u"; ")));

    createRulesPane(stored);
    createPropertiesPane();
    createWindowControls(stored);
    connect(cmdTO, &lorvane::CmdButton::Click, static_cast<lorvane::PropertiesPane *>(Frame),
            &lorvane::PropertiesPane::cmdTO_Click);
    keepMouseToThemselves();
    bindRules();
    // The main window becomes the program's active window again when one of
    // the program's other windows (Form2 About, Form3 progress) goes away.
    // Message boxes and file dialogs belong to the window that opened them
    // and do not count.
    qApp->installEventFilter(new WindowHideWatch(this, [this](QWidget *w) {
        if (w != this && w->objectName().startsWith(u"Form")) {
            m_activationPending = true;
            postActivation();
        }
    }));
    RenameCommands::of(*this);

    Form_Load();
}

Form1::~Form1() = default;

QString Form1::File1ExcludeTip()
{
    return text::excludeTip;
}

void Form1::createWindowControls(const lorvane::StoredButtons &stored)
{
    Label2 = label("Label2", text::chooseFolder, this, twips::rect(0, 0, 3975, 240));
    picBrowse = named(new QWidget, "picBrowse", this, twips::rect(0, 240, 3975, 5685));
    folderTree = new FolderTree(picBrowse);
    folderTree->setObjectName(QStringLiteral("folderTree"));
    folderTree->setItemDelegate(
        new NameItemDelegate(NameItemDelegate::RowWidth::OfText, folderTree));
    auto *hostLayout = new QVBoxLayout(picBrowse);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    hostLayout->addWidget(folderTree);

    Label3 = label("Label3", text::filesBefore, this, twips::rect(4005, 0, 3975, 240));
    auto *file1 = listView("File1", this, twips::rect(4005, 240, 3975, 5685));
    File1 = file1;
    File1->setModel(m_file1Model);

    // The design's preview list reaches one pixel past the client area.
    const QRect list1Rect = twips::rect(8000, 240, 3855, 5685);
    Label4 = label("Label4", text::filesAfter, this,
                   QRect(list1Rect.left(), 0, width() - list1Rect.left(), twips::toPixels(240)));
    auto *list1 =
        listView("List1", this,
                 QRect(list1Rect.topLeft(), QSize(width() - list1Rect.left(), list1Rect.height())));
    List1 = list1;
    List1->setModel(m_list1Model);
    scrollTogether(file1, list1);
    List1->setToolTip(text::filesAfterTip);
    List1->setEnabled(false);

    // A caption starts where the texts of its column start, not on the
    // column's frame or the window's edge.
    for (auto [caption, column] : {std::pair<QLabel *, QAbstractScrollArea *>{Label2, folderTree},
                                   {Label3, File1},
                                   {Label4, List1}}) {
        caption->setIndent(
            column->frameWidth() + 1 +
            column->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, column));
    }

    txtPath = textBox("txtPath", this, twips::rect(0, 0, 100, 285));
    txtPath->hide();

    // The window's own buttons lie over the panes.
    cmdTO = button(stored, "cmdTO", this, twips::rect(9600, 7560, 1935, 375));
    CmdDoNow = button(stored, "CmdDoNow", this, twips::rect(9600, 7995, 1935, 465));
    cmdAbout = button(stored, "cmdAbout", this, twips::rect(8160, 7560, 1335, 375));
    CmdEnd = button(stored, "CmdEnd", this, twips::rect(8160, 7995, 1335, 465));
    for (QWidget *w : {static_cast<QWidget *>(cmdTO), static_cast<QWidget *>(CmdDoNow),
                       static_cast<QWidget *>(cmdAbout), static_cast<QWidget *>(CmdEnd)})
        w->raise();

    connect(folderTree, &FolderTree::folderSelected, this, [this](const QString &path) {
        // Items without a path of their own leave BrowsePath as it was.
        if (!path.isEmpty())
            BrowsePath = path;
        PathChange();
    });
    // The folder shown is gone: listed again, it fails like any folder that
    // cannot be listed.
    connect(folderTree, &FolderTree::currentFolderVanished, this, &Form1::txtPath_Change);
    connect(txtPath, &QLineEdit::textChanged, this, &Form1::txtPath_Change);
    connect(File1, &QListView::doubleClicked, this, &Form1::File1_DblClick);
    connect(File1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form1::SelectList1);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form1::List1_SelectionChanged);
    connect(File1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Form1::markExcluded);
    // A reset drops a selection without telling; the mirror follows at once.
    connect(m_file1Model, &QAbstractItemModel::modelReset, this, &Form1::SelectList1);
    connect(m_list1Model, &QAbstractItemModel::modelReset, this, &Form1::SelectList1);
    connect(cmdAbout, &lorvane::CmdButton::Click, this, &Form1::cmdAbout_Click);
    connect(CmdEnd, &lorvane::CmdButton::Click, this, &Form1::CmdEnd_Click);
    connect(CmdDoNow, &lorvane::CmdButton::Click, this, &Form1::CmdDoNow_Click);
    connect(cmdUnRename, &lorvane::CmdButton::Click, this, &Form1::cmdUnRename_Click);
    connect(cmdAntiSlct, &lorvane::CmdButton::Click, this, &Form1::cmdAntiSlct_Click);
    connect(cmdDestorySlct, &lorvane::CmdButton::Click, this, &Form1::cmdDestorySlct_Click);
    connect(chkKeepOffSomeFl, &QCheckBox::clicked, this, &Form1::chkKeepOffSomeFl_Click);
}

void Form1::createRulesPane(const lorvane::StoredButtons &stored)
{
    Fram = named(new QFrame, "Fram", this, twips::rect(0, 6000, 11655, 2535));
    Fram->setFrameShape(QFrame::NoFrame);

    // File-name rules.
    Frame2 = frame("Frame2", text::fileNameRules, Fram, twips::rect(8160, 0, 3495, 1500));
    Filno = option("Filno", text::noChange, Frame2, twips::rect(2280, 270, 1095, 255));
    FilDel = option("FilDel", text::remove, Frame2, twips::rect(1380, 270, 855, 255));
    reFil = option("reFil", text::change, Frame2, twips::rect(360, 270, 975, 255));
    FilAf = option("FilAf", text::insertBefore, Frame2, twips::rect(1920, 600, 1455, 255));
    FilBe = option("FilBe", text::insertAfter, Frame2, twips::rect(360, 600, 1455, 255));
    txtFil = textBox("txtFil", Frame2, twips::rect(120, 960, 3255, 330));

    // Extension rules.
    Frame3 = frame("Frame3", text::extensionRules, Fram, twips::rect(5640, 0, 2430, 1500));
    ExNo = option("ExNo", text::noChange, Frame3, twips::rect(1200, 270, 1110, 255));
    ExDel = option("ExDel", text::remove, Frame3, twips::rect(120, 270, 1035, 255));
    ExRen = option("ExRen", text::change, Frame3, twips::rect(1200, 600, 1110, 255));
    txtEX = textBox("txtEX", Frame3, twips::rect(120, 960, 2190, 330));

    // Numbering.
    Frame4 = frame("Frame4", text::numbering, Fram, twips::rect(2160, 0, 3405, 1500));
    Numno = option("Numno", text::noChange, Frame4, twips::rect(2220, 270, 1095, 255));
    NumA = option("NumA", text::insertBefore, Frame4, twips::rect(1140, 270, 1050, 255));
    NumB = option("NumB", text::insertAfter, Frame4, twips::rect(60, 270, 1050, 255));
    Label5 = label("Label5", text::start, Frame4, twips::rect(2580, 630, 735, 255));
    txtStart = textBox("txtStart", Frame4, twips::rect(1920, 600, 615, 315));
    Label6 = label("Label6", text::step, Frame4, twips::rect(1140, 630, 735, 255));
    txtStep = textBox("txtStep", Frame4, twips::rect(480, 600, 615, 315));
    Label7 = label("Label7", text::zeros, Frame4, twips::rect(2580, 1020, 735, 255));
    txtZ = textBox("txtZ", Frame4, twips::rect(1920, 990, 615, 315));
    CmdNum = button(stored, "CmdNum", Frame4, twips::rect(480, 975, 1395, 360));
    // The numbering options and labels repeat their captions as tooltips.
    for (QRadioButton *o : {Numno, NumA, NumB})
        o->setToolTip(o->text());
    for (QLabel *l : {Label5, Label6, Label7})
        l->setToolTip(l->text());

    // Letter case.
    Frame5 = frame("Frame5", text::letterCase, Fram, twips::rect(0, 0, 2085, 1500));
    Nno = option("Nno", text::noChange, Frame5, twips::rect(120, 240, 1845, 255));
    NB = option("NB", text::capitals, Frame5, twips::rect(120, 525, 1845, 255));
    NF = option("NF", text::smalls, Frame5, twips::rect(120, 810, 1845, 255));
    NS = option("NS", text::firstCapital, Frame5, twips::rect(120, 1095, 1845, 255));

    // Exclusion.
    Frame6 = frame("Frame6", text::exclusion, Fram, twips::rect(4770, 1560, 3300, 975));
    chkKeepOffSomeFl = named(new QCheckBox(text::exclusion), "chkKeepOffSomeFl", Frame6,
                             twips::rect(90, 240, 3120, 255));
    chkKeepOffSomeFl->setToolTip(text::exclusion);
    cmdAntiSlct = button(stored, "cmdAntiSlct", Frame6, twips::rect(1710, 555, 1500, 345));
    cmdDestorySlct = button(stored, "cmdDestorySlct", Frame6, twips::rect(90, 555, 1500, 345));

    // Replace line, filter and undo, directly on the pane.
    Label8 = label("Label8", text::replace, Fram, twips::rect(3960, 1650, 705, 255));
    txtDel = textBox("txtDel", Fram, twips::rect(2400, 1620, 1500, 315));
    Label9 = label("Label9", text::with, Fram, twips::rect(2130, 1650, 225, 255));
    txtW = textBox("txtW", Fram, twips::rect(570, 1620, 1500, 315));
    Label1 = label("Label1", text::chooseExtension, Fram, twips::rect(3660, 2085, 1005, 255));
    txtP = textBox("txtP", Fram, twips::rect(2400, 2055, 1200, 315));
    txtP->setToolTip(text::extensionTip);
    cmdUnRename = button(stored, "cmdUnRename", Fram, twips::rect(120, 2025, 1935, 405));

    // Our font and the style's frame titles need more room than the design's.
    for (QGroupBox *f : {Frame2, Frame3, Frame4, Frame5, Frame6})
        textfit::fitFrame(f);
}

namespace {

// What the properties pane needs of the window: File1 and its selection,
// txtPath, the name-rules pane, the pane switch and the reload after a delete.
class PropertiesPaneHost : public QObject, public lorvane::PropertiesHost
{
public:
    explicit PropertiesPaneHost(Form1 &form) : QObject(&form), m_form(form) {}

    // File1 always lists the folder txtPath names (Form1::listFolder).
    QString folder() const override { return m_form.File1Model()->path(); }
    // Only an entry the user can see selected counts, so that a delete never
    // falls on a file that merely holds the list's focus.
    QString file1SelectedEntry() const override
    {
        const QModelIndex current = m_form.File1->currentIndex();
        if (!current.isValid() || current.row() >= m_form.File1Model()->count() ||
            !m_form.File1Selected(current.row()))
            return QString();
        return m_form.File1Model()->name(current.row());
    }
    void setFile1Enabled(bool enabled) override { m_form.File1->setEnabled(enabled); }
    void setFile1ToolTip(const QString &tip) override { m_form.File1->setToolTip(tip); }
    void chkKeepOffSomeFl_Click() override { m_form.chkKeepOffSomeFl_Click(); }
    void setFramVisible(bool visible) override { m_form.Fram->setVisible(visible); }
    lorvane::CmdButton *cmdTO() override { return m_form.cmdTO; }
    void file1RefreshAndFormLoad() override
    {
        m_form.File1Model()->refresh();
        m_form.Form_Load();
    }

private:
    Form1 &m_form;
};

} // namespace

// The properties pane, in the rules pane's place and hidden by Form_Load.
void Form1::createPropertiesPane()
{
    auto *pane = new lorvane::PropertiesPane(*new PropertiesPaneHost(*this), this);
    pane->move(twips::toPixels(120), twips::toPixels(6000));
    Frame = pane;
}

// Only empty space of the window and of its two panes answers the placement
// gestures; every other control keeps its mouse events to itself.
void Form1::keepMouseToThemselves()
{
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w != Fram && w != Frame)
            w->setAttribute(Qt::WA_NoMousePropagation);
    }
}

// The widgets show the engine's models and hand every user action to them;
// what a rule does is the engine's alone.
void Form1::bindRules()
{
    for (QLineEdit *box : {txtFil, txtDel, txtW, txtEX, txtP, txtStart, txtStep, txtZ})
        bindTextBox(box);
    for (QRadioButton *radio : {Filno, FilDel, reFil, FilAf, FilBe, ExNo, ExDel, ExRen, Nno, NB, NF,
                                NS, Numno, NumA, NumB})
        bindOption(radio);
    Numno->installEventFilter(this);
    connect(CmdNum, &lorvane::CmdButton::Click, m_engine, &lorvane::RenameEngine::CmdNum_Click);

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        // Focus that leaves for another window (a message box, the About window)
        // comes back to the same control: the engine sees no change.
        if (now && now->window() == this)
            m_engine->setFocusControl(now->objectName());
    });
    connect(m_engine, &lorvane::RenameEngine::focusRequested, this, [this](const QString &name) {
        if (QWidget *target = findChild<QWidget *>(name))
            target->setFocus(Qt::OtherFocusReason);
    });
}

void Form1::bindTextBox(QLineEdit *box)
{
    lorvane::TextBox *model = m_engine->textBox(box->objectName());
    Q_ASSERT(model);
    m_boxModels.insert(box, model);
    box->setText(model->text());
    box->setEnabled(model->isEnabled());
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, model, &lorvane::TextBox::userEdit);
    connect(model, &lorvane::TextBox::textChanged, box, [box](const QString &text) {
        if (box->text() == text)
            return;
        const QSignalBlocker blocker(box);
        box->setText(text);
    });
    connect(model, &lorvane::TextBox::enabledChanged, box, &QWidget::setEnabled);
    connect(model, &lorvane::TextBox::selectAllRequested, box, &QLineEdit::selectAll);
    connect(model, &lorvane::TextBox::caretToEndRequested, box, [box] { box->end(false); });
}

void Form1::bindOption(QRadioButton *radio)
{
    lorvane::OptionButton *model = m_engine->option(radio->objectName());
    Q_ASSERT(model);
    // The engine keeps each group exclusive; the widgets only show it.
    radio->setAutoExclusive(false);
    radio->setChecked(model->isSelected());
    radio->setEnabled(model->isEnabled());
    connect(radio, &QAbstractButton::clicked, model, [radio, model] {
        model->select();
        if (radio->isChecked() != model->isSelected()) {
            const QSignalBlocker blocker(radio);
            radio->setChecked(model->isSelected());
        }
    });
    connect(model, &lorvane::OptionButton::selectedChanged, radio, [radio](bool selected) {
        const QSignalBlocker blocker(radio);
        radio->setChecked(selected);
    });
    connect(model, &lorvane::OptionButton::enabledChanged, radio, &QWidget::setEnabled);
}

bool Form1::File1Selected(int row) const
{
    return File1->selectionModel()->isRowSelected(row, {});
}

void Form1::setFile1Selected(int row, bool selected)
{
    const QModelIndex index = m_file1Model->index(row);
    File1->selectionModel()->select(index, selected ? QItemSelectionModel::Select
                                                    : QItemSelectionModel::Deselect);
}

QStringList Form1::List1Names() const
{
    return m_engine->List1().entries();
}

void Form1::Form_Load()
{
    // Rule state reset, List1 refilled from File1, refused characters.
    m_engine->Form_Load();
    File1->setEnabled(false);
    Frame->hide();
    show();
    // The tree starts again on the start folder and hands it on, as every
    // selection does; an unchanged folder lists nothing again.
    const QSignalBlocker blocker(folderTree);
    if (!folderTree->selectFolder(m_startFolder))
        folderTree->selectFolder(QStringLiteral("/"));
    BrowsePath = folderTree->currentFolder();
    PathChange();
}

void Form1::PathChange()
{
    txtPath->setText(BrowsePath);
}

void Form1::PathChange(const QString &path)
{
    // When the tree cannot show the folder, no other folder stays marked
    // in it as if it were the one listed.
    {
        const QSignalBlocker blocker(folderTree);
        if (!folderTree->selectFolder(path))
            folderTree->selectionModel()->clear();
    }
    BrowsePath = path;
    PathChange();
}

void Form1::txtPath_Change()
{
    listFolder();
}

void Form1::listFolder()
{
    const int error = m_file1Model->setPath(txtPath->text());
    m_engine->folderListed();
    if (error != 0)
        tellFolderCannotBeListed(error);
}

void Form1::tellFolderCannotBeListed(int error)
{
    QString reason;
    switch (error) {
    case EACCES:
    case EPERM:
        reason = text::noReadPermission;
        break;
    case ENOENT:
        reason = text::folderGone;
        break;
    case ENOTDIR:
        reason = text::notAFolder;
        break;
    default:
        reason = lorvane::systemErrorText(error);
    }
    lorvane::Message(text::cannotList + u'\n' + lorvane::isolatedName(m_file1Model->path()) +
                         u'\n' + reason,
                     QMessageBox::Warning)
        .exec(this);
}

void Form1::File1_DblClick()
{
    const int row = File1->currentIndex().row();
    if (row < 0 || row >= m_file1Model->count())
        return;
    auto *launch =
        lorvane::DetachedLaunch::openWithAssociatedProgram(m_file1Model->fullPathBytes(row), this);
    connect(launch, &lorvane::DetachedLaunch::failed, this,
            [this] { lorvane::Message(text::cannotOpen, QMessageBox::Critical).exec(this); });
}

void Form1::chkKeepOffSomeFl_Click()
{
    const bool on = chkKeepOffSomeFl->isChecked();
    if (on) {
        File1->setEnabled(true);
        List1->setEnabled(true);
        cmdAntiSlct->setButtonEnabled(true);
        cmdDestorySlct->setButtonEnabled(true);
        File1->setToolTip(text::excludeTip);
        return;
    }
    cmdDestorySlct_Click();
    File1->setEnabled(false);
    List1->setEnabled(false);
    cmdAntiSlct->setButtonEnabled(false);
    cmdDestorySlct->setButtonEnabled(false);
}

void Form1::SelectList1()
{
    if (!List1->selectionModel() || !File1->selectionModel())
        return;
    m_mirroring = true;
    QItemSelection mirror;
    for (const QItemSelectionRange &range : File1->selectionModel()->selection()) {
        const QModelIndex top = List1->model()->index(range.top(), 0);
        const QModelIndex bottom = List1->model()->index(range.bottom(), 0);
        if (top.isValid() && bottom.isValid())
            mirror.select(top, bottom);
    }
    List1->selectionModel()->select(mirror, QItemSelectionModel::ClearAndSelect);
    m_mirroring = false;
}

// Excluded files keep their names, which may then clash with new ones.
void Form1::markExcluded()
{
    std::vector<bool> excluded(size_t(m_file1Model->count()), false);
    for (const QItemSelectionRange &range : File1->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            excluded[size_t(row)] = true;
    }
    m_clashes->setExcluded(std::move(excluded));
}

void Form1::List1_SelectionChanged()
{
    // A click on the preview never changes what is excluded: the mirror of
    // File1's selection is put back at once.
    if (!m_mirroring)
        SelectList1();
}

void Form1::cmdAntiSlct_Click()
{
    const int n = m_file1Model->count();
    if (n == 0)
        return;
    const QItemSelection all(m_file1Model->index(0), m_file1Model->index(n - 1));
    File1->selectionModel()->select(all, QItemSelectionModel::Toggle);
    SelectList1();
}

void Form1::cmdDestorySlct_Click()
{
    File1->selectionModel()->clearSelection();
    if (List1->selectionModel())
        List1->selectionModel()->clearSelection();
}

void Form1::resetRuleGroups()
{
    m_engine->resetRuleGroups();
}

void Form1::CmdDoNow_Click()
{
    RenameCommands::of(*this).CmdDoNow_Click();
}

void Form1::cmdUnRename_Click()
{
    RenameCommands::of(*this).cmdUnRename_Click();
}

void Form1::cmdAbout_Click()
{
    // To the top-left corner and to the front, without changing its topmost state.
    move(0, 0);
    raise();
    Form2 about(this);
    about.exec();
}

void Form1::CmdEnd_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    bool cancel = true;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    m_endProgram();
}

void Form1::Form_Unload(bool &cancel)
{
    cancel = true;
    if (lorvane::Message(text::askExit, QMessageBox::Question)
            .buttons(QMessageBox::Yes | QMessageBox::No)
            .exec(this) != QMessageBox::Yes)
        return;
    cancel = false;
}

bool Form1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_activationPending)
        postActivation();
    return QWidget::event(event);
}

// The activation handler runs from the event loop, so that the hint never
// opens inside the event handling of the box or window that just closed.
void Form1::postActivation()
{
    if (m_hintPosted)
        return;
    m_hintPosted = true;
    QTimer::singleShot(0, this, [this] {
        m_hintPosted = false;
        if (!m_activationPending || !isVisible() || QApplication::activeModalWidget())
            return;
        if (!isActiveWindow()) {
            // The window comes back to the front itself; its activation
            // brings this here again.
            activateWindow();
            return;
        }
        m_activationPending = false;
        Form_Activate();
    });
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (lorvane::TextBox *box = m_boxModels.value(watched)) {
        if (event->type() == QEvent::KeyPress) {
            const QString typed = static_cast<QKeyEvent *>(event)->text();
            if (!typed.isEmpty() && !box->keyPress(typed))
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // The box's Click follows the release, after the box has seen it.
            QTimer::singleShot(0, box, [box] { box->click(); });
        }
        return false;
    }
    if (watched == Numno && event->type() == QEvent::MouseButtonRelease) {
        // After the option's own Click, which the release itself runs.
        QTimer::singleShot(0, m_engine, [this] { m_engine->Numno_MouseUp(); });
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_Activate()
{
    lorvane::UserSettings settings;
    if (settings.value(settingsSection, hintKey, QStringLiteral("Y")) == u"N")
        return;
    const auto answer = lorvane::Message(startupHint(), QMessageBox::Information)
                            .buttons(QMessageBox::Yes | QMessageBox::No)
                            .exec(this);
    settings.setValue(settingsSection, hintKey,
                      answer == QMessageBox::Yes ? QStringLiteral("Y") : QStringLiteral("N"));
}

void Form1::placeWindow(bool stayOnTop)
{
    // The size stays as it is: only the place and the topmost state change.
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != stayOnTop) {
        const bool visible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
        if (visible)
            show();
    }
    move(0, 0);
}

void Form1::mouseDoubleClickEvent(QMouseEvent *event)
{
    placeWindow(true);
    event->accept();
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        placeWindow(false);
    event->accept();
}
