#include "PropertiesPane.h"

#include "BitmapFile.h"
#include "CmdButton.h"
#include "DosAttributes.h"
#include "FileCommonDialog.h"
#include "FileTrash.h"
#include "FileTypeInfo.h"
#include "FolderHandle.h"
#include "FolderIcon.h"
#include "PaneTexts.h"
#include "PrivateProfile.h"
#include "PropertiesHost.h"
#include "ServiceResult.h"
#include "ShowFolder.h"
#include "StoredButtons.h"
#include "TextFit.h"
#include "Twips.h"

#include "MessageBox.h"
#include "ShownName.h"
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

static void initPropertiesResources()
{
    Q_INIT_RESOURCE(properties);
}

namespace lorvane {

namespace {

struct BoxDesign
{
    const QString &caption;
    quint32 bit;
    bool editable;
    bool captionIsToolTip;
};

const std::array<BoxDesign, 8> &boxDesigns()
{
    static const std::array<BoxDesign, 8> designs = {{
        {pane::ReadOnlyText, dos::ReadOnly, true, true},
        {pane::HiddenText, dos::Hidden, true, false},
        {pane::SystemText, dos::System, true, false},
        {pane::FolderText, dos::Directory, false, false},
        {pane::ArchiveText, dos::Archive, true, false},
        {pane::NormalText, dos::Normal, true, false},
        {pane::TemporaryText, dos::Temporary, true, false},
        {pane::CompressedText, dos::Compressed, false, true},
    }};
    return designs;
}

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

PropertiesPane::PropertiesPane(PropertiesHost &host, QWidget *parent)
    : QFrame(parent), m_host(host), m_coco(std::make_unique<FileCommonDialog>(this)),
      m_openFolder(showFolderInFileManager), m_programFolder(QCoreApplication::applicationDirPath())
{
    initPropertiesResources();
    setObjectName(QStringLiteral("Frame"));
    setFrameShape(QFrame::NoFrame);
    setLayoutDirection(Qt::RightToLeft);
    setFixedSize(twips::toPixels(11655), twips::toPixels(2535));
    buildControls();
    hide();
}

PropertiesPane::~PropertiesPane() = default;

void PropertiesPane::setCommonDialog(std::unique_ptr<CommonDialog> dialog)
{
    m_coco = std::move(dialog);
}

void PropertiesPane::setFolderOpener(std::function<ServiceResult(const QString &)> opener)
{
    m_openFolder = std::move(opener);
}

CmdButton *PropertiesPane::button(const QString &name, QWidget *parent, int left, int top,
                                  int width, int height)
{
    static const StoredButtons stored =
        StoredButtons::load(QStringLiteral(":/properties/PropertiesPane.buttons"));
    CmdButton *b = stored.create(name, parent);
    b->setGeometry(twips::rect(left, top, width, height));
    return b;
}

void PropertiesPane::buildControls()
{
    m_frame9 = new QGroupBox(pane::FilePropertiesText, this);
    m_frame9->setObjectName(QStringLiteral("Frame9"));
    m_frame9->setGeometry(twips::rect(5880, 0, 5775, 1500));
    for (int k = 0; k < 8; ++k) {
        const BoxDesign &design = boxDesigns()[size_t(k)];
        auto *box = new QCheckBox(design.caption, m_frame9);
        box->setObjectName(QStringLiteral("Check1_%1").arg(k));
        if (design.captionIsToolTip)
            box->setToolTip(design.caption);
        // Three rows of three, read from the right.
        const int column = k % 3;
        box->setGeometry(twips::rect(3840 - column * 1860, 255 + (k / 3) * 285, 1815, 285));
        box->setEnabled(false);
        m_check1[size_t(k)] = box;
    }
    m_cmdChangeAttr = button(QStringLiteral("cmdChangeAttr"), m_frame9, 1860, 1110, 3795, 330);
    connect(m_cmdChangeAttr, &CmdButton::Click, this, &PropertiesPane::cmdChangeAttr_Click);

    m_frame8 = new QGroupBox(pane::IconsFrameText, this);
    m_frame8->setObjectName(QStringLiteral("Frame8"));
    m_frame8->setGeometry(twips::rect(120, 0, 3600, 1020));
    const std::array<QRect, 2> boxes = {twips::rect(2985, 300, 495, 495),
                                        twips::rect(2400, 300, 495, 375)};
    const std::array<const QString *, 2> tips = {&pane::LargeIconToolTip, &pane::SmallIconToolTip};
    for (int i = 0; i < 2; ++i) {
        auto *pic = new QLabel(m_frame8);
        pic->setObjectName(QStringLiteral("picIcon_%1").arg(i));
        pic->setGeometry(boxes[size_t(i)]);
        pic->setToolTip(*tips[size_t(i)]);
        pic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        pic->setAutoFillBackground(true);
        m_picIcon[size_t(i)] = pic;
    }
    m_cmdSaveIcon = button(QStringLiteral("CmdSaveIcon"), m_frame8, 120, 270, 2040, 330);
    m_cmdChangeIcon = button(QStringLiteral("cmdChangeIcon"), m_frame8, 120, 630, 2040, 330);
    connect(m_cmdSaveIcon, &CmdButton::Click, this, &PropertiesPane::CmdSaveIcon_Click);
    connect(m_cmdChangeIcon, &CmdButton::Click, this, &PropertiesPane::cmdChangeIcon_Click);

    m_chkChangeAttr = new QCheckBox(pane::chkChangeAttrCaption, this);
    m_chkChangeAttr->setObjectName(QStringLiteral("chkChangeAttr"));
    m_chkChangeAttr->setGeometry(twips::rect(5880, 1560, 2100, 345));
    connect(m_chkChangeAttr, &QCheckBox::clicked, this, &PropertiesPane::chkChangeAttr_Click);

    // The middle column is shared with cmdTO, which comes to rest at 3960,
    // 7080 of the window (3840, 1080 here); the window's own buttons take the
    // lower right corner (from 8040, 1560 here).
    m_cmdAttr = button(QStringLiteral("cmdAttr"), this, 3840, 360, 1935, 375);
    connect(m_cmdAttr, &CmdButton::Click, this, &PropertiesPane::cmdAttr_Click);

    m_lblType = new QLabel(pane::TypePrefix, this);
    m_lblType->setObjectName(QStringLiteral("lblType"));
    m_lblType->setToolTip(pane::TypeToolTip);
    m_lblType->setGeometry(twips::rect(3840, 1980, 4140, 345));

    m_cmdDel = button(QStringLiteral("cmdDel"), this, 120, 1140, 3600, 375);
    m_cmdKill = button(QStringLiteral("cmdKill"), this, 120, 1620, 3600, 375);
    m_cmdOpen = button(QStringLiteral("cmdOpen"), this, 120, 2100, 3600, 375);
    connect(m_cmdDel, &CmdButton::Click, this, &PropertiesPane::cmdDel_Click);
    connect(m_cmdKill, &CmdButton::Click, this, &PropertiesPane::cmdKill_Click);
    connect(m_cmdOpen, &CmdButton::Click, this, &PropertiesPane::cmdOpen_Click);

    for (QGroupBox *frame : {m_frame9, m_frame8})
        textfit::fitFrame(frame);
}

quint8 PropertiesPane::Bool(quint16 value)
{
    return value != 0 ? 1 : 0;
}

quint32 PropertiesPane::attributeBit(int box)
{
    return boxDesigns()[size_t(box)].bit;
}

QString PropertiesPane::file1Folder() const
{
    return withSlash(m_host.folder());
}

QString PropertiesPane::selectedTarget() const
{
    const QString entry = m_host.file1SelectedEntry();
    if (entry.isEmpty())
        return QString();
    return file1Folder() + entry;
}

bool PropertiesPane::ask(const QString &text, int icon, Answer onEnter)
{
    return Message(text, QMessageBox::Icon(icon))
               .buttons(QMessageBox::Yes | QMessageBox::No)
               .defaultButton(onEnter == Answer::No ? QMessageBox::No : QMessageBox::Yes)
               .exec(this) == QMessageBox::Yes;
}

void PropertiesPane::report(const QString &text, const ServiceResult &result)
{
    Message(text + QLatin1Char('\n') + result.reason(), QMessageBox::Critical).exec(this);
}

void PropertiesPane::cmdTO_Click()
{
    CmdButton *cmdTO = m_host.cmdTO();
    ++m_cmdTOCount;
    if (propertiesShown()) {
        cmdTO->setCaption(pane::FileNamesText);
        m_host.setFramVisible(false);
        show();
        m_host.setFile1ToolTip(pane::File1OpenToolTip);
        cmdTO->move(twips::toPixels(3960), twips::toPixels(7080));
        m_host.setFile1Enabled(true);
        return;
    }
    cmdTO->setCaption(pane::FilePropertiesText);
    m_host.setFramVisible(true);
    hide();
    cmdTO->move(twips::toPixels(9600), twips::toPixels(7560));
    m_host.chkKeepOffSomeFl_Click();
    m_host.setFile1ToolTip(pane::File1ExcludeToolTip);
}

void PropertiesPane::cmdAttr_Click()
{
    // With no entry selected the folder itself is examined.
    m_selectedPath = file1Folder() + m_host.file1SelectedEntry();
    const FileTypeInfo info = fileTypeInfo(m_selectedPath);
    const DosAttributesRead attributes = readDosAttributes(m_selectedPath);
    if (!info.result.ok() || !attributes.result.ok()) {
        Message(pane::NoInformationText + QLatin1Char('\n') + isolatedName(m_selectedPath))
            .exec(this);
        return;
    }
    DisplayIcon(info.largeIcon, 0, 32);
    DisplayIcon(info.smallIcon, 1, 16);
    m_lblType->setText(pane::TypePrefix + info.typeName);
    for (int k = 0; k < 8; ++k) {
        const quint8 value = Bool(quint16(attributes.word & attributeBit(k)));
        m_check1[size_t(k)]->setChecked(value == 1);
        m_attrSnapshot[size_t(k)] = value;
    }
}

void PropertiesPane::DisplayIcon(const QImage &icon, int index, int size)
{
    QLabel *box = m_picIcon[size_t(index)];
    QImage picture(box->size(), QImage::Format_RGB32);
    picture.fill(box->palette().color(box->backgroundRole()));
    m_pictures[size_t(index)] = picture;
    box->setPixmap(QPixmap::fromImage(picture));
    if (icon.isNull()) {
        Message(pane::NoIconText).exec(this);
        return;
    }
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, size, size), icon);
    }
    m_pictures[size_t(index)] = picture;
    box->setPixmap(QPixmap::fromImage(picture));
}

