// The order in which the keyboard reaches the controls: Tab between buttons,
// Ctrl+Tab out of a pane (where Tab is typed as text).
#include "Patience.h"
#include "WindowFixture.h"
#include "WindowParts.h"

#include <QApplication>
#include <QTest>

using namespace wordloom::testing;

namespace {

class KeyboardOrder : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), wordloom::testing::kPatienceMs));
    }

    // Presses the key that leaves the focused control, as a user would, and
    // names each control reached, until the walk comes back to its start.
    QStringList walk(bool forward)
    {
        QWidget *start = rtbText(*window);
        start->setFocus();
        QStringList names;
        for (int i = 0; i < 30; ++i) {
            QWidget *focus = QApplication::focusWidget();
            const bool pane = qobject_cast<wordloom::TextPane *>(focus) != nullptr;
            const Qt::KeyboardModifiers mods = (pane ? Qt::ControlModifier : Qt::NoModifier) |
                                               (forward ? Qt::NoModifier : Qt::ShiftModifier);
            QTest::keyClick(focus, forward ? Qt::Key_Tab : Qt::Key_Backtab, mods);
            if (QApplication::focusWidget() == start)
                return names;
            names << QApplication::focusWidget()->objectName();
        }
        return names << QStringLiteral("(no way back)");
    }
};

TEST_F(KeyboardOrder, TabVisitsInputButtonsResultThenTheRestAndBackWithoutTypingATab)
{
    const QString before = rtbText(*window)->Text();
    const QStringList idle = {"cmdSortLines", "cmdSortWords", "cmdUniqueLines", "cmdUniqueWords",
                              "cmdWordCount", "cmdPhraseCount", "cmdBinaryCodes", "cmdCase",
                              "cmdExit", "rtbResult", "cmdClean", "cmdPurify"};
    EXPECT_EQ(walk(true), idle) << "a disabled Cancel is passed over";
    QStringList backwards = idle;
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(walk(false), backwards);

    // While a command runs, Cancel comes right after the result pane.
    QStringList busy;
    onPost = [&](const QString &status) {
        if (status == QStringLiteral("Sorting...") && busy.isEmpty())
            busy = walk(true);
    };
    button("cmdSortLines")->click();
    QStringList withCancel = idle;
    withCancel.insert(idle.indexOf("cmdClean"), "cmdCancel");
    EXPECT_EQ(busy, withCancel);
    EXPECT_EQ(rtbText(*window)->Text(), before) << "leaving a pane types nothing into it";
}

} // namespace
