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

namespace wordloom {

namespace {
const char kSample[] =
    "To be or not to be.  That is the question.  Whether tis nobler in one's mind to bear the "
    "slings and arrows of outrageous fortune or to take arms against a sea of troubles and by "
    "opposing end them.";

// Design client area, in twips.
constexpr double kClientWidth = 9450;
constexpr double kClientHeight = 6795;
constexpr double kStatusHeight = 372;

TextPane *makePane(QWidget *parent, const char *name)
{
    auto *pane = new TextPane(parent);
    pane->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Lucida Console"), 9);
    font.setStyleHint(QFont::Monospace);
    pane->setFont(font);
    return pane;
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

std::span<const frmWordloom::ButtonDesign> frmWordloom::buttonDesigns()
{
    using ops::CommandId;
    const auto runs = [](QPushButton *frmWordloom::*member, void (frmWordloom::*click)(), CommandId id,
                         double top) {
        const ops::Command &c = ops::command(id);
        return ButtonDesign{member, click, c.button, c.caption, top, true};
    };
    static const ButtonDesign designs[] = {
        // In tab order.
        runs(&frmWordloom::cmdSortLines, &frmWordloom::cmdSortLines_Click, CommandId::SortLines, 2040),
        runs(&frmWordloom::cmdSortWords, &frmWordloom::cmdSortWords_Click, CommandId::SortWords, 2520),
        runs(&frmWordloom::cmdUniqueLines, &frmWordloom::cmdUniqueLines_Click, CommandId::UniqueLines, 3000),
        runs(&frmWordloom::cmdUniqueWords, &frmWordloom::cmdUniqueWords_Click, CommandId::UniqueWords, 3480),
        runs(&frmWordloom::cmdWordCount, &frmWordloom::cmdWordCount_Click, CommandId::WordCount, 3960),
        runs(&frmWordloom::cmdPhraseCount, &frmWordloom::cmdPhraseCount_Click, CommandId::PhraseCount, 4440),
        runs(&frmWordloom::cmdBinaryCodes, &frmWordloom::cmdBinaryCodes_Click, CommandId::BinaryCodes, 4920),
        runs(&frmWordloom::cmdCase, &frmWordloom::cmdCase_Click, CommandId::ChangeCase, 240),
        {&frmWordloom::cmdExit, &frmWordloom::cmdExit_Click, "cmdExit", "Exit", 5880, false},
        {&frmWordloom::cmdCancel, &frmWordloom::cmdCancel_Click, "cmdCancel", "Cancel", 5400, false},
        runs(&frmWordloom::cmdClean, &frmWordloom::cmdClean_Click, CommandId::CharactersOnly, 720),
        runs(&frmWordloom::cmdPurify, &frmWordloom::cmdPurify_Click, CommandId::LettersOnly, 1200),
    };
    return designs;
}

void frmWordloom::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    rtbText = makePane(client, "rtbText");
    for (const auto &design : buttonDesigns()) {
        auto *button = new QPushButton(QLatin1String(design.caption.data(), qsizetype(design.caption.size())), client);
        button->setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
        this->*design.member = button;
    }
    rtbResult = makePane(client, "rtbResult");
    // Tab order: the input pane, the buttons from Sort Lines to Exit, the result pane, then the rest.
    QWidget *order[] = {rtbText, cmdSortLines, cmdSortWords, cmdUniqueLines, cmdUniqueWords,
                        cmdWordCount, cmdPhraseCount, cmdBinaryCodes, cmdCase, cmdExit,
                        rtbResult, cmdCancel, cmdClean, cmdPurify};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

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
    for (const auto &design : buttonDesigns())
        place(this->*design.member, 7920, design.top, 1335, 300);
    // The captions were made for a small dialog font; at their design size
    // the buttons must still show the longest whole.
    QList<QPushButton *> buttons;
    for (const auto &design : buttonDesigns())
        buttons << this->*design.member;
    QFont captionFont = cmdExit->font();
    captionFont.setPointSizeF(std::min(captionFont.pointSizeF(), 8.0));
    fitCaptions(buttons, captionFont);
    place(lblText, 4680, 0, 615, 255);
    place(lblResult, 3840, 2760, 855, 255);
    const int clientHeight = Twips::toPixelsY(kClientHeight, this);
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