void PropertiesPane::chkChangeAttr_Click()
{
    if (m_chkChangeAttr->isChecked()) {
        for (QCheckBox *box : m_check1)
            box->setEnabled(true);
        m_cmdChangeAttr->setButtonEnabled(true);
        if (!m_selectedPath.isEmpty()) {
            m_check1[3]->setEnabled(false);
            m_check1[7]->setEnabled(false);
            return;
        }
        // Nothing loaded yet: editing is refused at once.
        m_chkChangeAttr->setChecked(false);
    }
    for (int k = 0; k < 8; ++k) {
        m_check1[size_t(k)]->setEnabled(false);
        m_check1[size_t(k)]->setChecked(m_attrSnapshot[size_t(k)] != 0);
    }
    m_cmdChangeAttr->setButtonEnabled(false);
}

void PropertiesPane::cmdChangeAttr_Click()
{
    if (!ask(pane::ConfirmAttributesText, QMessageBox::Information))
        return;
    quint32 word = 0;
    for (int k = 0; k < 8; ++k) {
        if (boxDesigns()[size_t(k)].editable && m_check1[size_t(k)]->isChecked())
            word |= attributeBit(k);
    }
    // Before any cmdAttr there is no file to write to.
    if (m_selectedPath.isEmpty())
        return;
    const ServiceResult written = writeDosAttributes(m_selectedPath, word);
    if (!written.ok())
        report(pane::AttributesFailedText, written);
}

