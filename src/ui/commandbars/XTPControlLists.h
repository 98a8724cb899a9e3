// Menu entries that stand for a list computed whenever their bar is laid out: the toolbars, the recent files,
// the MDI windows, the tab-group commands, the OLE verbs. Each placeholder removes the items it made last time,
// hides itself and inserts fresh temporary buttons after itself; in customise mode it shows itself instead so it
// can be moved. The label lives here too.
#pragma once

#include "ui/commandbars/XTPControl.h"

class CMDIFrameWnd;
class CXTPCommandBars;

// The menu caption of a list item: the text's "&" doubled, then numbered "&1 " to "&9 ", "1&0 ", "11 "...;
// number 0 adds no number.
CString FormatListItemCaption(const CString& strText, int nNumber);

// The item for one toolbar: its tag is the toolbar's index in the manager.
class CXTPControlToolbar : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPControlToolbar)
public:
    // Closes the open popups and shows or hides the toolbar.
    void OnExecute() override;
};

// The base of the placeholders: removes the items that follow it while they belong to its list.
class CXTPControlListPlaceholder : public CXTPControlButton
{
    DECLARE_DYNAMIC(CXTPControlListPlaceholder)
public:
    // The items of the last layout go; in customise mode the placeholder shows itself, else it hides and the list
    // is filled anew after it.
    void OnCalcDynamicSize(DWORD dwMode) override;
    // A list belongs in a menu: it may be dropped on popup bars only.
    BOOL IsCustomizeDragOverAvail(CXTPCommandBar* pCommandBar, CPoint point, DROPEFFECT& dropEffect) override;

protected:
    virtual BOOL IsListItem(CXTPControl* pControl) const = 0;
    // Inserts the items; a list that has nothing to stand for shows the placeholder again.
    virtual void FillList() = 0;
    void RemoveListItems();
    // The bar's site when it is an MDI frame.
    CMDIFrameWnd* GetSiteMDIFrame() const;
    // A temporary button right after the placeholder's items so far (nItem counted from 0).
    CXTPControl* InsertListItem(int nItem, int nId, const CString& strCaption);
};

class CXTPControlToolbars : public CXTPControlListPlaceholder
{
    DECLARE_DYNCREATE(CXTPControlToolbars)
public:
    // One item per closeable toolbar with a context menu, checked when shown; with bAddCustomize and a
    // customisable manager the customise command follows. Returns the position after the last item added.
    static int FillToolbarsList(CXTPCommandBars* pCommandBars, CXTPCommandBar* pBar, int nPosition,
                                BOOL bAddCustomize);

protected:
    void FillList() override;
    BOOL IsListItem(CXTPControl* pControl) const override;
};

class CXTPControlRecentFileList : public CXTPControlListPlaceholder
{
    DECLARE_DYNCREATE(CXTPControlRecentFileList)
public:
    void OnCalcDynamicSize(DWORD dwMode) override;

protected:
    void FillList() override;
    BOOL IsListItem(CXTPControl* pControl) const override;
    // The placeholder made by its own id hands out the file commands (0xE110 + i); one made from a menu item
    // carries the first file command as its id.
    int GetFirstItemId() const;
};

// The visible document windows of an MDI frame, at most nine, the active one checked.
class CXTPControlWindowList : public CXTPControlListPlaceholder
{
    DECLARE_DYNCREATE(CXTPControlWindowList)

protected:
    void FillList() override;
    BOOL IsListItem(CXTPControl* pControl) const override;

private:
    // The document windows' first id: the system's default until an active window shows another numbering;
    // kept for the process.
    static UINT s_nFirstMDIChild;
};

// The MDI client that offers the tab-group commands (the tabbed workspace client).
class CXTPWorkspaceActionsSite
{
public:
    virtual ~CXTPWorkspaceActionsSite() = default;
    virtual BOOL IsWorkspaceCommandEnabled(UINT nID) = 0;
    // Its tabs and groups follow the documents again; with bRecalcLayout the frame is laid out after.
    virtual void UpdateWorkspaces(BOOL bRecalcLayout = TRUE) = 0;
    // The tabbed client of a site that is an MDI frame; null for any other.
    static CXTPWorkspaceActionsSite* FromSite(CWnd* pSite);
};

// The tab-group commands the MDI client of the bar's frame allows now: new horizontal group, new vertical
// group, group before, group after.
class CXTPControlWorkspaceActions : public CXTPControlListPlaceholder
{
    DECLARE_DYNCREATE(CXTPControlWorkspaceActions)

protected:
    void FillList() override;
    BOOL IsListItem(CXTPControl* pControl) const override;
};

// The verbs of the active document's selected OLE item. The platform has no OLE documents: it lists nothing.
class CXTPControlOleItems : public CXTPControlListPlaceholder
{
    DECLARE_DYNCREATE(CXTPControlOleItems)

protected:
    void FillList() override;
    BOOL IsListItem(CXTPControl* pControl) const override;
};

// A caption that never takes the selection.
class CXTPControlLabel : public CXTPControl
{
    DECLARE_DYNCREATE(CXTPControlLabel)
public:
    CXTPControlLabel();
    int GetSelected() const override { return 0; }
    BOOL SetSelected(int /*nSelected*/) override { return FALSE; }
    BOOL TakesHighlight() const override { return FALSE; }
};

// The control Add (or the menu import) makes for a button id: the list placeholders by their ids, else a plain
// button. Only in an imported menu does the first file command name the recent files, and the first OLE verb
// with the caption "<<OLE VERBS GO HERE>>" the verbs.
CXTPControl* CreateListPlaceholder(int nId, BOOL bFromMenu, const CString& strMenuCaption = CString());
