#include "CtlAlbero.h"

#include "app/MainFrm.h"
#include "data/AdoErrorText.h"
#include "data/SetResponsabili.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {

const DWORD TREE_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                         TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS | TVS_CHECKBOXES | TVS_TRACKSELECT | TVS_INFOTIP |
                         TVS_FULLROWSELECT;
const UINT TREE_ICONS[] = { IDI_TREE_FOLDER, IDI_TREE_LEAF, IDI_TREE_LEAF_CONF, IDI_TREE_FOLDER_OPEN };

// Tree image of a node: -1 a closed folder; 5.2 holds the centres (a folder); 5.3 its own leaf; none a leaf.
int NodeImage(const CRecAlbero& rec)
{
    CString strCode = rec.m_codSezione.GetText();
    long nImage = rec.m_nImmagine.GetValue();   // 0 when null
    if (nImage == -1 || strCode == L"5.2")
        return IMG_FOLDER;
    if (strCode == L"5.3")
        return IMG_LEAF_CONF;
    if (nImage == 0)
        return IMG_LEAF;
    return static_cast<int>(nImage);
}

} // namespace

BEGIN_MESSAGE_MAP(CCtlAlbero, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_COMMAND(IDC_CARICAMENTO, &CCtlAlbero::OnMenuCaricamentoDati)
END_MESSAGE_MAP()

CCtlAlbero::CCtlAlbero(CADOConnection& progConnection, CADOConnection& dataConnection)
    : m_progConnection(progConnection), m_dataConnection(dataConnection)
{
}

CCtlAlbero::~CCtlAlbero() = default;

BOOL CCtlAlbero::Create(CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), nullptr, dwStyle,
                        CRect(0, 0, 0, 0), pParentWnd, nID);
}

int CCtlAlbero::TabOfControl(UINT nID)
{
    if (nID == IDC_TREE_CONTROLLO)
        return TAB_CONTROLLO;
    if (nID == IDC_TREE_UFFICIALE)
        return TAB_UFFICIALE;
    return -1;
}

int CCtlAlbero::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_fontNormal.CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    m_fontBold.CreateFont(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");

    if (!m_btnCaricamento.Create(LoadResString(IDS_CARICAMENTO_DATI),
                                 WS_CHILD | WS_VISIBLE | BS_LEFT | BS_VCENTER | BS_PUSHBUTTON, CRect(0, 0, 192, 24),
                                 this, IDC_CARICAMENTO))
        return -1;
    m_btnCaricamento.SetFont(&m_fontNormal);
    m_btnCaricamento.UpdateTooltip();
    m_btnCaricamento.SetIcon(CSize(16, 16), IDI_CARICAMENTO);

    if (!m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0))
        return -1;
    for (UINT nIcon : TREE_ICONS) {
        HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIcon), IMAGE_ICON,
                                                      16, 16, 0));
        m_images.Add(hIcon);
        if (hIcon)
            ::DestroyIcon(hIcon);
    }

    const UINT captionIds[2] = { IDC_CAPTION_CONTROLLO, IDC_CAPTION_UFFICIALE };
    const UINT captionTexts[2] = { IDS_MODULISTICA_CONTROLLO, IDS_MODULISTICA_UFFICIALE };
    const UINT treeIds[2] = { IDC_TREE_CONTROLLO, IDC_TREE_UFFICIALE };
    for (int nTab = 0; nTab < 2; ++nTab) {
        if (!m_caption[nTab].Create(LoadResString(captionTexts[nTab]), WS_CHILD | WS_VISIBLE | SS_LEFT,
                                    CRect(0, 0, 0, 0), this, captionIds[nTab]))
            return -1;
        m_caption[nTab].SetFont(&m_fontBold);
        m_caption[nTab].SetTextColor(CAPTION_TEXT);
        m_caption[nTab].SetBkColor(CAPTION_BACK);
        if (!m_tree[nTab].Create(TREE_STYLE, CRect(0, 0, 0, 0), this, treeIds[nTab]))
            return -1;
        m_tree[nTab].SetImageList(&m_images, TVSIL_NORMAL);
    }
    return 0;
}

