// The process-wide table of the framework's 60 indexed colours: 0-27 the system colours by their COLOR_ index,
// 28-59 derived from them by blends and contrast corrections, each overridable by the application; beside them
// the gradients of the bar themes and the fixed colours of the visual-style colour schemes.
#pragma once

#include "platform/mfc/afxcmdtarget.h"
#include "ui/themes/ColorRef.h"

// "No colour" in every colour field of the framework.
const COLORREF XTP_COLOR_NONE = 0xFFFFFFFF;

// A standard (default) colour and an override; the override wins when set.
class CColorValue
{
public:
    CColorValue() = default;
    explicit CColorValue(COLORREF clrDefault) : m_clrDefault(clrDefault) {}

    COLORREF GetDefaultValue() const { return m_clrDefault; }
    COLORREF GetOverride() const { return m_clrOverride; }
    void SetDefaultValue(COLORREF clr) { m_clrDefault = clr; }
    void SetValue(COLORREF clr) { m_clrOverride = clr; }
    // Neither a default nor an override.
    BOOL IsNone() const { return m_clrDefault == XTP_COLOR_NONE && m_clrOverride == XTP_COLOR_NONE; }
    operator COLORREF() const { return m_clrOverride != XTP_COLOR_NONE ? m_clrOverride : m_clrDefault; }

private:
    COLORREF m_clrDefault = XTP_COLOR_NONE;
    COLORREF m_clrOverride = XTP_COLOR_NONE;
};

// Start, two middle and end colours. With both middle colours set the gradient runs in two halves (start to
// first middle, second middle to end), otherwise in one run from start to end.
class CColorGradient
{
public:
    CColorGradient() = default;
    explicit CColorGradient(COLORREF clr) { SetDefaultColor(clr); }
    CColorGradient(COLORREF clrStart, COLORREF clrEnd) { SetDefaultColors(clrStart, clrEnd); }
    CColorGradient(COLORREF clrStart, COLORREF clrMiddle1, COLORREF clrMiddle2, COLORREF clrEnd)
    {
        SetDefaultColors(clrStart, clrMiddle1, clrMiddle2, clrEnd);
    }

    // The defaults; the two-colour forms leave the middle colours unset, the gradient form takes the other
    // gradient's effective colours.
    void SetDefaultColor(COLORREF clr) { SetDefaultColors(clr, clr); }
    void SetDefaultColors(COLORREF clrStart, COLORREF clrEnd)
    {
        Set(&CColorValue::SetDefaultValue, clrStart, clrEnd);
    }
    void SetDefaultColors(COLORREF clrStart, COLORREF clrMiddle1, COLORREF clrMiddle2, COLORREF clrEnd)
    {
        Set(&CColorValue::SetDefaultValue, clrStart, clrMiddle1, clrMiddle2, clrEnd);
    }
    void SetDefaultColors(const CColorGradient& other) { Set(&CColorValue::SetDefaultValue, other); }

    // The same for the overrides.
    void SetColor(COLORREF clr) { SetColors(clr, clr); }
    void SetColors(COLORREF clrStart, COLORREF clrEnd) { Set(&CColorValue::SetValue, clrStart, clrEnd); }
    void SetColors(COLORREF clrStart, COLORREF clrMiddle1, COLORREF clrMiddle2, COLORREF clrEnd)
    {
        Set(&CColorValue::SetValue, clrStart, clrMiddle1, clrMiddle2, clrEnd);
    }
    void SetColors(const CColorGradient& other) { Set(&CColorValue::SetValue, other); }

    BOOL HasMiddleColors() const { return !m_clrMiddle1.IsNone() && !m_clrMiddle2.IsNone(); }

    CColorValue m_clrStart;
    CColorValue m_clrMiddle1;
    CColorValue m_clrMiddle2;
    CColorValue m_clrEnd;

private:
    // One field (default or override) of each of the four colours.
    typedef void (CColorValue::*PFN_SETVALUE)(COLORREF);
    void Set(PFN_SETVALUE pfnSet, COLORREF clrStart, COLORREF clrMiddle1, COLORREF clrMiddle2, COLORREF clrEnd);
    void Set(PFN_SETVALUE pfnSet, COLORREF clrStart, COLORREF clrEnd)
    {
        Set(pfnSet, clrStart, XTP_COLOR_NONE, XTP_COLOR_NONE, clrEnd);
    }
    void Set(PFN_SETVALUE pfnSet, const CColorGradient& other)
    {
        Set(pfnSet, other.m_clrStart, other.m_clrMiddle1, other.m_clrMiddle2, other.m_clrEnd);
    }
};

