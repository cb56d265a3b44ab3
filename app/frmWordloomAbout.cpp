// The About menu entry.
#include "frmWordloom.h"

#include "frmAbout.h"

namespace wordloom {

// Created for each opening and gone when it closes; the main window waits.
void frmWordloom::mnuAbout_Click()
{
    frmAbout about;
    about.exec();
}

} // namespace wordloom
