#include "MainWindowLayout.h"

#include <gtest/gtest.h>

using namespace wordloom::layout;

namespace {

// The design sizes of the controls at 15 twips per pixel, "E" 120 twips wide.
Inputs designInputs(Twip W, Twip H)
{
    Inputs in;
    in.W = W;
    in.H = H;
    in.S = 372;
    in.E = 300;
    in.X = 1335;
    in.Lt = in.Lr = 255;
    in.Wt = 615;
    in.Wr = 855;
    in.P = 15;
    in.TE = 120;
    in.buttons = 12;
    return in;
}

TEST(Halve, RoundsHalvesToEvenThenDropsTheRemainderTowardZero)
{
    EXPECT_EQ(halve(5), 2);
    EXPECT_EQ(halve(7120), 3560);
    EXPECT_EQ(halve(2.5f), 1);  // 2.5 rounds to 2
    EXPECT_EQ(halve(3.5f), 2);  // 3.5 rounds to 4
    EXPECT_EQ(halve(1.5f), 1);
    EXPECT_EQ(halve(0.5f), 0);
    EXPECT_EQ(halve(4.6f), 2);
    EXPECT_EQ(halve(-3), -1);
    EXPECT_EQ(halve(-2.5f), -1);
}

TEST(Layout, WorkedFiguresOfTheDesignWindow)
{
    const Result r = compute(designInputs(9570, 7680));
    EXPECT_FALSE(r.heightEnlarged);
    EXPECT_FALSE(r.widthEnlarged);
    EXPECT_EQ(r.labelTextTop, 100);
    EXPECT_EQ(r.labelTextLeft, 200 + 3560);
    EXPECT_EQ(r.text.left, 200);
    EXPECT_EQ(r.text.top, 355);
    EXPECT_EQ(r.text.width, 7735);
    EXPECT_EQ(r.text.height, 2844);
    EXPECT_EQ(r.lines[3].y, 3299);
    EXPECT_EQ(r.lines[2].y, 3284);
    EXPECT_EQ(r.labelResultTop, 3399);
    EXPECT_EQ(r.labelResultLeft, 200 + 3440);
    EXPECT_EQ(r.result.left, 200);
    EXPECT_EQ(r.result.top, 3654);
    EXPECT_EQ(r.result.width, 7735);
    EXPECT_EQ(r.result.height, 2754);
    EXPECT_EQ(r.buttonLeft, 8035);
    ASSERT_EQ(r.buttonTops.size(), 12u);
    for (size_t i = 0; i < r.buttonTops.size(); ++i)
        EXPECT_EQ(r.buttonTops[i], 100 + 400 * Twip(i)) << "button " << i;
    EXPECT_EQ(r.buttonTops.back(), 4500);
    EXPECT_EQ(r.statusPanelWidth, 9570);
}

TEST(Layout, SeparatorsUnderTheMenuAndAcrossTheResultPane)
{
    for (Twip W : {9570.f, 7000.f, 15000.f}) {
        const Result r = compute(designInputs(W, 9000));
        EXPECT_EQ(r.lines[0].y, 0);
        EXPECT_EQ(r.lines[1].y, 15); // one pixel lower
        EXPECT_EQ(r.lines[3].y - r.lines[2].y, 15);
        for (int i : {0, 1}) {
            EXPECT_EQ(r.lines[size_t(i)].x1, 0);
            EXPECT_EQ(r.lines[size_t(i)].x2, W);
        }
        for (int i : {2, 3}) {
            EXPECT_EQ(r.lines[size_t(i)].x1, r.result.left);
            EXPECT_EQ(r.lines[size_t(i)].x2, r.result.left + r.result.width);
        }
        EXPECT_EQ(r.text.left, r.result.left);
        EXPECT_EQ(r.text.width, r.result.width);
        EXPECT_EQ(r.buttonLeft, r.text.left + r.text.width + 100);
    }
}

TEST(Layout, MinimumHeightAtTheDesignSizes)
{
    EXPECT_EQ(minimumHeight(designInputs(9570, 7680)), 6172);
    Inputs oneMore = designInputs(9570, 7680);
    ++oneMore.buttons;
    EXPECT_EQ(minimumHeight(oneMore), 6172 + 400) << "another button, another row";
    EXPECT_FALSE(compute(designInputs(9570, 6172)).heightEnlarged);

    // Smaller windows are laid out at the minimum height they are given.
    const Result r = compute(designInputs(9570, 3000));
    EXPECT_TRUE(r.heightEnlarged);
    EXPECT_EQ(r.H, 6172);
    EXPECT_EQ(r.text.height, halve(6172 - 372 - 1420) - 100);
    EXPECT_EQ(r.result.height, 6172 - r.result.top - 472 - 600 - 200);
    EXPECT_GT(r.result.height, 0);
}

TEST(Layout, MinimumWidthCountsFortyLettersAndTheButtons)
{
    const Inputs in = designInputs(3000, 7680);
    EXPECT_EQ(minimumWidth(in), 40 * 120 + 200 + 1335 + 200);
    const Result r = compute(in);
    EXPECT_TRUE(r.widthEnlarged);
    EXPECT_FALSE(r.heightEnlarged);
    EXPECT_EQ(r.W, 6535);
    EXPECT_EQ(r.text.width, 6535 - 200 - 200 - 1335 - 100);
    EXPECT_EQ(r.statusPanelWidth, 6535);
    EXPECT_EQ(r.lines[0].x2, 6535);
}

TEST(Layout, OddAndFractionalMeasuresAreHalvedAsIntegers)
{
    const Result odd = compute(designInputs(9571, 7681));
    EXPECT_EQ(odd.text.height, 2944 - 100);   // 5889 -> 2944
    EXPECT_EQ(odd.labelTextLeft, 200 + 3560); // 7121 -> 3560

    // Twips taken from pixels at an odd resolution need not be whole.
    const Result half = compute(designInputs(9570.5f, 7680));
    EXPECT_EQ(half.labelTextLeft, 200 + 3560); // 7120.5 rounds to 7120
    const Result nextHalf = compute(designInputs(9571.5f, 7680));
    EXPECT_EQ(nextHalf.labelTextLeft, 200 + 3561); // 7121.5 rounds to 7122
}

} // namespace
