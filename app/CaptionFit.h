#pragma once

#include <QFont>
#include <QList>

class QPushButton;

namespace wordloom {

// Gives every button one font, the largest up to `largest` in which each
// caption fits its button with room to spare: the buttons keep their design
// size, so on a screen whose default font runs wide the captions shrink instead.
void fitCaptions(const QList<QPushButton *> &buttons, const QFont &largest);

} // namespace wordloom
