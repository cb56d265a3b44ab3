#pragma once

#include "SettingsStore.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace wordloom {

// The About box: title, version, description and notices, closed with OK.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Its placement is stored in `settings` when OK is pressed.
    explicit frmAbout(SettingsStore settings, QWidget *parent = nullptr);

    QPushButton *cmdOK = nullptr;
    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr, *lblVersion = nullptr, *lblCopyright = nullptr, *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QFrame *Line1[2] = {};

public slots:
    void cmdOK_Click();
    // Escape acts as OK; the title bar's close does not store the placement.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void Form_Load();

    SettingsStore settings_;
    bool closingFromTitleBar_ = false;
};

} // namespace wordloom
