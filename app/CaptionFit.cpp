#include "CaptionFit.h"

#include <QFontMetricsF>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace wordloom {

namespace {
// Pixels kept clear on each side of a caption, so that text drawn at a
// fractional scale, slightly wider than measured, still stays whole.
constexpr double kPadding = 2;
constexpr double kSmallestPointSize = 5;

double roomFor(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() - 2 * kPadding;
}

bool allFit(const QList<QPushButton *> &buttons, const QFont &font)
{
    const QFontMetricsF metrics(font);
    for (const QPushButton *button : buttons)
        if (metrics.horizontalAdvance(button->text()) > roomFor(button))
            return false;
    return true;
}
} // namespace

void fitCaptions(const QList<QPushButton *> &buttons, const QFont &largest)
{
    QFont font = largest;
    while (font.pointSizeF() > kSmallestPointSize && !allFit(buttons, font))
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QPushButton *button : buttons)
        button->setFont(font);
}

} // namespace wordloom
