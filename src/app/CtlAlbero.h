// The navigation tree pane: the data-entry button, the caption and the trees of the two tabs, filled from table
// Albero of the program database. Selections go to the main frame, which opens the node's form or report.
#pragma once

#include "app/TreeDispatch.h"
#include "controls/ColorCtrl.h"
#include "controls/MyButton.h"
#include "data/ADOConnection.h"
#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxctrls.h"
#include "platform/mfc/afxgdi.h"
#include "platform/mfc/afximagelist.h"
#include "ui/themes/ThemedTree.h"

#include <set>

class CSetAlbero;

// A tree item's data: a copy of its node's row. In the per-responsible children the key holds the responsible
// centre's ID instead, and m_bCentro says so.
class CNodoAlbero : public CRecAlbero
{
public:
    CNodoAlbero() = default;
    explicit CNodoAlbero(const CRecAlbero& rec) : CRecAlbero(rec) {}

    bool m_bCentro = false;
};

class CCtlAlbero : public CWnd
{
public:
    enum { IDC_CARICAMENTO = 100, IDC_CAPTION_CONTROLLO = 101, IDC_CAPTION_UFFICIALE = 102,
           IDC_TREE_CONTROLLO = 1, IDC_TREE_UFFICIALE = 2 };
    static constexpr COLORREF CAPTION_TEXT = RGB(0xFF, 0xFF, 0x00);
    static constexpr COLORREF CAPTION_BACK = RGB(0x00, 0x5C, 0xC0);
    static constexpr COLORREF SECTION_TEXT = RGB(0x00, 0x00, 0xC0);

    // The program database holds the tree, the data archive the responsible centres.
    CCtlAlbero(CADOConnection& progConnection, CADOConnection& dataConnection);
    ~CCtlAlbero() override;

    BOOL Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);

    // Empties and refills one tab's tree. A database error or a damaged tree is shown; what was filled stays.
    BOOL ReloadTree(int nTab);
    const CNodoAlbero* GetItemData(int nTab, HTREEITEM hItem) const;
    bool IsFolderItem(int nTab, HTREEITEM hItem) const;
    int GetItemImage(int nTab, HTREEITEM hItem) const;
    void SelectTreeItem(int nTab, HTREEITEM hItem);
    // The next leaf after the item in depth-first order (the first one for null), skipping folders and, when
    // bTickedOnly, unticked leaves; null after the last one.
    HTREEITEM GetNextLeaf(int nTab, HTREEITEM hItem, bool bTickedOnly) const;
    // Rebuilds the per-responsible children of both tabs (after the accounting settings changed).
    void RefreshRespNodes();
    void InsertRespNodes(int nTab, HTREEITEM hParent, const CRecAlbero& parent);

    CXTTreeCtrl& GetTree(int nTab) { return m_tree[nTab]; }
    const CXTTreeCtrl& GetTree(int nTab) const { return m_tree[nTab]; }
    // The tab of a tree control id (1 or 2), -1 for another id.
    static int TabOfControl(UINT nID);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMenuCaricamentoDati();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    DECLARE_MESSAGE_MAP()

private:
    // Inserts the chain of siblings that starts at nNode under hParent, with their subtrees. False when the tree
    // is damaged (a node reached twice) or a row is missing; the caller stops filling.
    bool FillTree(int nTab, CSetAlbero& set, HTREEITEM hParent, long nNode, std::set<long>& visited);
    HTREEITEM InsertNode(int nTab, HTREEITEM hParent, const CString& strText, int nImage, CNodoAlbero* pData);
    void ExpandItem(int nTab, HTREEITEM hItem);
    void SetFolderImage(int nTab, HTREEITEM hItem, bool bOpen);

    CADOConnection& m_progConnection;
    CADOConnection& m_dataConnection;
    CMyButton m_btnCaricamento;
    CFont m_fontNormal;
    CFont m_fontBold;
    CImageList m_images;
    CColorCtrl<CStatic> m_caption[2];
    CXTTreeCtrl m_tree[2];
    HTREEITEM m_hRespParent[2] = { nullptr, nullptr };
};