void PropertiesPane::CmdSaveIcon_Click()
{
    m_coco->setFileName(QDir(m_programFolder).filePath(QStringLiteral("Icons/icon.bmp")));
    m_coco->setDialogTitle(pane::ChoosePathTitle);
    m_coco->setFilter(pane::BitmapFilter);
    if (m_coco->ShowSave() != CommonDialog::Answer::Accepted)
        return;
    const QString path = m_coco->FileName();
    if (!path.endsWith(pane::BitmapSuffix, Qt::CaseSensitive))
        return;
    const ServiceResult saved = saveBitmap(largeIconPicture(), path);
    if (!saved.ok())
        report(pane::SaveIconFailedText, saved);
}

QImage PropertiesPane::largeIconPicture() const
{
    if (m_pictures[0].isNull())
        return QImage();
    return m_pictures[0].copy(0, 0, 32, 32);
}

void PropertiesPane::cmdChangeIcon_Click()
{
    // The folder asked about is the one written into, whatever happens to
    // the window meanwhile.
    const QString folderPath = m_host.folder();
    if (!ask(pane::ConfirmFolderIconText + isolatedName(folderPath), QMessageBox::Information))
        return;
    m_coco->setDialogTitle(pane::ChooseIconTitle);
    m_coco->setFilter(pane::IconFilter);
    const QDir icons(QDir(m_programFolder).filePath(QStringLiteral("Icons")));
    if (icons.exists())
        m_coco->setFileName(icons.filePath(QStringLiteral("Icon1")));
    if (m_coco->ShowOpen() != CommonDialog::Answer::Accepted)
        return;
    const QString chosen = m_coco->FileName();
    if (chosen.isEmpty() || !chosen.endsWith(pane::IconSuffix, Qt::CaseSensitive))
        return;
    const QString iconName = chosen.mid(chosen.lastIndexOf(QLatin1Char('/')) + 1);
    // The name becomes a line of desktop.ini: a line break in it would add
    // lines of its own.
    if (iconName.contains(QLatin1Char('\n')) || iconName.contains(QLatin1Char('\r'))) {
        report(pane::FolderIconFailedText,
               ServiceResult::failure(pane::IconNameRefusedText + QLatin1Char('\n') + chosen));
        return;
    }
    const FolderHandle folder(folderPath);
    if (!folder.status().ok()) {
        report(pane::FolderIconFailedText, folder.status());
        return;
    }
    if (const ServiceResult copied = copyIconFile(chosen, folder, iconName); !copied.ok()) {
        report(pane::FolderIconFailedText, copied);
        return;
    }

    m_iniEntries = {{{QStringLiteral("IconFile"), iconName},
                     {QStringLiteral("IconIndex"), QStringLiteral("0")},
                     {QStringLiteral("ConfirmFileOp"), QStringLiteral("0")},
                     {QStringLiteral("OriginalIcon"), QStringLiteral("%")}}};
    const QString ini = QStringLiteral("desktop.ini");
    for (const auto &[key, value] : m_iniEntries) {
        const ServiceResult written =
            writePrivateProfileString(QStringLiteral(".ShellClassInfo"), key, value, folder, ini);
        if (!written.ok()) {
            report(pane::FolderIconFailedText, written);
            return;
        }
    }

    // The rest makes desktops show the icon; each failure is told, none
    // undoes what was written.
    const ServiceResult steps[] = {
        markHiddenAndSystem(folder, ini),
        markHiddenAndSystem(folder, iconName),
        markFolderCustomized(folder),
        writeDirectoryIcon(folder, folder.filePath(iconName)),
    };
    QStringList failures;
    for (const ServiceResult &step : steps) {
        if (!step.ok())
            failures.append(step.reason());
    }
    if (!failures.isEmpty())
        report(pane::FolderIconFailedText,
               ServiceResult::failure(failures.join(QLatin1Char('\n'))));
}

void PropertiesPane::cmdDel_Click()
{
    // With nothing selected the path would name the folder itself.
    const QString target = selectedTarget();
    if (target.isEmpty())
        return;
    if (ask(pane::ConfirmTrashText, QMessageBox::Critical, Answer::No)) {
        const TrashResult trashed = moveFileToTrash(target);
        if (!trashed.result.ok())
            report(pane::DeleteFailedText, trashed.result);
    }
    m_host.file1RefreshAndFormLoad();
}

void PropertiesPane::cmdKill_Click()
{
    const QString target = selectedTarget();
    if (target.isEmpty())
        return;
    if (ask(pane::ConfirmKillText, QMessageBox::Information, Answer::No)) {
        const ServiceResult deleted = deleteFilePermanently(target);
        if (!deleted.ok())
            report(pane::DeleteFailedText, deleted);
    }
    m_host.file1RefreshAndFormLoad();
}

void PropertiesPane::cmdOpen_Click()
{
    const ServiceResult shown = m_openFolder(m_host.folder());
    if (!shown.ok())
        report(pane::OpenFolderFailedText, shown);
}

} // namespace lorvane
