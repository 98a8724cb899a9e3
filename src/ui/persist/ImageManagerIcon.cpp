#include "ImageManager.h"

#include "ImageManagerPixels.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CXTPImageManagerIcon, CCmdTarget)

namespace
{
// The grey of the generated disabled image: brightness exponent and alpha divisor.
const double dDisabledBrightness = 0.5;
const double dDisabledAlphaFactor = 1.0;

BYTE Trunc(double d) { return static_cast<BYTE>(d < 0 ? 0 : d > 255 ? 255 : static_cast<int>(d)); }

BYTE Faded(BYTE c) { return Trunc(c * (1 - 0.3) + 0.3 * 255); }

BYTE Grey(BYTE r, BYTE g, BYTE b)
{
    double dLuminance = (r * 0.299 + g * 0.587 + b * 0.114) * 0.00392156862745098;
    return Trunc(std::pow(dLuminance, dDisabledBrightness) * 255);
}

COLORREF ShadowColor()
{
    COLORREF clr = GetColorTable()->GetColor(31);
    return RGB(Trunc(GetRValue(clr) * 0.75), Trunc(GetGValue(clr) * 0.75), Trunc(GetBValue(clr) * 0.75));
}

// Gives the handle the source icon's pixels after pixelOp changed each opaque pixel (black in the mask): the
// icon itself is made only if someone asks for it, drawing blends the pixels. The handle stays empty when the
// source has no colour bitmap.
template <class PixelOp>
void DeriveIcon(CXTPImageManagerIconHandle& hSource, CXTPImageManagerIconHandle& hTarget, PixelOp pixelOp, BOOL bChange = TRUE)
{
    const XTP_ICON_BITS* pSource = hSource.GetIconBits();
    if (!pSource)
        return;
    XTP_ICON_BITS bits = *pSource;
    if (bChange) {
        for (size_t i = 0; i < bits.colors.size(); ++i) {
            if ((bits.mask[i] & 0xFFFFFF) == 0)
                bits.colors[i] = pixelOp(bits.colors[i]);
        }
    }
    hTarget.SetIconBits(std::move(bits));
}

// Gives the handle a new 32-bit bitmap of the alpha source's pixels, each changed; the handle stays empty when
// the source cannot be read.
template <class PixelOp>
void DeriveAlpha(const CXTPImageManagerIconHandle& hSource, CXTPImageManagerIconHandle& hTarget, PixelOp pixelOp)
{
    hTarget.Clear();
    std::vector<DWORD> pixels;
    SIZE size;
    if (!XTPReadPixels(hSource.GetBitmap(), pixels, size))
        return;
    for (DWORD& pixel : pixels)
        pixel = pixelOp(pixel);
    HBITMAP hBitmap = XTPCreateDIB32(size.cx, size.cy);
    if (hBitmap && XTPWritePixels(hBitmap, pixels, size))
        hTarget.SetBitmap(hBitmap);
    else if (hBitmap)
        ::DeleteObject(hBitmap);
}

BOOL IsPrintingDC(CDC* pDC)
{
    return ::GetObjectType(pDC->GetSafeHdc()) == OBJ_ENHMETADC || pDC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER;
}
}

CXTPImageManagerIcon::CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerIconSet* pIconSet)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pIconSet(pIconSet)
{
}

CXTPImageManagerIcon::CXTPImageManagerIcon(UINT nID, int nWidth, int nHeight, CXTPImageManagerImageList* pImageList)
    : m_nID(nID), m_nWidth(nWidth), m_nHeight(nHeight), m_pImageList(pImageList)
{
}

CXTPImageManagerIcon::~CXTPImageManagerIcon() { Clear(TRUE); }

CXTPImageManager* CXTPImageManagerIcon::GetImageManager() const
{
    return m_pIconSet && m_pIconSet->GetImageManager() ? m_pIconSet->GetImageManager() : XTPImageManager();
}

CSize CXTPImageManagerIcon::GetExtent() const { return m_hIcon.GetExtent(); }

CXTPImageManagerIconHandle& CXTPImageManagerIcon::GetHotIcon() { return m_hHot.IsEmpty() ? m_hIcon : m_hHot; }

CXTPImageManagerIconHandle& CXTPImageManagerIcon::GetCheckedIcon() { return m_hChecked.IsEmpty() ? GetHotIcon() : m_hChecked; }

CXTPImageManagerIconHandle& CXTPImageManagerIcon::GetDisabledIcon(BOOL bCreate)
{
    if (!m_hDisabled.IsEmpty())
        return m_hDisabled;
    if (m_hDisabledAuto.IsEmpty() && bCreate)
        CreateDisabledIcon();
    return m_hDisabledAuto;
}

CXTPImageManagerIconHandle& CXTPImageManagerIcon::GetFadedIcon()
{
    if (m_hFaded.IsEmpty())
        CreateFadedIcon();
    return m_hFaded;
}