void CCtlAlbero::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_btnCaricamento.GetSafeHwnd())
        return;
    CRect rectButton;
    m_btnCaricamento.GetWindowRect(&rectButton);
    int h = rectButton.Height();
    m_btnCaricamento.MoveWindow(0, 0, cx, h);
    m_caption[TAB_CONTROLLO].MoveWindow(0, h, cx, 20);
    m_tree[TAB_CONTROLLO].MoveWindow(0, h + 20, cx, std::max(0, cy - h - 40));
    // Only the control tab is shown; the official one serves the print dialog's walk.
    m_caption[TAB_UFFICIALE].ShowWindow(SW_HIDE);
}

BOOL CCtlAlbero::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CCtlAlbero::OnMenuCaricamentoDati()
{
    if (auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd()))
        pFrame->PopupCaricamentoMenu(AfxGetMainWnd());
}

BOOL CCtlAlbero::ReloadTree(int nTab)
{
    CXTTreeCtrl& tree = m_tree[nTab];
    tree.DeleteAllItems();
    m_hRespParent[nTab] = nullptr;
    try {
        CSetAlbero set(m_progConnection);
        set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
        std::set<long> visited;
        FillTree(nTab, set, TVI_ROOT, 1, visited);
    }
    catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, &m_progConnection), MB_ICONERROR);
    }
    ExpandItem(nTab, tree.GetRootItem());
    return TRUE;
}

bool CCtlAlbero::FillTree(int nTab, CSetAlbero& set, HTREEITEM hParent, long nNode, std::set<long>& visited)
{
    // Siblings in a loop, children by recursion: the depth is bounded by the number of rows, since a node reached
    // twice (a cycle, or two parents) stops the filling.
    while (nNode != 0) {
        if (!visited.insert(nNode).second) {
            AfxMessageBox(FormatResMessage(IDP_TREE_DAMAGED, FormatString(L"%ld", nNode)), MB_ICONERROR);
            return false;
        }
        _variant_t key(nNode);
        if (!set.FindByKey(1, &key, TRUE))
            return true;
        auto* pNode = new CNodoAlbero(set.m_rec);
        CString strCode = pNode->m_codSezione.GetText();
        if (nTab == TAB_UFFICIALE && strCode == L"1.1") {
            // The official forms past D-07 await their rules: one node stands for all of them.
            pNode->m_idFratello.SetNull();
            pNode->m_nImmagine.SetValue(0);
            pNode->m_descrizione.SetText(FormatString(L"(%s)", LoadResString(IDP_NORMATIVA_IN_APPROVAZIONE).GetString()));
            pNode->m_nomeFile.SetNull();
        }
        if (nTab == TAB_UFFICIALE && strCode == L"5") {
            delete pNode;
            return true;
        }
        HTREEITEM hItem = InsertNode(nTab, hParent, pNode->m_descrizione.GetText(), NodeImage(*pNode), pNode);
        if (!hItem)
            return false;
        if (strCode == L"5.2") {
            m_hRespParent[nTab] = hItem;
            InsertRespNodes(nTab, hItem, *pNode);
        }
        long nChild = pNode->m_idFiglio.GetValue();
        long nNext = pNode->m_idFratello.GetValue();
        if (nChild != 0 && !FillTree(nTab, set, hItem, nChild, visited))
            return false;
        if (strCode == L"5") {
            m_tree[nTab].SetItemBold(hItem, TRUE);
            m_tree[nTab].SetItemColor(hItem, SECTION_TEXT);
            ExpandItem(nTab, hItem);
        }
        nNode = nNext;
    }
    return true;
}

HTREEITEM CCtlAlbero::InsertNode(int nTab, HTREEITEM hParent, const CString& strText, int nImage, CNodoAlbero* pData)
{
    HTREEITEM hItem = m_tree[nTab].InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, strText,
                                              nImage, nImage, 0, 0, reinterpret_cast<LPARAM>(pData), hParent,
                                              TVI_LAST);
    if (!hItem)
        delete pData;
    return hItem;
}

void CCtlAlbero::InsertRespNodes(int nTab, HTREEITEM hParent, const CRecAlbero& parent)
{
    CXTTreeCtrl& tree = m_tree[nTab];
    // A selected centre taken away would hand the selection, and the opening of a report, to each centre after it.
    if (HTREEITEM hSelected = tree.GetSelectedItem(); hSelected && tree.GetParentItem(hSelected) == hParent)
        tree.SelectItem(nullptr);
    while (HTREEITEM hChild = tree.GetChildItem(hParent))
        tree.DeleteItem(hChild);
    try {
        CSetResponsabili set(m_dataConnection);
        set.OpenByResponsabile();
        for (; !set.IsEOF(); set.MoveNext()) {
            auto* pNode = new CNodoAlbero(parent);
            pNode->m_idNodo.SetValue(set.m_rec.m_ID.GetValue());
            pNode->m_bCentro = true;
            CString strText = FormatString(L"%s - %s", set.m_rec.m_responsabile.GetText().GetString(),
                                           set.m_rec.m_centroServ.GetText().GetString());
            InsertNode(nTab, hParent, strText, IMG_LEAF, pNode);
        }
    }
    catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, &m_dataConnection), MB_ICONERROR);
    }
}

