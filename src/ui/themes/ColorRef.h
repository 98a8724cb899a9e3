// Colour arithmetic of the framework's painters: percentage blending, a COLORREF value with clamped
// per-channel arithmetic, and conversions to and from the hue-based models HSL and HSB.
#pragma once

#include <windows.h>

// Per channel (a×w + b×(base − w) + base/2) / base, base 100 for w below 100, else 1000: w up to 99 is a
// percentage of a, from 100 on a per-mille weight (165 = 16.5 % of a).
COLORREF BlendColors(COLORREF a, COLORREF b, int w);

class CColorRef
{
public:
    CColorRef(COLORREF clr = 0) : m_clr(clr) {}
    operator COLORREF() const { return m_clr; }

    // Each value clamped to 0-255.
    static COLORREF SafeRGB(int r, int g, int b);

    // In place: per channel (this×(100 − p) + other×p)/100; p weights the other colour.
    CColorRef& Blend(const CColorRef& other, int p);
    // In place: per-channel sum capped at 255 / difference floored at 0.
    CColorRef& Add(const CColorRef& other);
    CColorRef& Subtract(const CColorRef& other);

    // Per-channel arithmetic through SafeRGB; an integer operand is clamped to 0-255 and taken as grey.
    // A zero divisor channel gives 255 for a non-zero dividend and 0 for a zero one (the quotient clamped).
    CColorRef& operator+=(const CColorRef& other);
    CColorRef& operator-=(const CColorRef& other);
    CColorRef& operator*=(const CColorRef& other);
    CColorRef& operator/=(const CColorRef& other);
    CColorRef& operator+=(int n) { return *this += Grey(n); }
    CColorRef& operator-=(int n) { return *this -= Grey(n); }
    CColorRef& operator*=(int n) { return *this *= Grey(n); }
    CColorRef& operator/=(int n) { return *this /= Grey(n); }
    CColorRef operator+(const CColorRef& other) const { return CColorRef(*this) += other; }
    CColorRef operator-(const CColorRef& other) const { return CColorRef(*this) -= other; }
    CColorRef operator*(const CColorRef& other) const { return CColorRef(*this) *= other; }
    CColorRef operator/(const CColorRef& other) const { return CColorRef(*this) /= other; }
    CColorRef operator+(int n) const { return CColorRef(*this) += n; }
    CColorRef operator-(int n) const { return CColorRef(*this) -= n; }
    CColorRef operator*(int n) const { return CColorRef(*this) *= n; }
    CColorRef operator/(int n) const { return CColorRef(*this) /= n; }

    // Components 0-1.
    void ToHSL(double& h, double& s, double& l) const;
    void ToHSB(double& h, double& s, double& b) const;
    void SetHSL(double h, double s, double l);
    void SetHSB(double h, double s, double b);
    static CColorRef FromHSL(double h, double s, double l);
    static CColorRef FromHSB(double h, double s, double b);
    static double HueToRGB(double p, double q, double t);

private:
    static CColorRef Grey(int n);

    COLORREF m_clr;
};
