// The contrast operations of the colour table; they use no table state.
#include "ui/themes/ColorTable.h"

#include <algorithm>
#include <cmath>

namespace
{
const double maxRed = 195, maxGreen = 390, maxBlue = 65;

struct CWeighted
{
    double r, g, b;

    explicit CWeighted(COLORREF clr)
        : r(CColorTable::GetWeightedRed(clr)), g(CColorTable::GetWeightedGreen(clr)),
          b(CColorTable::GetWeightedBlue(clr))
    {
    }
    CWeighted(double red, double green, double blue) : r(red), g(green), b(blue) {}

    double Dot(const CWeighted& o) const { return r * o.r + g * o.g + b * o.b; }
    double Length() const { return std::sqrt(Dot(*this)); }
    CWeighted Scaled(double k) const { return CWeighted(r * k, g * k, b * k); }
    CWeighted Minus(const CWeighted& o) const { return CWeighted(r - o.r, g - o.g, b - o.b); }
    // The point mirrored through the middle of the space: distances from white become distances from black.
    CWeighted Inverted() const { return CWeighted(maxRed - r, maxGreen - g, maxBlue - b); }

    COLORREF ToColor() const
    {
        auto channel = [](double x, double max) {
            x = std::min(std::max(x, 0.0), max);
            return std::min(std::max(static_cast<int>(x * 255 / max + 0.5), 0), 255);
        };
        return RGB(channel(r, maxRed), channel(g, maxGreen), channel(b, maxBlue));
    }
};

double Length(COLORREF clr) { return CWeighted(clr).Length(); }
}

double CColorTable::GetWeightedRed(COLORREF clr) { return GetRValue(clr) * maxRed / 255; }
double CColorTable::GetWeightedGreen(COLORREF clr) { return GetGValue(clr) * maxGreen / 255; }
double CColorTable::GetWeightedBlue(COLORREF clr) { return GetBValue(clr) * maxBlue / 255; }

double CColorTable::GetColorDistanceSquared(COLORREF a, COLORREF b)
{
    CWeighted d = CWeighted(a).Minus(CWeighted(b));
    return d.Dot(d);
}

double CColorTable::GetColorDistance(COLORREF a, COLORREF b)
{
    return std::sqrt(GetColorDistanceSquared(a, b));
}

double CColorTable::GetContrastThreshold(int nBrightness, int nDistance)
{
    const float fStep = 1.0f / 220;
    return (2.0 - std::min(nBrightness, 220) * fStep) * nDistance;
}

BOOL CColorTable::IsContrastEnough(COLORREF a, COLORREF b, BOOL bScaled, float t)
{
    double threshold = bScaled ? GetContrastThreshold(static_cast<int>(Length(a)), static_cast<int>(t)) : t;
    return GetColorDistanceSquared(a, b) > threshold * threshold;
}

COLORREF CColorTable::ReduceContrast(COLORREF a, COLORREF b, float t)
{
    float d = static_cast<float>(GetColorDistance(a, b));
    double threshold = GetContrastThreshold(static_cast<int>(Length(a)), static_cast<int>(t));
    if (d <= threshold)
        return b;
    double k = (d - threshold) / d;
    CWeighted wa(a), wb(b);
    return CWeighted(wb.r + (wa.r - wb.r) * k, wb.g + (wa.g - wb.g) * k, wb.b + (wa.b - wb.b) * k).ToColor();
}

COLORREF CColorTable::IncreaseContrast(COLORREF a, COLORREF b, float t)
{
    float fLengthA = static_cast<float>(Length(a));
    double threshold = GetContrastThreshold(static_cast<int>(fLengthA), static_cast<int>(t));
    double dLengthB = Length(b);

    // Away from black when b is the brighter one and there is room above a, else toward black unless a is
    // itself too dark to get away from.
    BOOL bTowardWhite = dLengthB > fLengthA ? !(fLengthA > 442 - threshold) : fLengthA <= threshold;
    CWeighted wa(a), wb(b);
    if (bTowardWhite) {
        wa = wa.Inverted();
        wb = wb.Inverted();
    }

    double dLength = std::max(wb.Length(), 0.001);
    double dot = wa.Dot(wb);
    double projection = dot / dLength;
    CWeighted perpendicular = wa.Minus(wb.Scaled(dot / (dLength * dLength)));
    double root = threshold * threshold - perpendicular.Dot(perpendicular);
    // Every point of the ray is already farther from a than the threshold.
    if (root < 0)
        return b;

    CWeighted result = wb.Scaled((projection - std::sqrt(root)) / dLength);
    return (bTowardWhite ? result.Inverted() : result).ToColor();
}
