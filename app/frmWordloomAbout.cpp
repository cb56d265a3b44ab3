// The About menu entry.
#include "frmWordloom.h"

#include "frmAbout.h"

namespace wordloom {

// Created for each opening and gone when it closes; the main window waits.
// The main window is its parent only so that task bars leave the dialog out.
void frmWordloom::mnuAbout_Click()
{
    frmAbout about(services_.settings, this);
    about.exec();
}

} // namespace wordloom
