#include "basLibRichText.h"

#include "basLibLibrary.h"
#include "Dialogs.h"
#include "TextPane.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QFontMetricsF>

namespace basLibRichText {

namespace {
constexpr qint32 kNoMatch = -1;

// One attempt from just after the last match; true when it found one.
bool findNext(wordloom::TextPane &pane, const QString &searchText, qint32 &searchPosition)
{
    const qint32 start = basLibLibrary::MaxValue<qint32>(0, searchPosition + 1);
    searchPosition = pane.find(searchText, start);
    if (searchPosition < 0)
        return false;
    QCoreApplication::processEvents();
    return true;
}
} // namespace

void FindText(wordloom::TextPane &pane, QString &searchText, qint32 &searchPosition,
              wordloom::Dialogs &dialogs)
{
    pane.setFocus();
    QCoreApplication::processEvents();
    searchText = dialogs.inputBox(QStringLiteral("Enter the text to find"),
                                  QCoreApplication::applicationName() + QStringLiteral(" Search"), searchText);
    if (searchText.isEmpty())
        return;
    if (findNext(pane, searchText, searchPosition))
        return;
    searchPosition = kNoMatch;
    if (findNext(pane, searchText, searchPosition))
        return;
    dialogs.messageBox(QStringLiteral("[") + searchText + QStringLiteral("] was not found"),
                       QStringLiteral("Mnemora Text Search"));
    QCoreApplication::processEvents();
}

void SetWordWrap(wordloom::TextPane &pane, bool wrapOn)
{
    if (wrapOn) {
        const float width = float(wordloom::Twips::fromPixelsX(pane.width(), &pane));
        pane.setRightMargin(width - 200.0f);
        return;
    }
    // The measure is the containing window's font, not the pane's.
    const QWidget *window = pane.window();
    const float letterWidth =
        float(QFontMetricsF(window->font()).horizontalAdvance(QLatin1Char('A')) * wordloom::Twips::perPixelX(window));
    pane.setRightMargin(1001.0f * letterWidth);
}

} // namespace basLibRichText
