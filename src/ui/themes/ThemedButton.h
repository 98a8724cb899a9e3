// The framework's owner-drawn push button: a button theme draws its face, image, caption and focus; it shows a
// hot look while the cursor is over it (polled by a timer), carries an icon in a normal and a hot form, and its
// drawing-style flags choose the classic, flat, semi-flat or visual-styles look.
#pragma once

#include "ui/themes/ButtonTheme.h"

#include "platform/mfc/afxctrls.h"

#include <memory>

class CXTPImageManagerIcon;

class CXTButton : public CButton, public CXTThemeManagerStyleHost
{
    DECLARE_DYNAMIC(CXTButton)
public:
    // Drawing-style flags.
    enum
    {
        styleFlat = 0x0001,          // no frame until hot; raised when hot, sunken when pressed
        styleSemiFlat = 0x0002,      // a one-pixel raised frame, sunken when pressed
        styleImageAbove = 0x0004,    // image centred above the caption
        styleFocusRect = 0x0010,     // focus rectangle while focused
        styleHalftone = 0x0020,      // pressed or toggled face filled with the halftone
        styleFlatTheme = 0x0040,     // the flat theme as the button's own
        styleVisualStyles = 0x1000,  // through the visual styles when available
    };
    enum { hotTimerID = 1, hotTimerElapse = 10 };

    explicit CXTButton(CRuntimeClass* pFactoryClass = nullptr);
    ~CXTButton() override;

    virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hIconHot = nullptr, BOOL bRedraw = TRUE);
    // By icon resource ids (16-bit); FALSE when the normal icon, or a hot one asked for, cannot be loaded.
    virtual BOOL SetIcon(CSize size, UINT nID, UINT nHotID = 0, BOOL bRedraw = TRUE);
    virtual BOOL SetBitmap(CSize size, UINT nID, BOOL bRedraw = TRUE);
    virtual BOOL SetImageTextPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
    // Answers the flags replaced.
    virtual DWORD SetDrawStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
    virtual DWORD GetDrawStyle() const { return m_dwDrawStyle; }
    virtual BOOL HasTheme() { return GetTheme() != nullptr; }
    virtual void SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
    virtual void SetFaceColor(COLORREF clr);
    virtual COLORREF GetFaceColor();
    virtual void SetLightColor(COLORREF clr);
    virtual void SetShadowColor(COLORREF clr);
    virtual void SetTextColor(COLORREF clr);
    // Only for the flat theme (id 1): border for light and shadow, then the hot and pressed faces.
    virtual void SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPressedFace);
    virtual void ToggleShowImages();
    // Answers the current font; a given one is set with redraw.
    virtual CFont* ReplaceFont(CFont* pFont);
    virtual BOOL MakeOwnerDraw();
    virtual void CleanUpIcon();
    virtual CString GetButtonText(BOOL bRemoveAmpersand);

    CXTButtonTheme* GetButtonTheme() { return static_cast<CXTButtonTheme*>(GetTheme()); }
    // The style every button without one of its own draws with; a new one (by theme id, or a style that is
    // owned from then on) reaches each of those buttons.
    static CXTButtonTheme* GetClassTheme();
    static void SetClassTheme(int nTheme);
    static void SetClassTheme(CXTButtonTheme* pTheme);
    CXTPImageManagerIcon* GetIcon() const { return m_pIcon.get(); }
    CSize GetImageSize() const { return m_szImage; }
    int GetImageGap() const { return m_nImageGap; }
    int GetImageTextGap() const { return m_nImageTextGap; }
    BOOL HasUserPositions() const { return m_bUserPositions; }
    CPoint GetUserImagePoint() const { return m_ptImage; }
    CPoint GetUserCaptionPoint() const { return m_ptCaption; }
    BOOL IsHot() const { return m_bHot; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsToggled() const { return m_bToggled; }
    void SetToggled(BOOL bToggled);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    void OnThemeChanged() override;
    void CheckHot();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

private:
    static CXTThemeManagerStyleFactory* GetClassFactory();

    int m_nImageGap = 4;
    int m_nImageTextGap = 8;
    BOOL m_bOwnerDrawOnSubclass = TRUE;
    BOOL m_bHot = FALSE;
    BOOL m_bUserPositions = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bHotDrawn = FALSE;
    BOOL m_bToggled = FALSE;
    DWORD m_dwDrawStyle = styleFlat;
    CSize m_szImage = CSize(0, 0);
    CPoint m_ptImage = CPoint(0, 0);
    CPoint m_ptCaption = CPoint(0, 0);
    std::unique_ptr<CXTPImageManagerIcon> m_pIcon;
};