// Replaces GetSysColor for the table: the system colour index in, the colour out.
typedef COLORREF (*XTP_COLOR_HOOK)(int nIndex);

class CColorTable : public CCmdTarget
{
public:
    enum { colorCount = 60, gradientCount = 11 };
    // Colour schemes of the visual styles; the stored setting 4 or 5 means "detect".
    enum { schemeNone = 0, schemeBlue = 1, schemeOlive = 2, schemeSilver = 3, schemeAuto = 4 };

    CColorTable();

    // An index above 59 is a literal colour and comes back as it is.
    COLORREF GetColor(UINT nIndex) const;
    // Overrides of indices 0-59 (XTP_COLOR_NONE removes one); other indices are ignored. Derived colours
    // follow at the next refresh.
    void SetColor(UINT nIndex, COLORREF clr);
    void SetColors(int nCount, const UINT* pIndices, const COLORREF* pColors);
    // The scheme's fixed colour for 30-59 when the scheme sets one, else GetColor.
    COLORREF GetSchemeColor(UINT nIndex) const;
    CColorGradient& GetGradient(int nGradient) { return m_gradients[nGradient]; }

    void RefreshColors();
    // Recomputes the process-wide table when at least 501 ms have passed since its last throttled refresh.
    static void RefreshIfStale();
    // The clock of RefreshIfStale (GetTickCount unless replaced; null restores it); returns the previous one.
    typedef DWORD (WINAPI* PFN_TICKCOUNT)();
    static PFN_TICKCOUNT SetTickCountSource(PFN_TICKCOUNT pfnTickCount);

    void SetColorHook(XTP_COLOR_HOOK pfnHook);
    void SetSchemeColorsDisabled(BOOL bDisabled) { m_bSchemeColorsDisabled = bDisabled; }
    BOOL IsSchemeColorsDisabled() const { return m_bSchemeColorsDisabled; }
    void SetScheme(int nScheme) { m_nScheme = nScheme; }
    int GetCurrentScheme() const;
    // The scheme of the active visual style: luna's blue, olive and silver, royale's blue, otherwise none.
    static int DetectScheme();

    // Colour distances in a weighted RGB space (red 0-195, green 0-390, blue 0-65).
    static double GetWeightedRed(COLORREF clr);
    static double GetWeightedGreen(COLORREF clr);
    static double GetWeightedBlue(COLORREF clr);
    static double GetColorDistanceSquared(COLORREF a, COLORREF b);
    static double GetColorDistance(COLORREF a, COLORREF b);
    // The distance scaled up for dark reference colours: doubled for black, unchanged from brightness 220 on.
    static double GetContrastThreshold(int nBrightness, int nDistance);
    static BOOL IsContrastEnough(COLORREF a, COLORREF b, BOOL bScaled, float t);
    // b moved toward a until it lies at the scaled threshold from a (unchanged when already nearer).
    static COLORREF ReduceContrast(COLORREF a, COLORREF b, float t);
    // b moved along the ray from black (or white) through it to the scaled threshold from a, on the side of
    // the origin; unchanged when no point of the ray lies that near a.
    static COLORREF IncreaseContrast(COLORREF a, COLORREF b, float t);

private:
    int GetSchemeInForce() const;
    void SetStandard(int nIndex, COLORREF clr) { m_clrStandard[nIndex] = clr; }
    void RefreshSystemColors();
    void SetDefaultDerivedColors();
    void RefreshSchemeColors();
    void RefreshDerivedColors();
    void RefreshGradients();
    void RefreshThemedBorderColor();

    CColorGradient m_gradients[gradientCount];
    BOOL m_bSchemeColorsDisabled = FALSE;
    COLORREF m_clrStandard[colorCount] = {};
    COLORREF m_clrOverride[colorCount];
    COLORREF m_clrScheme[colorCount];
    XTP_COLOR_HOOK m_pfnColorHook = nullptr;
    int m_nScheme = schemeAuto;
};

// The process-wide table, made on first use.
CColorTable* GetColorTable();
COLORREF GetStandardColor(UINT nIndex);
void RefreshStandardColors();