CXTPImageManagerIconHandle& CXTPImageManagerIcon::GetShadowIcon()
{
    if (m_hShadow.IsEmpty())
        CreateShadowIcon();
    return m_hShadow;
}

void CXTPImageManagerIcon::RefreshDerivedIcons()
{
    m_hFaded.Clear();
    m_hShadow.Clear();
    m_hDisabledAuto.Clear();
}

void CXTPImageManagerIcon::Clear(BOOL bIncludeNormal)
{
    RefreshDerivedIcons();
    m_hHot.Clear();
    m_hChecked.Clear();
    m_hDisabled.Clear();
    if (bIncludeNormal)
        m_hIcon.Clear();
}

void CXTPImageManagerIcon::SetIcon(const CXTPImageManagerIconHandle& hIcon)
{
    Clear(TRUE);
    m_hIcon.CopyHandle(hIcon);
    CSize szIcon = m_hIcon.GetExtent();
    m_nWidth = szIcon.cx;
    m_nHeight = szIcon.cy;
    m_bScaled = FALSE;
    if (m_pIconSet)
        m_pIconSet->RefreshAll();
}

void CXTPImageManagerIcon::SetNormalIcon(const CXTPImageManagerIconHandle& hIcon)
{
    RefreshDerivedIcons();
    m_hIcon.CopyHandle(hIcon);
}

void CXTPImageManagerIcon::SetHotIcon(const CXTPImageManagerIconHandle& hIcon)
{
    RefreshDerivedIcons();
    m_hHot.CopyHandle(hIcon);
}

void CXTPImageManagerIcon::SetCheckedIcon(const CXTPImageManagerIconHandle& hIcon)
{
    RefreshDerivedIcons();
    m_hChecked.CopyHandle(hIcon);
}

void CXTPImageManagerIcon::SetDisabledIcon(const CXTPImageManagerIconHandle& hIcon)
{
    RefreshDerivedIcons();
    m_hDisabled.CopyHandle(hIcon);
}

BOOL CXTPImageManagerIcon::LoadIcon(UINT nIDResourceIcon, int nWidth, int nHeight)
{
    Clear(TRUE);
    m_bScaled = FALSE;
    if (!m_hIcon.LoadIcon(nIDResourceIcon, CSize(nWidth, nHeight)))
        return FALSE;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return TRUE;
}

void CXTPImageManagerIcon::CreateFadedIcon()
{
    if (m_hIcon.IsAlpha()) {
        DeriveAlpha(m_hIcon, m_hFaded, [](DWORD p) {
            return MakePixel(Trunc(PixelRed(p) * 0.7 + 76.5), Trunc(PixelGreen(p) * 0.7 + 76.5),
                             Trunc(PixelBlue(p) * 0.7 + 76.5), PixelAlpha(p));
        });
        return;
    }
    // A screen of 256 colours or fewer shows no lightened shades: the faded icon is an unchanged copy.
    DeriveIcon(m_hIcon, m_hFaded,
               [](DWORD p) { return MakePixel(Faded(PixelRed(p)), Faded(PixelGreen(p)), Faded(PixelBlue(p)), PixelAlpha(p)); },
               !IsLowColorDisplay());
}

void CXTPImageManagerIcon::CreateShadowIcon()
{
    COLORREF clrShadow = ShadowColor();
    auto shadow = [clrShadow](DWORD p) {
        return MakePixel(GetRValue(clrShadow), GetGValue(clrShadow), GetBValue(clrShadow), PixelAlpha(p));
    };
    CXTPImageManagerIconHandle& hSource = m_hHot.IsEmpty() ? m_hIcon : m_hHot;
    if (hSource.IsAlpha())
        DeriveAlpha(hSource, m_hShadow, shadow);
    else
        DeriveIcon(hSource, m_hShadow, shadow);
}

void CXTPImageManagerIcon::CreateDisabledIcon()
{
    if (m_hIcon.IsAlpha()) {
        DeriveAlpha(m_hIcon, m_hDisabledAuto, [](DWORD p) {
            BYTE g = Grey(PixelRed(p), PixelGreen(p), PixelBlue(p));
            return MakePixel(g, g, g, Trunc(PixelAlpha(p) / dDisabledAlphaFactor));
        });
        return;
    }
    DeriveIcon(m_hIcon, m_hDisabledAuto, [](DWORD p) {
        BYTE g = Grey(PixelRed(p), PixelGreen(p), PixelBlue(p));
        return MakePixel(g, g, g, PixelAlpha(p));
    });
}

