// The framework's own tip windows: a popup that answers the tooltip control's messages (wide forms), keeps its
// tool list, shows the tip of the tool under the cursor after the initial delay (at once within the reshow time
// of the last show or hide), holds back a clicked tool, and draws a plain or gradient tip. The clock and the
// cursor come from CXTPInputSource, so tests fire the show timer themselves.
#pragma once

#include "platform/mfc/afxwin.h"

#include <commctrl.h>

#include <memory>
#include <vector>

class CTipContext;

// One tool of a tip window.
struct XTP_TIP_TOOL
{
    CString strText;
    BOOL bCallback = FALSE;   // the text is asked from the tool window's parent with TTN_NEEDTEXT
    UINT uFlags = 0;
    CRect rect;               // in the tool window's client coordinates
    HINSTANCE hInstance = nullptr;
    HWND hWnd = nullptr;
    UINT_PTR nID = static_cast<UINT_PTR>(-1);

    BOOL IsEmpty() const { return hWnd == nullptr && nID == static_cast<UINT_PTR>(-1); }
    BOOL IsSame(const XTP_TIP_TOOL& other) const { return hWnd == other.hWnd && nID == other.nID; }
    void Clear() { *this = XTP_TIP_TOOL(); }
};

class CTipWnd : public CWnd
{
public:
    enum { initialDelay = 500, reshowTime = 200, showTimerID = 1, offsetBelowCursor = 21 };

    explicit CTipWnd(CTipContext* pContext) : m_pContext(pContext) {}
    ~CTipWnd() override;

    // A popup tool window owned by pParentWnd, with the tooltip style bits given.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle);

    // The size of the shown tool's tip; 0 x 0 for an empty text.
    virtual CSize CalcSize(CDC* pDC);
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    const XTP_TIP_TOOL& GetTool(int nIndex) const { return *m_tools[nIndex]; }
    const XTP_TIP_TOOL& GetShownTool() const { return m_shown; }
    const XTP_TIP_TOOL& GetClickedTool() const { return m_clicked; }
    const XTP_TIP_TOOL& GetPendingTool() const { return m_pending; }
    DWORD GetTipStyle() const { return m_dwTipStyle; }
    const CString& GetTitle() const { return m_strTitle; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Background and frame; the text and title are drawn over it.
    virtual void DrawBackground(CDC* pDC, CRect rc);
    virtual void DrawContent(CDC* pDC, CRect rc);
    // The text the shown tool displays (asked from its parent for a callback tool).
    CString GetToolText(const XTP_TIP_TOOL& tool);

    void RelayEvent(const MSG* pMsg);
    XTP_TIP_TOOL* FindToolAtCursor();
    // Shows the tool's tip below the cursor, or hides the tip for null.
    void ShowTool(const XTP_TIP_TOOL* pTool);
    XTP_TIP_TOOL* FindTool(const TTTOOLINFOW* pInfo);
    static void SetText(XTP_TIP_TOOL& tool, LPCWSTR lpszText);
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    CTipContext* m_pContext;
    std::vector<std::unique_ptr<XTP_TIP_TOOL>> m_tools;
    XTP_TIP_TOOL m_shown;
    XTP_TIP_TOOL m_clicked;
    XTP_TIP_TOOL m_pending;
    CString m_strTitle;
    CFont m_font;
    DWORD m_dwLastShowHide = 0;
    BOOL m_bActive = FALSE;
    DWORD m_dwTipStyle = TTS_NOPREFIX;
};

// The plain tip over a gradient: the scheme's colours, or the background colour to white.
class CGradientTipWnd : public CTipWnd
{
public:
    using CTipWnd::CTipWnd;

protected:
    void DrawBackground(CDC* pDC, CRect rc) override;
};

// A tip whose text is RTF (plain text when it yields nothing), laid out and drawn by a hidden read-only rich
// edit child: as narrow as the text allows without growing taller.
class CRichTipWnd : public CTipWnd
{
public:
    enum { richEditID = 1 };
    using CTipWnd::CTipWnd;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle) override;
    CSize CalcSize(CDC* pDC) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawContent(CDC* pDC, CRect rc) override;

private:
    // Streams the text into the edit in one format (SF_RTF or SF_TEXT); FALSE when nothing came in.
    BOOL StreamIn(const CString& strText, int nFormat);
    // The size the edit asks for at that width.
    CSize RequestSize(int nWidth);

    HWND m_hWndEdit = nullptr;
    CRect m_rcRequested;
};
