// The node of the docking tree. Panes, tabbed containers, splitter containers, floating frames, auto-hide panels
// and the placeholder of the frame's client area are all elements: each knows its layout, its parent container
// and the window that hosts it (the frame or a floating frame). Containers derive from it beside their window
// class; dynamic_cast converts between an object and its element part.
#pragma once

#include "platform/mfc/afxwin.h"
#include "ui/docking/XTPDockingPanePaintManager.h"

#include <map>
#include <vector>

class CXTPDockingPane;
class CXTPDockingPaneElement;
class CXTPDockingPaneLayout;
class CXTPDockingPaneManager;
class CXTPPropExchange;

// Element types, also the "Type" of the saved form.
enum XTPDockingPaneType
{
    xtpPaneTypeDockingPane = 0,
    xtpPaneTypeTabbedContainer = 1,
    xtpPaneTypeSplitterContainer = 2,
    xtpPaneTypeMiniWnd = 3,
    xtpPaneTypeClient = 4,
    xtpPaneTypeAutoHidePanel = 5
};

// Docking directions; left and right swap in a right-to-left frame.
enum XTPDockingPaneDirection
{
    xtpPaneDockLeft = 0,
    xtpPaneDockRight = 1,
    xtpPaneDockTop = 2,
    xtpPaneDockBottom = 3
};

// Pane options, ORed with the manager's defaults.
enum XTPDockingPaneOptions
{
    xtpPaneNoCloseable = 1,
    xtpPaneNoHideable = 2,
    xtpPaneNoFloatable = 4,
    xtpPaneNoCaption = 8,
    xtpPaneHasMenuButton = 16
};

// The largest size a pane is given: its default maximum track size.
const long XTP_DOCKINGPANE_MAXSIZE = 32000;

// A docking or track size of the saved form. One read below 0 or above the largest size is damage: it is held
// within them, as no frame shows it and the layout's sums of such sizes would overflow.
BOOL ExchangeDockingSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue, long nDefault);

// The docking code's one notification to the frame: wParam is the code, lParam its record.
const UINT WM_DOCKINGPANE_NOTIFY = 35302;
enum XTPDockingPaneNotifyCode
{
    XTP_DPN_SHOWWINDOW = 1,    // the pane; it needs its client window
    XTP_DPN_RCLICK = 2,        // the container under a right click
    XTP_DPN_CLOSEPANE = 3,     // the pane; -1 keeps it
    XTP_DPN_ACTION = 4,        // XTP_DOCKINGPANE_ACTION*
    XTP_DPN_CONTEXTMENU = 5    // XTP_DOCKINGPANE_CLICK*
};
const LRESULT XTP_ACTION_NOCLOSE = -1;

enum XTPDockingPaneAction
{
    xtpPaneActionFloating = 0,
    xtpPaneActionFloated = 1,
    xtpPaneActionClosing = 2,
    xtpPaneActionClosed = 3,
    xtpPaneActionDocking = 4,
    xtpPaneActionDocked = 5,
    xtpPaneActionAttaching = 6,
    xtpPaneActionAttached = 7,
    xtpPaneActionPinning = 8,
    xtpPaneActionPinned = 9,
    xtpPaneActionCollapsing = 10,
    xtpPaneActionCollapsed = 11,
    xtpPaneActionExpanding = 12,
    xtpPaneActionExpanded = 13,
    xtpPaneActionActivated = 14,
    xtpPaneActionDeactivated = 15,
    xtpPaneActionDetaching = 16
};

// The record of code 4. Every field is pointer-sized, so the record has one shape on both targets.
struct XTP_DOCKINGPANE_ACTION
{
    INT_PTR action;
    INT_PTR bCancel;                        // the frame sets it to cancel an action sent before the change
    CXTPDockingPane* pPane;
    CXTPDockingPaneElement* pDockContainer;
    INT_PTR nExtra;                         // the docking direction a drag asks about
};

// The record of code 5: the pane and where its menu should open (screen).
struct XTP_DOCKINGPANE_CLICK
{
    CXTPDockingPane* pPane;
    INT_PTR x;
    INT_PTR y;
};

typedef std::vector<CXTPDockingPaneElement*> CXTPDockingPaneElementList;
typedef std::map<CXTPDockingPaneElement*, CXTPDockingPaneElement*> CXTPPaneToPaneMap;

class CXTPDockingPaneElement
{
public:
    CXTPDockingPaneElement(int nType, CXTPDockingPaneLayout* pLayout);
    virtual ~CXTPDockingPaneElement();
    CXTPDockingPaneElement(const CXTPDockingPaneElement&) = delete;
    CXTPDockingPaneElement& operator=(const CXTPDockingPaneElement&) = delete;