void CXTPImageManagerIcon::Draw(CDC* pDC, CPoint pt, CXTPImageManagerIconHandle& hIcon, CSize szIcon)
{
    int cx = szIcon.cx ? szIcon.cx : m_nWidth;
    int cy = szIcon.cy ? szIcon.cy : (m_nWidth ? m_nHeight * cx / m_nWidth : 0);
    if (m_pImageList) {
        m_pImageList->Draw(pDC, pt, this, CSize(cx, cy));
        return;
    }
    if (hIcon.IsEmpty())
        return;
    if (!hIcon.IsAlpha()) {
        BOOL bPrinting = IsPrintingDC(pDC);
        // The bars draw every icon on every repaint, and the system's icon drawing costs far more than a blend of
        // a cached copy; mirrored and printed icons, and icons that invert pixels, go through the system.
        if (!GetImageManager()->IsDrawReverted() && !bPrinting && XTPImageManager()->IsAlphaIconsSupported()) {
            if (HBITMAP hAlphaBits = hIcon.PreMultiply()) {
                CXTPImageManager::AlphaBlendBitmap(pDC, hAlphaBits, pt, CSize(cx, cy), CPoint(0, 0),
                                                   CSize(XTPGetBitmapSize(hAlphaBits)));
                return;
            }
        }
        if (GetImageManager()->IsDrawReverted()) {
            pt.x += cx;
            cx = -cx;
        }
        if (bPrinting) {
            HIMAGELIST hList = ::ImageList_Create(std::abs(cx), cy, ILC_COLOR24 | ILC_MASK, 1, 0);
            ::ImageList_ReplaceIcon(hList, -1, hIcon.GetIcon());
            ::ImageList_Draw(hList, 0, pDC->GetSafeHdc(), pt.x, pt.y, ILD_NORMAL);
            ::ImageList_Destroy(hList);
        } else {
            ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, hIcon.GetIcon(), cx, cy, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    if (HBITMAP hAlphaBits = hIcon.PreMultiply())
        CXTPImageManager::AlphaBlendBitmap(pDC, hAlphaBits, pt, CSize(cx, cy), CPoint(0, 0), CSize(m_nWidth, m_nHeight));
}

void CXTPImageManagerIcon::DrawMono(CDC* pDC, CPoint pt, CXTPImageManagerIconHandle& hIcon, COLORREF clrBrush)
{
    if (hIcon.IsAlpha() || !hIcon.GetIcon())
        return;
    CBrush brush;
    brush.CreateSolidBrush(clrBrush);
    if (GetImageManager()->IsDrawReverted()) {
        CDC dcMem;
        dcMem.CreateCompatibleDC(pDC);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(pDC, m_nWidth, m_nHeight);
        CBitmap* pOld = dcMem.SelectObject(&bitmap);
        dcMem.FillSolidRect(0, 0, m_nWidth, m_nHeight, RGB(255, 255, 255));
        ::DrawIconEx(dcMem.GetSafeHdc(), 0, 0, hIcon.GetIcon(), m_nWidth, m_nHeight, 0, nullptr, DI_NORMAL);
        dcMem.SelectObject(pOld);
        ::DrawStateW(pDC->GetSafeHdc(), static_cast<HBRUSH>(brush.GetSafeHandle()), nullptr,
                     reinterpret_cast<LPARAM>(bitmap.GetSafeHandle()), 0, pt.x, pt.y, m_nWidth, m_nHeight,
                     DST_BITMAP | DSS_MONO);
        return;
    }
    ::DrawStateW(pDC->GetSafeHdc(), static_cast<HBRUSH>(brush.GetSafeHandle()), nullptr,
                 reinterpret_cast<LPARAM>(hIcon.GetIcon()), 0, pt.x, pt.y, 0, 0, DST_ICON | DSS_MONO);
}

BOOL CXTPImageManagerIcon::HasImage(int nImage) const
{
    switch (nImage) {
    case imageNormal: return !m_hIcon.IsEmpty();
    case imageDisabled: return !m_hDisabled.IsEmpty();
    case imageHot: return !m_hHot.IsEmpty();
    case imageChecked: return !m_hChecked.IsEmpty();
    default: return FALSE;
    }
}

void CXTPImageManagerIcon::Draw(CDC* pDC, CPoint pt, int nImage, CSize szIcon)
{
    switch (nImage) {
    case imageDisabled: Draw(pDC, pt, GetDisabledIcon(), szIcon); break;
    case imageHot: Draw(pDC, pt, GetHotIcon(), szIcon); break;
    case imageChecked: Draw(pDC, pt, GetCheckedIcon(), szIcon); break;
    case imageFaded: Draw(pDC, pt, GetFadedIcon(), szIcon); break;
    case imageShadow: Draw(pDC, pt, GetShadowIcon(), szIcon); break;
    default: Draw(pDC, pt, GetIcon(), szIcon); break;
    }
}

void CXTPImageManagerIcon::DrawMono(CDC* pDC, CPoint pt, CSize /*szIcon*/, COLORREF clrBrush)
{
    DrawMono(pDC, pt, GetIcon(), clrBrush);
}
