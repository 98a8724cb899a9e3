// The tooltips of one framework window: which tool lies under the mouse, one tip window (the system tooltip,
// plain or balloon, or one of the framework's own tips) and its configuration. A change of look drops the tip
// window; the next mouse message makes a new one.
#pragma once

#include "platform/mfc/afxwin.h"

#include <commctrl.h>

#include <memory>

// The title and description of a tool, handed over through the lParam of a TOOLINFO of the titled size
// (CTipContext::titledToolInfoSize); allocated by FillToolInfo, freed by the context after the hit test.
struct XTP_TOOLTIP_TITLE
{
    LPWSTR lpszTitle;
    LPWSTR lpszDescription;
};

class CTipContext : public CCmdTarget
{
public:
    enum { kindSystem = 0, kindBalloon = 1, kindPlain = 2, kindRichText = 3, kindGradient = 4 };
    // Own tips: a 3-D border instead of the black frame; no drop shadow.
    enum { styleThreeD = 0x1000, styleNoShadow = 0x2000 };
    // A hit test with titles shown gets a TOOLINFO of this size, else of TTTOOLINFOW_V1_SIZE.
    static constexpr UINT titledToolInfoSize = sizeof(TTTOOLINFOW);

    // pOwner: the window whose tools the context shows.
    explicit CTipContext(CWnd* pOwner = nullptr);
    ~CTipContext() override;

    void SetTipKind(int nKind);
    int GetTipKind() const { return m_nTipKind; }
    void ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    DWORD GetStyle() const { return m_dwStyle; }
    // TTDT_RESHOW, TTDT_AUTOPOP or TTDT_INITIAL; -1 leaves the tooltip's own delay.
    void SetDelayTime(DWORD dwWhich, int nMilliseconds);
    void SetMargin(const CRect& rc);
    CRect GetMargin() const { return m_rcMargin; }
    // bShowTitles: tools that give a title and a description show the title (with the icon, TTI_ values)
    // over the description.
    void SetTitleIcon(BOOL bShowTitles, int nIcon);
    BOOL IsShowTitles() const { return m_bShowTitles; }
    void SetMaxTipWidth(int nWidth);
    int GetMaxTipWidth() const { return m_nMaxTipWidth; }
    void SetBackColor(COLORREF clr);
    void SetTextColor(COLORREF clr);
    // The colour set, or the colour table's info colours.
    COLORREF GetBackColor() const;
    COLORREF GetTextColor() const;
    BOOL IsComCtl580() const { return m_dwComCtlVersion >= MAKELONG(80, 5); }
    // The tip window for a parent, by kind; the context keeps it.
    CWnd* CreateTipWindow(CWnd* pParentWnd);
    CWnd* GetTipWindow() const { return m_pTipWnd.get(); }
    // Drops the tip window, so that the next mouse message makes a new one.
    void ReleaseTipWindow();

    // A hit test's answer: window, id, rect, flags and a copy of the text (malloc); with a TOOLINFO of the
    // titled size and both title and description given, copies of those too. FALSE for a TOOLINFO smaller
    // than TTTOOLINFOW_V1_SIZE.
    static BOOL FillToolInfo(TOOLINFO* pTI, HWND hWnd, UINT_PTR nID, const RECT& rc, UINT uFlags, LPCWSTR lpszText,
                             LPCWSTR lpszTitle = nullptr, LPCWSTR lpszDescription = nullptr);

    // Makes the thread's tooltip filter this context's (until another is installed or the context goes).
    void InstallFilter();
    // One message of the pump: follows the mouse over the owner's tools (CWnd::OnToolHitTest) and drives the
    // tip window. bOwnerCall: the message is the owner's own, its window is not looked up.
    void FilterToolTipMessage(const MSG* pMsg, BOOL bOwnerCall);
    // One message of a window that shares the context (the bars of one manager): the filter with that window as
    // the owner of the tools, so that the tips follow the mouse from one window to the next.
    void ToolHitTest(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The filter at the cursor's current position, as the owner's own mouse move.
    void ShowTipAtCursor();

private:
    static void ThreadFilter(const MSG* pMsg);
    LRESULT SendToTip(UINT message, WPARAM wParam = 0, const void* pParam = nullptr);
    void RelayToTip(const MSG* pMsg);
    void Filter(CWnd* pOwner, const MSG* pMsg, BOOL bOwnerCall);

    CWnd* m_pOwner;
    TTTOOLINFOW m_lastTool;   // the tool of the last hit test; no text kept
    BOOL m_bShowTitles = FALSE;
    int m_nTipKind = kindSystem;
    DWORD m_dwComCtlVersion;
    int m_nTitleIcon = TTI_INFO;
    int m_nMaxTipWidth;
    DWORD m_dwStyle = TTS_NOPREFIX;
    CRect m_rcMargin;
    int m_nDelayInitial = -1;
    int m_nDelayReshow = -1;
    int m_nDelayAutopop = -1;
    std::unique_ptr<CWnd> m_pTipWnd;
    COLORREF m_clrBack = 0xFFFFFFFF;
    COLORREF m_clrText = 0xFFFFFFFF;
};
