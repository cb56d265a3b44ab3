#include "MainWindowLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wordloom::layout {

namespace {
constexpr Twip kGap = 100;
constexpr Twip kMargin = 200;
constexpr int kLetterWidths = 40;
constexpr int kLabelRows = 4;
} // namespace

Twip halve(Twip value)
{
    // nearbyint rounds half to even in the default rounding mode.
    const auto whole = static_cast<std::int64_t>(std::nearbyint(value));
    return static_cast<Twip>(whole / 2);
}

Twip minimumHeight(const Inputs &in)
{
    // One row more than the buttons: the column keeps a button's room free below Exit.
    return in.S + Twip(in.buttons + 1) * (in.E + kGap) + 600;
}

Twip minimumWidth(const Inputs &in)
{
    return kLetterWidths * in.TE + kMargin + in.X + kMargin;
}

Result compute(const Inputs &in)
{
    Result r;
    r.W = in.W;
    r.H = in.H;
    if (minimumHeight(in) > r.H) {
        r.H = minimumHeight(in);
        r.heightEnlarged = true;
    }
    if (minimumWidth(in) > r.W) {
        r.W = minimumWidth(in);
        r.widthEnlarged = true;
    }

    r.labelTextTop = kGap;
    r.text.top = kGap + in.Lt;
    r.text.left = kMargin;
    r.text.width = r.W - kMargin - kMargin - in.X - kGap;
    r.text.height = halve(r.H - in.S - kLabelRows * (in.Lt + kGap)) - kGap;
    r.labelTextLeft = kMargin + halve(r.text.width - in.Wt);

    const Twip middle = r.text.top + r.text.height + kGap;
    r.lines[0].y = 0;
    r.lines[1].y = in.P;
    r.lines[3].y = middle;
    r.lines[2].y = middle - in.P;

    r.labelResultTop = middle + kGap;
    r.result.top = r.labelResultTop + in.Lr;
    r.result.left = kMargin;
    r.result.width = r.text.width;
    r.result.height = r.H - r.result.top - (in.S + kGap) - 2 * in.E - kMargin;
    r.labelResultLeft = kMargin + halve(r.result.width - in.Wr);

    for (int i : {0, 1}) {
        r.lines[i].x1 = 0;
        r.lines[i].x2 = r.W;
    }
    for (int i : {2, 3}) {
        r.lines[i].x1 = r.result.left;
        r.lines[i].x2 = r.result.left + r.result.width;
    }

    Twip top = kGap;
    r.buttonTops.resize(std::size_t(std::max(in.buttons, 0)));
    for (Twip &buttonTop : r.buttonTops) {
        buttonTop = top;
        top += in.E + kGap;
    }
    r.buttonLeft = r.text.left + r.text.width + kGap;
    r.statusPanelWidth = r.W;
    return r;
}

} // namespace wordloom::layout
