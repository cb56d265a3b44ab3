#include "frmWordloom.h"

#include "AppIcon.h"
#include "CaptionFit.h"
#include "CommandTable.h"
#include "FileDropRead.h"
#include "basLibForm.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <algorithm>
#include <string_view>

namespace wordloom {

namespace {
const char kSample[] =
    "To be or not to be.  That is the question.  Whether tis nobler in one's mind to bear the "
    "slings and arrows of outrageous fortune or to take arms against a sea of troubles and by "
    "opposing end them.";

// Design client width and status bar height, in twips.
constexpr double kClientWidth = 9450;
constexpr double kStatusHeight = 372;
// The button column: Cancel and Exit a pitch apart below the last command's
// button; the client area ends a fixed distance below Exit.
constexpr double kButtonPitch = 480;
constexpr double kClientBelowExit = 915;
// Tab stops of the window's own controls among the commands' buttons.
constexpr int kTextStop = 0, kExitStop = 90, kResultStop = 100, kCancelStop = 110;

TextPane *makePane(QWidget *parent, const char *name)
{
    auto *pane = new TextPane(parent);
    pane->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Lucida Console"), 9);
    font.setStyleHint(QFont::Monospace);
    pane->setFont(font);
    return pane;
}

QPushButton *makeButton(QWidget *parent, std::string_view name, std::string_view caption)
{
    auto *button = new QPushButton(QLatin1String(caption.data(), qsizetype(caption.size())), parent);
    button->setObjectName(QLatin1String(name.data(), qsizetype(name.size())));
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const char *caption)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QFrame *makeLine(QWidget *parent, int index, const char *colour)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("line1_%1").arg(index));
    line->setStyleSheet(QStringLiteral("background-color: #%1; border: none;").arg(QLatin1String(colour)));
    line->setFixedHeight(1);
    return line;
}
} // namespace

frmWordloom::frmWordloom(WindowServices services, QWidget *parent)
    : QMainWindow(parent), services_(std::move(services))
{
    if (!services_.dialogs)
        services_.dialogs = std::make_unique<QtDialogs>(this);
    setObjectName(QStringLiteral("frmWordloom"));
    setWindowTitle(QStringLiteral("Wordloom"));
    setWindowIcon(applicationIcon());
    createControls();
    createMenus();
    placeAtDesignPositions();
    connectHandlers();
    connectPopupMenu();
    connectKeys();
    connectFileDrops();
    describeForAccessibility();
    Form_Load();
}

frmWordloom::~frmWordloom() = default;

std::vector<QPushButton *> frmWordloom::buttonColumn() const
{
    std::vector<const ops::Command *> commands;
    for (const ops::Command &c : ops::commandTable())
        commands.push_back(&c);
    std::stable_sort(commands.begin(), commands.end(),
                     [](const ops::Command *a, const ops::Command *b) { return a->place.top < b->place.top; });
    std::vector<QPushButton *> column;
    for (const ops::Command *c : commands)
        column.push_back(commandButtons_[std::size_t(c->id)]);
    column.push_back(cmdCancel);
    column.push_back(cmdExit);
    return column;
}

void frmWordloom::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    rtbText = makePane(client, "rtbText");
    // The buttons are made in their keyboard order, between the two panes.
    struct ButtonToMake {
        int tabStop;
        std::string_view name, caption;
        QPushButton **into;
    };
    std::vector<ButtonToMake> buttons;
    commandButtons_.assign(ops::commandTable().size(), nullptr);
    for (const ops::Command &c : ops::commandTable())
        buttons.push_back({c.place.tabStop, c.button, c.caption, &commandButtons_[std::size_t(c.id)]});
    buttons.push_back({kExitStop, "cmdExit", "Exit", &cmdExit});
    buttons.push_back({kCancelStop, "cmdCancel", "Cancel", &cmdCancel});
    std::stable_sort(buttons.begin(), buttons.end(), [](const auto &a, const auto &b) { return a.tabStop < b.tabStop; });
    std::vector<std::pair<int, QWidget *>> order = {{kTextStop, rtbText}};
    for (const ButtonToMake &button : buttons) {
        *button.into = makeButton(client, button.name, button.caption);
        order.emplace_back(button.tabStop, *button.into);
    }
    rtbResult = makePane(client, "rtbResult");
    order.emplace_back(kResultStop, rtbResult);
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);

    lblText = makeLabel(client, "lblText", "- Text -");
    lblResult = makeLabel(client, "lblResult", "- Result -");
    const char *colours[4] = {"808080", "E0E0E0", "808080", "E0E0E0"};
    for (int i = 0; i < 4; ++i)
        line1[i] = makeLine(client, i, colours[i]);

    sbStatus = new StatusBar(this);
    sbStatus->setFixedHeight(Twips::toPixelsY(kStatusHeight, this));
    setStatusBar(sbStatus);

    rtbText->setText(QLatin1String(kSample) + QStringLiteral("\r\n"));
    rtbResult->setText(QString());
    rtbWork.setText(QStringLiteral("rtbWork"));
    rtbSave.setText(QStringLiteral("rtbSave"));
}

