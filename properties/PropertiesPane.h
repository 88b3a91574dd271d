#pragma once

#include <QFrame>
#include <QImage>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;

namespace lorvane {

class CmdButton;
class CommonDialog;
class PropertiesHost;
class ServiceResult;

// The properties pane `Frame` of the main window: the icons, type and
// attributes of the file selected in File1, attribute editing, saving the
// icon as a bitmap, a custom folder icon, trash, permanent delete and showing
// the folder. Its controls carry their given names (cmdAttr, Check1_0 ...
// Check1_7, picIcon_0, picIcon_1, lblType, chkChangeAttr, cmdChangeAttr,
// Frame8, Frame9, CmdSaveIcon, cmdChangeIcon, cmdDel, cmdKill, cmdOpen).
//
// The pane is hidden at start. cmdTO_Click() is the pane switch; the host
// connects its cmdTO button to it and hides the pane in its load step.
class PropertiesPane : public QFrame
{
    Q_OBJECT

public:
    explicit PropertiesPane(PropertiesHost &host, QWidget *parent = nullptr);
    ~PropertiesPane() override;

    // Replaces the common dialog (tests answer it themselves).
    void setCommonDialog(std::unique_ptr<CommonDialog> dialog);
    CommonDialog &Coco() { return *m_coco; }
    // The folder whose "Icons" subfolder holds the icons and saved bitmaps;
    // the program's own folder unless set.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    // How cmdOpen shows a folder; the desktop's file manager unless set.
    void setFolderOpener(std::function<ServiceResult(const QString &)> opener);

    // Switches between the name-rules pane and this one.
    void cmdTO_Click();
    void cmdAttr_Click();
    void chkChangeAttr_Click();
    void cmdChangeAttr_Click();
    void CmdSaveIcon_Click();
    void cmdChangeIcon_Click();
    void cmdDel_Click();
    void cmdKill_Click();
    void cmdOpen_Click();

    // Draws `icon` into picIcon(index) at size x size pixels.
    void DisplayIcon(const QImage &icon, int index, int size);
    // 1 when `value` is not 0, else 0: a masked attribute bit as a box value.
    static quint8 Bool(quint16 value);

    QString SelectedPath() const { return m_selectedPath; }
    const std::array<quint16, 8> &AttrSnapshot() const { return m_attrSnapshot; }
    // The 32 x 32 picture of picIcon(0) as the box shows it; null before the
    // first icon was drawn.
    QImage largeIconPicture() const;
    // Whether the properties pane is the one shown (odd cmdTO count).
    bool propertiesShown() const { return m_cmdTOCount % 2 == 1; }

    // The attribute bit of box k, as stored in the attribute word.
    static quint32 attributeBit(int box);

private:
    void buildControls();
    CmdButton *button(const QString &name, QWidget *parent, int left, int top, int width,
                      int height);
    // The File1 folder with one "/" after it.
    QString file1Folder() const;
    QString selectedTarget() const;
    // Which answer Enter gives: a question whose Yes destroys something
    // answers No unless Yes is chosen on purpose.
    enum class Answer { Yes, No };
    bool ask(const QString &text, int icon, Answer onEnter = Answer::Yes);
    void report(const QString &text, const ServiceResult &result);

    PropertiesHost &m_host;
    std::unique_ptr<CommonDialog> m_coco;
    std::function<ServiceResult(const QString &)> m_openFolder;
    QString m_programFolder;

    QGroupBox *m_frame9 = nullptr;
    QGroupBox *m_frame8 = nullptr;
    std::array<QCheckBox *, 8> m_check1 = {};
    std::array<QLabel *, 2> m_picIcon = {};
    std::array<QImage, 2> m_pictures;
    QLabel *m_lblType = nullptr;
    QCheckBox *m_chkChangeAttr = nullptr;
    CmdButton *m_cmdAttr = nullptr;
    CmdButton *m_cmdChangeAttr = nullptr;
    CmdButton *m_cmdSaveIcon = nullptr;
    CmdButton *m_cmdChangeIcon = nullptr;
    CmdButton *m_cmdDel = nullptr;
    CmdButton *m_cmdKill = nullptr;
    CmdButton *m_cmdOpen = nullptr;

    QString m_selectedPath;
    std::array<quint16, 8> m_attrSnapshot = {};
    int m_cmdTOCount = 0;
    // IniEntries: key and value of the four rows written into desktop.ini.
    std::array<std::array<QString, 2>, 4> m_iniEntries;
};

} // namespace lorvane
