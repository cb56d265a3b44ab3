#pragma once

#include <QWidget>
#include <cmath>

namespace wordloom {

// The screen's twips per pixel (1440 twips to the inch), from its logical DPI.
class Twips {
public:
    static double perPixelX(const QWidget *w = nullptr);
    static double perPixelY(const QWidget *w = nullptr);

    static int toPixelsX(double twips, const QWidget *w = nullptr)
    {
        return int(std::lround(twips / perPixelX(w)));
    }
    static int toPixelsY(double twips, const QWidget *w = nullptr)
    {
        return int(std::lround(twips / perPixelY(w)));
    }
    static double fromPixelsX(int pixels, const QWidget *w = nullptr) { return pixels * perPixelX(w); }
    static double fromPixelsY(int pixels, const QWidget *w = nullptr) { return pixels * perPixelY(w); }
    static QRect toPixels(double left, double top, double width, double height, const QWidget *w = nullptr)
    {
        return {toPixelsX(left, w), toPixelsY(top, w), toPixelsX(width, w), toPixelsY(height, w)};
    }
};

} // namespace wordloom