    virtual void InvalidatePane();
    // This element, or (containers) one of its descendants.
    virtual BOOL ContainsPane(CXTPDockingPaneElement* pElement) const;
    // Appends the elements of that type found here to the list.
    virtual void FindPane(int nType, CXTPDockingPaneElementList* pList);
    virtual void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const;
    // Lays the element out in rect (site client coordinates); lParam is the frame's AFX_SIZEPARENTPARAMS or null.
    virtual void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam);
    virtual void OnIdleUpdate() {}
    virtual void SetDockingSite(CWnd* pSite) { m_pDockingSite = pSite; }
    virtual void SetParentContainer(CXTPDockingPaneElement* pContainer) { m_pParentContainer = pContainer; }
    virtual void OnChildContainerChanged(CXTPDockingPaneElement* /*pContainer*/) {}
    virtual void OnChildChanged(BOOL bRelayout);
    virtual void OnParentContainerChanged(CXTPDockingPaneElement* /*pContainer*/) {}
    // The element's keys in its "Pane-%d" section; FALSE fails a layout read.
    virtual BOOL DoPropExchange(CXTPPropExchange* pPX);
    // A copy in pLayout; with a map the old-to-new pair is entered (containers copy their children through it).
    virtual CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                          DWORD dwIgnoredOptions = 0);
    virtual void RemovePane(CXTPDockingPaneElement* /*pElement*/) {}
    virtual BOOL IsEmpty() const;
    virtual BOOL IsCaptionButtonVisible(CPaneCaptionButton* /*pButton*/) { return TRUE; }
    virtual HWND GetPaneHwnd() const { return nullptr; }
    // Inside an auto-hide panel.
    virtual BOOL IsHidden() const { return FALSE; }
    // Frees the element. While a message of its own window is being handled, the window goes at once and the
    // element when the outermost of those messages has returned, so that no handler returns into freed memory.
    void SafeDelete();

    CXTPDockingPaneManager* GetDockingPaneManager() const;
    CXTPDockingPanePaintManager* GetPaintManager() const;
    CXTPDockingPaneLayout* GetLayout() const { return m_pLayout; }
    CXTPDockingPaneElement* GetContainer() const { return m_pParentContainer; }
    CWnd* GetDockingSite() const { return m_pDockingSite; }
    int GetType() const { return m_nType; }
    CRect GetPaneWindowRect() const { return m_rcWindow; }
    CRect GetScreenRect() const;
    CSize GetDockingSize() const { return CSize(m_szDocking.cx, m_szDocking.cy); }
    void SetDockingSize(CSize sz) { m_szDocking = sz; }
    CPaneCaptionButton* FindCaptionButton(UINT nID) const;
    BOOL CheckCaptionButtonsHover(CPoint point);
    CXTPDockingPaneCaptionButtons* GetCaptionButtons() { return &m_arrCaptionButtons; }

    // The site asks for its layout at the next idle pass (idle flags idleLayout|idleNotify).
    static void DelayRecalcLayout(CWnd* pSite);
    // Places a window of the layout at the bottom of the z-order: into the frame's batch of deferred moves when
    // the layout runs one and the window is a child of pParent, at once otherwise.
    static void PlaceWindow(HWND hWnd, const CRect& rc, CWnd* pParent, LPVOID lParam);
    // The tip of a caption button: its id, with the string of that id over rc (client coordinates of hWnd).
    static INT_PTR CaptionButtonToolHit(const CPaneCaptionButton* pButton, HWND hWnd, const CRect& rc, TOOLINFO* pTI);

    CSize m_szDocking;      // remembered docked width and height ("DockingCX", "DockingCY")
    int m_nLength = 0;      // working length of the size distribution
    int m_nLayoutId = 0;    // number in the saved form

protected:
    // Held by a window element for each message of its own window; the last one out frees an element whose
    // delete waited for it.
    class CMessageScope
    {
    public:
        explicit CMessageScope(CXTPDockingPaneElement* pElement) : m_pElement(pElement) { m_pElement->m_nMessageDepth++; }
        ~CMessageScope();
        CMessageScope(const CMessageScope&) = delete;
        CMessageScope& operator=(const CMessageScope&) = delete;

    private:
        CXTPDockingPaneElement* m_pElement;
    };

    CXTPDockingPaneLayout* m_pLayout;
    CXTPDockingPaneElement* m_pParentContainer = nullptr;
    CWnd* m_pDockingSite = nullptr;
    int m_nType;
    CRect m_rcWindow;
    CXTPDockingPaneCaptionButtons m_arrCaptionButtons;

private:
    int m_nMessageDepth = 0;
    BOOL m_bDeletePending = FALSE;

    friend class CXTPDockingPaneLayout;
};
