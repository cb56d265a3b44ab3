// What a screen reader says about the window's controls.
#include "frmWordloom.h"

#include <QLabel>
#include <QPushButton>

namespace wordloom {

void frmWordloom::describeForAccessibility()
{
    // The captions "- Text -" and "- Result -" read badly aloud; the panes carry
    // the plain words, and the labels point at them for a reader that follows labels.
    rtbText->setAccessibleName(QStringLiteral("Text"));
    rtbResult->setAccessibleName(QStringLiteral("Result"));
    lblText->setBuddy(rtbText);
    lblResult->setBuddy(rtbResult);
    cmdCancel->setAccessibleDescription(QStringLiteral("Stops the running command"));
    cmdExit->setAccessibleDescription(QStringLiteral("Closes Wordloom"));
}

} // namespace wordloom
