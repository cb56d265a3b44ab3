#pragma once

#include <array>
#include <vector>

// The main window's layout arithmetic, in twips and single precision, apart
// from any window so that it can be checked figure by figure.
namespace wordloom::layout {

using Twip = float;

// Rounds to the nearest whole number (an exact half to the even one), then
// halves as integers, dropping the remainder toward zero.
Twip halve(Twip value);

struct Inputs {
    Twip W = 0, H = 0;   // outer width and height of the window
    Twip S = 0;          // status bar height
    Twip E = 0, X = 0;   // Exit button height and width (every button's size)
    Twip Lt = 0, Wt = 0; // input label height and width
    Twip Lr = 0, Wr = 0; // result label height and width
    Twip P = 0;          // vertical twips per pixel
    Twip TE = 0;         // width of "E" in the window's font
    int buttons = 0;     // the buttons in the column, Cancel and Exit among them
};

struct Rect {
    Twip left = 0, top = 0, width = 0, height = 0;
};

struct HorizontalLine {
    Twip x1 = 0, x2 = 0, y = 0;
};

struct Result {
    Twip W = 0, H = 0;           // the size after enforcing the minimum
    bool heightEnlarged = false; // the window must grow to H
    bool widthEnlarged = false;  // the window must grow to W
    Twip labelTextLeft = 0, labelTextTop = 0;
    Rect text;
    Twip labelResultLeft = 0, labelResultTop = 0;
    Rect result;
    std::array<HorizontalLine, 4> lines;
    Twip buttonLeft = 0;
    std::vector<Twip> buttonTops; // the column from top to bottom
    Twip statusPanelWidth = 0;
};

Twip minimumHeight(const Inputs &in);
Twip minimumWidth(const Inputs &in);

Result compute(const Inputs &in);

} // namespace wordloom::layout