void frmWordloom::createMenus()
{
    mnuAbout = menuBar()->addAction(QStringLiteral("&About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this,
            [this] { runEditHandler(tr("About"), [this] { mnuAbout_Click(); }); });

    // The pop-up root is never added to the menu bar: it only opens on a right click.
    mnuTextPopup = new QMenu(QStringLiteral("Text Popup Menu"), this);
    mnuTextPopup->setObjectName(QStringLiteral("mnuTextPopup"));
    auto add = [this](const char *name, const char *caption) {
        QAction *a = mnuTextPopup->addAction(QLatin1String(caption));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto separator = [this](const char *name) { mnuTextPopup->addSeparator()->setObjectName(QLatin1String(name)); };
    mnuTextPopupCaption = add("mnuTextPopupCaption", "Caption");
    separator("mnuLine0");
    mnuTextPopupCut = add("mnuTextPopupCut", "Cu&t");
    mnuTextPopupCopy = add("mnuTextPopupCopy", "&Copy");
    mnuTextPopupPaste = add("mnuTextPopupPaste", "&Paste");
    mnuTextPopupDelete = add("mnuTextPopupDelete", "&Delete");
    separator("mnuLine1");
    mnuTextPopupSelectAll = add("mnuTextPopupSelectAll", "Select &All");
    separator("mnuLine2");
    mnuTextPopupFind = add("mnuTextPopupFind", "&Find");
    separator("mnuLine3");
    mnuTextPopupWrap = add("mnuTextPopupWrap", "&Wrap Lines");
    mnuTextPopupWrap->setCheckable(true);
    mnuTextPopupWrap->setChecked(true);
}

void frmWordloom::placeAtDesignPositions()
{
    auto place = [this](QWidget *w, double left, double top, double width, double height) {
        w->setGeometry(Twips::toPixels(left, top, width, height, this));
    };
    place(rtbText, 120, 240, 7695, 2295);
    place(rtbResult, 120, 3000, 7695, 2295);
    double lastTop = 0;
    for (const ops::Command &c : ops::commandTable()) {
        place(commandButtons_[std::size_t(c.id)], 7920, c.place.top, 1335, 300);
        lastTop = std::max(lastTop, c.place.top);
    }
    const double exitTop = lastTop + 2 * kButtonPitch;
    place(cmdCancel, 7920, lastTop + kButtonPitch, 1335, 300);
    place(cmdExit, 7920, exitTop, 1335, 300);
    // The captions were made for a small dialog font; at their design size
    // the buttons must still show the longest whole.
    const std::vector<QPushButton *> column = buttonColumn();
    const QList<QPushButton *> buttons(column.begin(), column.end());
    QFont captionFont = cmdExit->font();
    captionFont.setPointSizeF(std::min(captionFont.pointSizeF(), 8.0));
    fitCaptions(buttons, captionFont);
    place(lblText, 4680, 0, 615, 255);
    place(lblResult, 3840, 2760, 855, 255);
    const int clientHeight = Twips::toPixelsY(exitTop + kClientBelowExit, this);
    const int menuHeight = menuBar()->sizeHint().height();
    resize(Twips::toPixelsX(kClientWidth, this), menuHeight + clientHeight);
}

void frmWordloom::Form_Load()
{
    SaveDepth = 0;
    cmdCancel->setEnabled(false);
    NestDepth = 0;
    HyphenBreak = QStringLiteral("-\r\n");
    basLibForm::RestoreFormPlacement(services_.settings, *this);
}

void frmWordloom::Form_Unload()
{
    basLibForm::SaveFormPlacement(services_.settings, *this, true);
}

void frmWordloom::cmdExit_Click()
{
    close();
}

void frmWordloom::closeEvent(QCloseEvent *event)
{
    if (isRunningCommand()) {
        // Let the running command unwind first: ask it to stop, close afterwards.
        closeRequested_ = true;
        cmdCancel->setEnabled(false);
        event->ignore();
        return;
    }
    stopFileRead(); // the window goes now; the reading thread stops on its own
    Form_Unload();
    event->accept();
}

} // namespace wordloom
