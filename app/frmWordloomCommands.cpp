// The command buttons' handlers: the window side of each command.
#include "frmWordloom.h"

#include "WindowCommandHost.h"
#include "ops/ChangeCase.h"

#include <QPushButton>

namespace wordloom {

void frmWordloom::connectHandlers()
{
    auto bind = [this](QPushButton *button, const QString &name, void (frmWordloom::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, name, handler] { runHandler(name, handler); });
    };
    bind(cmdCase, tr("Change Case"), &frmWordloom::cmdCase_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmWordloom::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmWordloom::cmdExit_Click);
}

void frmWordloom::cmdCase_Click()
{
    BeginOperation();
    WindowCommandHost host(*this);
    ops::changeCase(host);
    EndOperation();
}

} // namespace wordloom
