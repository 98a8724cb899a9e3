// The splash window shown while the program comes up: the splash bitmap centred and topmost, closed after five
// seconds, at the first key or mouse-button press anywhere in the program (which is swallowed), or before any
// start-up message box.
#pragma once

#include "platform/mfc/afxwin.h"

class CSplashWnd : public CWnd
{
public:
    enum { SPLASH_TIMER = 1, SPLASH_MILLISECONDS = 5000 };

    static void EnableSplashScreen(BOOL bEnable);
    static void ShowSplashScreen(CWnd* pParentWnd);
    static void HideSplashScreen();
    // TRUE swallows the message: a key or mouse-button press while the splash is up only closes it.
    static BOOL PreTranslateAppMessage(MSG* pMsg);
    static CSplashWnd* GetSplashWnd() { return c_pSplashWnd; }

    // While it lives, every message box first closes the splash, so that no box opens behind it.
    class CHideBeforeMessageBoxes
    {
    public:
        CHideBeforeMessageBoxes();
        ~CHideBeforeMessageBoxes();
        CHideBeforeMessageBoxes(const CHideBeforeMessageBoxes&) = delete;
        CHideBeforeMessageBoxes& operator=(const CHideBeforeMessageBoxes&) = delete;

    private:
        static int HideThenShow(const AFX_MSGBOX_REQUEST& request);
        static AFX_MSGBOX_HANDLER c_pfnPrevious;
        AFX_MSGBOX_HANDLER m_pfnPrevious;
    };

protected:
    CSplashWnd() = default;
    ~CSplashWnd() override;

    BOOL Create(CWnd* pParentWnd);
    BOOL LoadSplashBitmap();
    void RealizePalette(CDC& dc);
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP m_hBitmap = nullptr;
    HPALETTE m_hPalette = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;

    static CSplashWnd* c_pSplashWnd;
    static BOOL c_bShowSplashWnd;
};
