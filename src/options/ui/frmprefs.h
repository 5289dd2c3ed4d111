#pragma once
// The options dialog: the user options on three tabs, filled from appOptions when the
// dialog opens; "Apply" stores them and carries each change into the running program
// at once (tray icon, list view, font size, list sizes, the main window's mirror boxes,
// the Web Aspect style, the start-up entry); "Close" drops what was not applied.
#include <QDialog>
#include <QHash>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace rr
{

class Commands;
class FrameOptions;
class frmVardecks;
class OpenDatabase;
class qbButtons_H;

class frmPrefs : public QDialog
{
    Q_OBJECT
public:
    // Apply runs the window's commands that show an option, asks the parts offered on
    // the window (parts, on which nothing else is called) to show theirs, reads the open
    // database's name and folder, and sets the frame's font size, tray icon and Aspect's
    // page.
    frmPrefs(Commands &commands, OpenDatabase &db, FrameOptions &frame, const QObject &parts,
             QWidget *parent = nullptr);

    void cmdApply_Click();
    void chk_Click(int index);
    void cmb_Click(int index);

    // The label lbl(28) under the browser choice: the chosen browser's program.
    static constexpr int kBrowserPathLabel = 28;

private:
    QCheckBox *chk(int index) const { return m_chk.value(index); }
    QRadioButton *opt(int index) const { return m_opt.value(index); }
    QRadioButton *optIcon(int index) const { return m_optIcon.value(index); }
    QRadioButton *optFont(int index) const { return m_optFont.value(index); }
    QComboBox *cmb(int index) const { return m_cmb.value(index); }
    QLineEdit *txtt(int index) const { return m_txtt.value(index); }
    QLabel *lbl(int index) const { return m_lbl.value(index); }

    QTabWidget *tabPrefs = nullptr;
    QCheckBox *chkShow = nullptr;
    qbButtons_H *cmdCancel = nullptr;
    qbButtons_H *cmdApply = nullptr;

    void buildApplicationTab(QWidget *page);
    void buildVardecksTab(QWidget *page);
    void buildUserInterfaceTab(QWidget *page);
    void Form_Load();
    // The Apply steps that reach beyond the options.
    void applyTray();
    // The size in box txtt(box), or nothing after the message and the reset text.
    std::optional<int> applyListSize(int box, const QString &message);
    void applyWebStyle();
    void applyStartupEntry();

    QCheckBox *addCheck(QWidget *parent, int index, const QString &caption);
    QRadioButton *addOption(QHash<int, QRadioButton *> &array, const char *arrayName, QWidget *parent, int index,
                            const QString &caption);

    Commands &m_commands;
    OpenDatabase &m_db;
    FrameOptions &m_frame;
    const QObject &m_parts;
    QHash<int, QCheckBox *> m_chk;
    QHash<int, QRadioButton *> m_opt;
    QHash<int, QRadioButton *> m_optIcon;
    QHash<int, QRadioButton *> m_optFont;
    QHash<int, QComboBox *> m_cmb;
    QHash<int, QLineEdit *> m_txtt;
    QHash<int, QLabel *> m_lbl;
};

// Tools > Options and the toolbar's options button open the dialog modally.
void installOptionsDialog(frmVardecks &window);

} // namespace rr