void CCtlAlbero::RefreshRespNodes()
{
    for (int nTab = 0; nTab < 2; ++nTab) {
        if (m_hRespParent[nTab]) {
            if (const CNodoAlbero* pParent = GetItemData(nTab, m_hRespParent[nTab]))
                InsertRespNodes(nTab, m_hRespParent[nTab], CNodoAlbero(*pParent));
        }
    }
}

const CNodoAlbero* CCtlAlbero::GetItemData(int nTab, HTREEITEM hItem) const
{
    if (!hItem)
        return nullptr;
    return reinterpret_cast<const CNodoAlbero*>(m_tree[nTab].GetItemData(hItem));
}

int CCtlAlbero::GetItemImage(int nTab, HTREEITEM hItem) const
{
    int nImage = -1, nSelected = -1;
    if (!hItem || !m_tree[nTab].GetItemImage(hItem, nImage, nSelected))
        return -1;
    return nImage;
}

bool CCtlAlbero::IsFolderItem(int nTab, HTREEITEM hItem) const
{
    return hItem && IsFolderImage(GetItemImage(nTab, hItem));
}

void CCtlAlbero::SelectTreeItem(int nTab, HTREEITEM hItem)
{
    m_tree[nTab].SelectItem(hItem);
}

HTREEITEM CCtlAlbero::GetNextLeaf(int nTab, HTREEITEM hItem, bool bTickedOnly) const
{
    const CXTTreeCtrl& tree = m_tree[nTab];
    for (;;) {
        if (!hItem) {
            hItem = tree.GetRootItem();
        }
        else if (HTREEITEM hChild = tree.GetChildItem(hItem)) {
            hItem = hChild;
        }
        else {
            HTREEITEM hNext = tree.GetNextSiblingItem(hItem);
            while (!hNext && (hItem = tree.GetParentItem(hItem)) != nullptr)
                hNext = tree.GetNextSiblingItem(hItem);
            hItem = hNext;
        }
        if (!hItem)
            return nullptr;
        bool bTicked = (tree.CTreeCtrl::GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
        if (!IsFolderItem(nTab, hItem) && (!bTickedOnly || bTicked))
            return hItem;
    }
}

void CCtlAlbero::ExpandItem(int nTab, HTREEITEM hItem)
{
    // Not every system tells the parent about an expansion it was asked for.
    if (hItem && m_tree[nTab].Expand(hItem, TVE_EXPAND))
        SetFolderImage(nTab, hItem, true);
}

void CCtlAlbero::SetFolderImage(int nTab, HTREEITEM hItem, bool bOpen)
{
    // The image follows the action, so that it cannot drift from the item's real state.
    if (!IsFolderImage(GetItemImage(nTab, hItem)))
        return;
    int nImage = bOpen ? IMG_FOLDER_OPEN : IMG_FOLDER;
    m_tree[nTab].SetItemImage(hItem, nImage, nImage);
}

BOOL CCtlAlbero::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    int nTab = TabOfControl(static_cast<UINT>(pHeader->idFrom));
    if (nTab < 0)
        return CWnd::OnNotify(wParam, lParam, pResult);
    switch (pHeader->code) {
    case TVN_ITEMEXPANDEDW:
        SetFolderImage(nTab, reinterpret_cast<NMTREEVIEW*>(lParam)->itemNew.hItem,
                       (reinterpret_cast<NMTREEVIEW*>(lParam)->action & TVE_EXPAND) != 0);
        *pResult = 0;
        return TRUE;
    case TVN_DELETEITEMW:
        delete reinterpret_cast<CNodoAlbero*>(reinterpret_cast<NMTREEVIEW*>(lParam)->itemOld.lParam);
        *pResult = 0;
        return TRUE;
    default:
        break;
    }
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && pMain->GetSafeHwnd() && pMain != this) {
        *pResult = pMain->SendMessage(WM_NOTIFY, wParam, lParam);
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}
