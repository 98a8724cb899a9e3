// The leaf of the docking tree: one application window with its id, title, icon and options. A pane always
// lives in a tabbed container while it is shown; a closed pane has no container but stays in its layout, so it
// can come back at the container that held it last. Panes are reference counted: the layout holds one
// reference, the manager's active-pane slot another.
#pragma once

#include "ui/docking/DockingPaneBase.h"

class CXTPImageManagerIcon;
class CXTPDockingPaneTabbedContainer;
class CDocument;
struct CCreateContext;

class CXTPDockingPane : public CCmdTarget, public CXTPDockingPaneElement
{
public:
    explicit CXTPDockingPane(CXTPDockingPaneLayout* pLayout);

    // The id; the title comes from the string resource of the same id.
    void SetID(UINT nID);
    UINT GetID() const { return m_nID; }
    // Docking width and height become the rectangle's.
    void SetDockingRect(const CRect& rc);
    // "Title\nTab caption": the text before the first newline, and the text after it (the whole title without one).
    CString GetTitle() const;
    CString GetTabCaption() const;
    void SetTitle(LPCTSTR lpszTitle);
    CString GetFullTitle() const { return m_strTitle; }
    DWORD GetOptions() const;
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
    int GetIconID() const { return m_nIconID; }
    void SetIconID(int nIconID) { m_nIconID = nIconID; }
    CXTPImageManagerIcon* GetIcon(int nWidth = 16) const;
    // The client window's own colour (message 0x0486), else the predefined colour of id modulo 8.
    virtual COLORREF GetItemColor();
    void SetMinTrackSize(CSize sz) { m_ptMinTrackSize = CPoint(sz.cx, sz.cy); }
    void SetMaxTrackSize(CSize sz) { m_ptMaxTrackSize = CPoint(sz.cx, sz.cy); }
    CSize GetMinTrackSize() const { return CSize(m_ptMinTrackSize.x, m_ptMinTrackSize.y); }
    CSize GetMaxTrackSize() const { return CSize(m_ptMaxTrackSize.x, m_ptMaxTrackSize.y); }

    // The client window
    void Attach(CWnd* pWnd);
    // A child frame of pParentWnd (no edge) that makes a view of pViewClass for pDocument (or what pContext
    // names), attached as the client window; the view, or null when the view could not be made.
    CWnd* AttachView(CWnd* pParentWnd, CRuntimeClass* pViewClass, CDocument* pDocument = nullptr,
                     CCreateContext* pContext = nullptr);
    void Detach();
    HWND GetChild() const { return m_hwndChild; }
    BOOL IsValid() const { return m_hwndChild != nullptr; }
    // Shows or hides the client window; showing first asks the frame for it (code 1).
    void ShowWindow(BOOL bShow = TRUE);
    void SetFocus();
    BOOL IsFocus() const;

    BOOL IsClosed() const { return m_pParentContainer == nullptr; }
    BOOL IsSelected() const;
    BOOL IsFloating() const;
    CWnd* GetSite() const;
    CXTPDockingPaneTabbedContainer* GetTabbedContainer() const;

    void Close();
    void Hide();
    void Select();

    // Everything but the client window.
    virtual void Copy(CXTPDockingPane* pPane);

    // Element
    void SetParentContainer(CXTPDockingPaneElement* pContainer) override;
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam) override;
    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    BOOL IsHidden() const override;
    void OnIdleUpdate() override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;

private:
    HWND m_hwndChild = nullptr;
    UINT m_nID = 0;
    int m_nIconID = -1;
    CString m_strTitle;
    DWORD m_dwOptions = 0;
    CPoint m_ptMinTrackSize{0, 0};
    CPoint m_ptMaxTrackSize{XTP_DOCKINGPANE_MAXSIZE, XTP_DOCKINGPANE_MAXSIZE};
};
