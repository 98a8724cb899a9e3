#include "ui/themes/ColorRef.h"

#include <algorithm>
#include <cmath>

namespace
{
int Clamp255(int n) { return std::min(std::max(n, 0), 255); }

int BlendChannel(int a, int b, int w)
{
    int base = w < 100 ? 100 : 1000;
    return (a * w + b * (base - w) + base / 2) / base;
}

int DivideChannel(int a, int b)
{
    if (b == 0)
        return a == 0 ? 0 : 255;
    return a / b;
}

// The hue step shared by the red/green/blue branches of the hue-based models: h in 0-1, d = max − min.
double Hue(double r, double g, double b, double max, double d)
{
    double h;
    if (r == max)
        h = (g - b) / d;
    else if (g == max)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h /= 6;
    return h < 0 ? h + 1 : h;
}
}

COLORREF BlendColors(COLORREF a, COLORREF b, int w)
{
    return RGB(BlendChannel(GetRValue(a), GetRValue(b), w), BlendChannel(GetGValue(a), GetGValue(b), w),
               BlendChannel(GetBValue(a), GetBValue(b), w));
}

COLORREF CColorRef::SafeRGB(int r, int g, int b)
{
    return RGB(Clamp255(r), Clamp255(g), Clamp255(b));
}

CColorRef CColorRef::Grey(int n)
{
    n = Clamp255(n);
    return CColorRef(RGB(n, n, n));
}

CColorRef& CColorRef::Blend(const CColorRef& other, int p)
{
    auto mix = [p](int a, int b) { return (a * (100 - p) + b * p) / 100; };
    m_clr = SafeRGB(mix(GetRValue(m_clr), GetRValue(other.m_clr)), mix(GetGValue(m_clr), GetGValue(other.m_clr)),
                    mix(GetBValue(m_clr), GetBValue(other.m_clr)));
    return *this;
}

CColorRef& CColorRef::Add(const CColorRef& other) { return *this += other; }
CColorRef& CColorRef::Subtract(const CColorRef& other) { return *this -= other; }

CColorRef& CColorRef::operator+=(const CColorRef& other)
{
    m_clr = SafeRGB(GetRValue(m_clr) + GetRValue(other.m_clr), GetGValue(m_clr) + GetGValue(other.m_clr),
                    GetBValue(m_clr) + GetBValue(other.m_clr));
    return *this;
}

CColorRef& CColorRef::operator-=(const CColorRef& other)
{
    m_clr = SafeRGB(GetRValue(m_clr) - GetRValue(other.m_clr), GetGValue(m_clr) - GetGValue(other.m_clr),
                    GetBValue(m_clr) - GetBValue(other.m_clr));
    return *this;
}

CColorRef& CColorRef::operator*=(const CColorRef& other)
{
    m_clr = SafeRGB(GetRValue(m_clr) * GetRValue(other.m_clr), GetGValue(m_clr) * GetGValue(other.m_clr),
                    GetBValue(m_clr) * GetBValue(other.m_clr));
    return *this;
}

CColorRef& CColorRef::operator/=(const CColorRef& other)
{
    m_clr = RGB(DivideChannel(GetRValue(m_clr), GetRValue(other.m_clr)),
                DivideChannel(GetGValue(m_clr), GetGValue(other.m_clr)),
                DivideChannel(GetBValue(m_clr), GetBValue(other.m_clr)));
    return *this;
}

void CColorRef::ToHSL(double& h, double& s, double& l) const
{
    double r = GetRValue(m_clr) / 255.0, g = GetGValue(m_clr) / 255.0, b = GetBValue(m_clr) / 255.0;
    double max = std::max({r, g, b}), min = std::min({r, g, b});
    l = (max + min) / 2;
    if (max == min) {
        h = s = 0;
        return;
    }
    double d = max - min;
    s = l >= 0.5 ? d / (2 - max - min) : d / (max + min);
    h = Hue(r, g, b, max, d);
}

void CColorRef::ToHSB(double& h, double& s, double& b) const
{
    int nR = GetRValue(m_clr), nG = GetGValue(m_clr), nB = GetBValue(m_clr);
    int max = std::max({nR, nG, nB}), min = std::min({nR, nG, nB});
    b = max / 255.0;
    s = max == 0 ? 0 : static_cast<double>(max - min) / max;
    h = s == 0 ? 0 : Hue(nR, nG, nB, max, max - min);
}

double CColorRef::HueToRGB(double p, double q, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (6 * t < 1)
        return p + (q - p) * 6 * t;
    if (2 * t < 1)
        return q;
    if (3 * t < 2)
        return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

void CColorRef::SetHSL(double h, double s, double l)
{
    if (s == 0) {
        int n = static_cast<int>(l * 255);
        m_clr = SafeRGB(n, n, n);
        return;
    }
    double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    double p = 2 * l - q;
    m_clr = SafeRGB(static_cast<int>(HueToRGB(p, q, h + 1.0 / 3) * 255), static_cast<int>(HueToRGB(p, q, h) * 255),
                    static_cast<int>(HueToRGB(p, q, h - 1.0 / 3) * 255));
}

void CColorRef::SetHSB(double h, double s, double b)
{
    auto channel = [](double v) { return static_cast<int>(v * 255 + 0.5); };
    if (s == 0) {
        int n = channel(b);
        m_clr = SafeRGB(n, n, n);
        return;
    }
    double h6 = (h - std::floor(h)) * 6;
    int i = static_cast<int>(std::floor(h6));
    double f = h6 - i;
    double p = b * (1 - s), q = b * (1 - f * s), t = b * (1 - (1 - f) * s);
    double r, g, bl;
    switch (i) {
    case 0: r = b; g = t; bl = p; break;
    case 1: r = q; g = b; bl = p; break;
    case 2: r = p; g = b; bl = t; break;
    case 3: r = p; g = q; bl = b; break;
    case 4: r = t; g = p; bl = b; break;
    default: r = b; g = p; bl = q; break;
    }
    m_clr = SafeRGB(channel(r), channel(g), channel(bl));
}

CColorRef CColorRef::FromHSL(double h, double s, double l)
{
    CColorRef clr;
    clr.SetHSL(h, s, l);
    return clr;
}

CColorRef CColorRef::FromHSB(double h, double s, double b)
{
    CColorRef clr;
    clr.SetHSB(h, s, b);
    return clr;
}
