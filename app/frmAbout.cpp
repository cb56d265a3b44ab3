#include "frmAbout.h"

#include "AppIcon.h"
#include "basLibForm.h"
#include "AppIdentity.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace wordloom {

namespace {
// Design client area and its place on the screen, in twips.
constexpr double kClientLeft = 2340, kClientTop = 1935, kClientWidth = 5850, kClientHeight = 3540;

QLabel *makeLabel(QWidget *parent, const char *name, const char *caption)
{
    auto *label = new QLabel(QLatin1String(caption), parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: black;"));
    return label;
}

QFrame *makeLine(QWidget *parent, const char *name, const char *colour, int thickness)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setStyleSheet(QStringLiteral("background-color: #%1; border: none;").arg(QLatin1String(colour)));
    line->setFixedHeight(thickness);
    return line;
}
} // namespace

frmAbout::frmAbout(SettingsStore settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      settings_(std::move(settings))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setWindowIcon(applicationIcon());
    setModal(true);
    createControls();
    Form_Load();
}

void frmAbout::createControls()
{
    auto place = [this](QWidget *w, double left, double top, double width, double height) {
        w->setGeometry(Twips::toPixels(left, top, width, height, this));
    };
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 4485, 2880, 1050, 480);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(applicationIcon().pixmap(32, 32));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(picIcon, 240, 240, 540, 540);

    lblDescription = makeLabel(this, "lblDescription", "App Description");
    place(lblDescription, 1080, 1608, 3888, 696);
    lblTitle = makeLabel(this, "lblTitle", "Application Title");
    QFont titleFont(QStringLiteral("MS Sans Serif"), 12);
    titleFont.setStyleHint(QFont::SansSerif);
    lblTitle->setFont(titleFont);
    place(lblTitle, 1050, 240, 3885, 360);
    lblVersion = makeLabel(this, "lblVersion", "Version");
    place(lblVersion, 1050, 780, 3885, 225);
    lblCopyright = makeLabel(this, "lblCopyright", "");
    place(lblCopyright, 1080, 1200, 3975, 255);
    // The freeware notice sits left of OK, under the etched line.
    lblDisclaimer = makeLabel(this, "lblDisclaimer",
                              "This program is freeware: you may use and share it at no charge.");
    place(lblDisclaimer, 255, 2760, 4080, 600);

    Line1[1] = makeLine(this, "Line1_1", "808080", 1);
    Line1[1]->setGeometry(Twips::toPixelsX(96, this), Twips::toPixelsY(2562, this),
                          Twips::toPixelsX(5660 - 96, this), 1);
    Line1[0] = makeLine(this, "Line1_0", "FFFFFF", 2);
    Line1[0]->setGeometry(Twips::toPixelsX(108, this), Twips::toPixelsY(2585, this),
                          Twips::toPixelsX(5657 - 108, this), 2);

    // Fixed border: the design client area at its design place on the screen.
    setGeometry(Twips::toPixels(kClientLeft, kClientTop, kClientWidth, kClientHeight, this));
    setFixedSize(size());
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + AppIdentity::title());
    lblTitle->setText(AppIdentity::title());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(AppIdentity::major())
                            .arg(AppIdentity::minor())
                            .arg(AppIdentity::revision()));
    lblCopyright->setText(AppIdentity::legalNotice());
    lblDescription->setText(AppIdentity::fileDescription());
}

void frmAbout::cmdOK_Click()
{
    basLibForm::SaveFormPlacement(settings_, *this, true);
    accept();
}

void frmAbout::reject()
{
    if (closingFromTitleBar_)
        QDialog::reject();
    else
        cmdOK_Click();
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    closingFromTitleBar_ = true;
    QDialog::closeEvent(event);
    closingFromTitleBar_ = false;
}

} // namespace wordloom
