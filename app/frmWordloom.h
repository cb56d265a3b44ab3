#pragma once

#include "basLibStatusBar.h"
#include "Clipboard.h"
#include "TextPane.h"
#include "MainWindowLayout.h"
#include "WindowServices.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QResizeEvent;

namespace wordloom {

namespace ops {
enum class CommandId : std::uint8_t;
}

class CommandHost;
class FileDropRead;
struct DroppedText;

// A hidden scratch pane: only its whole text is ever used.
struct TextBuffer {
    QString text;
    QString Text() const { return text; }
    void setText(const QString &t) { text = t; }
};

// The main window: every control, the window-level state and the handlers.
class frmWordloom : public QMainWindow {
    Q_OBJECT
public:
    // The program passes the default services; a test, its stand-ins.
    explicit frmWordloom(WindowServices services = {}, QWidget *parent = nullptr);
    ~frmWordloom() override;

    // ShowStatus: the text in the status bar, pending events processed.
    void ShowStatus(const QString &text);

private:
    // True while a command handler runs (also one started from inside another).
    bool isRunningCommand() const { return runningHandlers_ > 0; }

    // Window-level state shared by the handlers.
    QString HyphenBreak;
    qint16 SaveDepth = 0;
    qint16 NestDepth = 0;
    QString SearchText;
    qint32 SearchPosition = -1;

    // Controls.
    TextPane *rtbText = nullptr;
    TextPane *rtbResult = nullptr;
    TextBuffer rtbWork;
    TextBuffer rtbSave;
    StatusBar *sbStatus = nullptr;
    // The commands' buttons by command id, made from the commands' descriptions.
    std::vector<QPushButton *> commandButtons_;
    QPushButton *cmdCancel = nullptr, *cmdExit = nullptr;
    QLabel *lblText = nullptr, *lblResult = nullptr;
    QFrame *line1[4] = {};
    QMenu *mnuTextPopup = nullptr;
    QAction *mnuAbout = nullptr, *mnuTextPopupCaption = nullptr, *mnuTextPopupCut = nullptr,
            *mnuTextPopupCopy = nullptr, *mnuTextPopupPaste = nullptr, *mnuTextPopupDelete = nullptr,
            *mnuTextPopupSelectAll = nullptr, *mnuTextPopupFind = nullptr, *mnuTextPopupWrap = nullptr;

    Dialogs &dialogs() { return *services_.dialogs; }
    void BeginOperation();
    void EndOperation();

private slots:
    void cmdCancel_Click();
    void cmdExit_Click();
    // Every command's button: runs the command's handler named below, or,
    // for a command without one, the handler of its description.
    void commandButton_Click(ops::CommandId id);
    void cmdCase_Click();
    void cmdClean_Click();
    void cmdPurify_Click();
    void cmdBinaryCodes_Click();
    void cmdSortLines_Click();
    void cmdSortWords_Click();
    void cmdUniqueLines_Click();
    void cmdUniqueWords_Click();
    void cmdWordCount_Click();
    void cmdPhraseCount_Click();
    void mnuAbout_Click();

    // The panes' pop-up menu and its commands (frmWordloomPopup.cpp).
private:
    void rtbText_MouseDown(Qt::MouseButton button);
    void rtbResult_MouseDown(Qt::MouseButton button);
    void mnuTextPopupCut_Click();
    void mnuTextPopupCopy_Click();
    void mnuTextPopupPaste_Click();
    void mnuTextPopupDelete_Click();
    void mnuTextPopupSelectAll_Click();
    void mnuTextPopupFind_Click();
    void mnuTextPopupWrap_Click();
    // The pane whose menu opened last; the menu's commands act on it.
    TextPane *ActiveControl() const { return activePane_; }
    Clipboard &clipboard() { return *clipboard_; }

private:
    void connectPopupMenu();
    void openPanePopup(TextPane *pane, const QString &heading);
    QPointer<TextPane> activePane_;
    std::unique_ptr<Clipboard> clipboard_ = std::make_unique<SystemClipboard>();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void createMenus();
    void placeAtDesignPositions();
    void connectHandlers();
    void connectKeys();
    void describeForAccessibility();
    void connectFileDrops();
    void loadFiles(const QStringList &paths);
    void stopFileRead(const QString &status = QString());
    void showDropStatus(const QString &text);
    void fileReadDone(DroppedText dropped, bool ownBusyState);
    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    // The layout's inputs measured off the window, and its outcome applied.
    layout::Inputs measureLayout() const;
    void placeControls(const layout::Result &r);
    void setOuterHeight(double twips);
    void setOuterWidth(double twips);
    void setBusyLook(bool wait);

    // The buttons' column from top to bottom: the commands' buttons in the
    // order of their design tops, then Cancel and Exit.
    std::vector<QPushButton *> buttonColumn() const;
    using Handler = void (frmWordloom::*)();
    static Handler namedHandler(ops::CommandId id);

    // Runs a button's handler: reports a failure instead of letting it escape,
    // and leaves the window usable.
    void runHandler(const QString &commandName, const std::function<void()> &handler);
    void recoverFromFailure(qint16 nestDepthAtStart, const QString &commandName, const QString &what);
    void runCommand(void (*command)(CommandHost &));
    // Runs a menu or pane handler, reporting a failure instead of letting it escape.
    void runEditHandler(const QString &name, const std::function<void()> &handler);

    WindowServices services_;
    QSize laidOutFrame_;
    int runningHandlers_ = 0;
    bool closeRequested_ = false;
    std::unique_ptr<FileDropRead> fileRead_; // the dropped files being read, if any

    friend class WindowCommandHost;
};

} // namespace wordloom
