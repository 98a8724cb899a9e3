#include "ui/commandbars/XTPImageEditorDlg.h"

#include "platform/mfc/afxdatax.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxcolordlg.h"
#include "platform/mfc/afxoledataobj.h"
#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControl.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/ColorTable.h"
#include "ui/uires.h"

#include <olectl.h>

namespace
{
const struct PALETTE_ENTRY
{
    COLORREF clr;
    UINT nID;
} palette[16] = {
    {RGB(0, 0, 0), XTP_IDS_CLR_BLACK},           {RGB(128, 128, 128), XTP_IDS_CLR_GRAY50},
    {RGB(128, 0, 0), XTP_IDS_CLR_DARK_RED},      {RGB(128, 128, 0), XTP_IDS_CLR_DARK_YELLOW},
    {RGB(0, 128, 0), XTP_IDS_CLR_GREEN},         {RGB(0, 128, 128), XTP_IDS_CLR_TEAL},
    {RGB(0, 0, 128), XTP_IDS_CLR_DARK_BLUE},     {RGB(128, 0, 128), XTP_IDS_CLR_VIOLET},
    {RGB(255, 255, 255), XTP_IDS_CLR_WHITE},     {RGB(192, 192, 192), XTP_IDS_CLR_GRAY25},
    {RGB(255, 0, 0), XTP_IDS_CLR_RED},           {RGB(255, 255, 0), XTP_IDS_CLR_YELLOW},
    {RGB(0, 255, 0), XTP_IDS_CLR_BRIGHT_GREEN},  {RGB(0, 255, 255), XTP_IDS_CLR_TURQUOISE},
    {RGB(0, 0, 255), XTP_IDS_CLR_BLUE},          {RGB(255, 0, 255), XTP_IDS_CLR_PINK},
};

const UINT toolButtons[] = {XTP_ID_IMAGEEDITOR_PENCIL, XTP_ID_IMAGEEDITOR_FILL,      XTP_ID_IMAGEEDITOR_UNDO,
                            XTP_ID_IMAGEEDITOR_REDO,   XTP_ID_IMAGEEDITOR_GETCOLOR,  XTP_ID_IMAGEEDITOR_LINE,
                            XTP_ID_IMAGEEDITOR_COPY,   XTP_ID_IMAGEEDITOR_PASTE,     XTP_ID_IMAGEEDITOR_RECTANGLE,
                            XTP_ID_IMAGEEDITOR_CIRCLE, XTP_ID_IMAGEEDITOR_CLEAR,     XTP_ID_IMAGEEDITOR_OPEN};
const UINT moveButtons[] = {XTP_ID_IMAGEEDITOR_LEFT, XTP_ID_IMAGEEDITOR_DOWN, XTP_ID_IMAGEEDITOR_UP,
                            XTP_ID_IMAGEEDITOR_RIGHT};
const int nToolImages = 12;
const int nButtonsPerRow = 4;
const CSize szToolImage(16, 16);
const CSize szToolButton(23, 23);

// The tip of a command: its string's part after "\n", cut so that it fits the notification's 80 characters
// with their terminator.
CString ToolTipText(UINT nID)
{
    CString strText;
    XTPGetResourceLoader()->LoadString(&strText, nID);
    const int nNewLine = strText.Find(L'\n');
    strText = nNewLine >= 0 ? strText.Mid(nNewLine + 1) : CString();
    return strText.Left(79);
}

// The clipboard holds a 32-bit bitmap: a format whose registered name holds "DIB32" past its first character,
// or the alpha marker format. The clipboard is open.
BOOL IsClipboardAlpha()
{
    for (UINT nFormat = ::EnumClipboardFormats(0); nFormat; nFormat = ::EnumClipboardFormats(nFormat)) {
        WCHAR szName[256] = {};
        if (::GetClipboardFormatNameW(nFormat, szName, 256) > 0 && CString(szName).Find(L"DIB32") > 0)
            return TRUE;
    }
    return ::IsClipboardFormatAvailable(CXTPImageManager::GetAlphaBitmapFormat());
}

// Any other picture file, through OLE's picture loader, drawn on a transparent picture of the editor size.
std::unique_ptr<CXTPImageEditorBitmap> LoadOlePicture(const CString& strPath, CSize szPicture)
{
    IPicture* pOlePicture = nullptr;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(strPath.GetString()), nullptr, 0, 0, IID_IPicture,
                                    reinterpret_cast<void**>(&pOlePicture))) ||
        !pOlePicture)
        return nullptr;
    std::unique_ptr<CXTPImageEditorBitmap> pPicture = CXTPImageEditorBitmap::Create(szPicture);
    OLE_XSIZE_HIMETRIC cxHimetric = 0;
    OLE_YSIZE_HIMETRIC cyHimetric = 0;
    pOlePicture->get_Width(&cxHimetric);
    pOlePicture->get_Height(&cyHimetric);
    if (pPicture) {
        CXTPImageEditorBitmapDC dc(pPicture.get());
        if (FAILED(pOlePicture->Render(dc.m_hDC, 0, 0, szPicture.cx, szPicture.cy, 0, cyHimetric, cxHimetric,
                                       -cyHimetric, nullptr)))
            pPicture.reset();
    }
    pOlePicture->Release();
    return pPicture;
}

// A picture file by its extension; null when it cannot be read.
std::unique_ptr<CXTPImageEditorBitmap> LoadPictureFile(const CString& strPath, CString strExt, CSize szPicture)
{
    strExt.MakeLower();
    if (strExt == L"ico") {
        if (HBITMAP hAlpha = CXTPImageManager::LoadAlphaIconFile(strPath, szPicture.cx)) {
            std::unique_ptr<CXTPImageEditorBitmap> pPicture = CXTPImageEditorBitmap::FromAlphaBitmap(hAlpha, szPicture);
            ::DeleteObject(hAlpha);
            return pPicture;
        }
        HICON hIcon = static_cast<HICON>(::LoadImageW(nullptr, strPath, IMAGE_ICON, szPicture.cx, szPicture.cy,
                                                      LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!hIcon)
            return nullptr;
        std::unique_ptr<CXTPImageEditorBitmap> pPicture = CXTPImageEditorBitmap::FromIcon(hIcon, szPicture);
        ::DestroyIcon(hIcon);
        return pPicture;
    }
    if (strExt == L"bmp") {
        HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageW(
            nullptr, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
        if (!hBitmap)
            return nullptr;
        std::unique_ptr<CXTPImageEditorBitmap> pPicture =
            CXTPImageEditorBitmap::FromBitmap(hBitmap, szPicture, CXTPImageManager::IsAlphaBitmapFile(strPath));
        ::DeleteObject(hBitmap);
        return pPicture;
    }
    return LoadOlePicture(strPath, szPicture);
}
} // namespace

IMPLEMENT_DYNAMIC(CXTPImageEditorDlg, CDialog)

BEGIN_MESSAGE_MAP(CXTPImageEditorDlg, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CXTPImageEditorDlg::OnKickIdle)
    ON_COMMAND_RANGE(XTP_ID_IMAGEEDITOR_PENCIL, XTP_ID_IMAGEEDITOR_CIRCLE, &CXTPImageEditorDlg::OnTool)
    ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_IMAGEEDITOR_PENCIL, XTP_ID_IMAGEEDITOR_CIRCLE, &CXTPImageEditorDlg::OnUpdateTool)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_UNDO, &CXTPImageEditorDlg::OnUndo)
    ON_UPDATE_COMMAND_UI(XTP_ID_IMAGEEDITOR_UNDO, &CXTPImageEditorDlg::OnUpdateUndo)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_REDO, &CXTPImageEditorDlg::OnRedo)
    ON_UPDATE_COMMAND_UI(XTP_ID_IMAGEEDITOR_REDO, &CXTPImageEditorDlg::OnUpdateRedo)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_CLEAR, &CXTPImageEditorDlg::OnClear)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_COPY, &CXTPImageEditorDlg::OnCopy)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_PASTE, &CXTPImageEditorDlg::OnPaste)
    ON_COMMAND(XTP_ID_IMAGEEDITOR_OPEN, &CXTPImageEditorDlg::OnImportFile)
    ON_COMMAND_RANGE(XTP_ID_IMAGEEDITOR_LEFT, XTP_ID_IMAGEEDITOR_RIGHT, &CXTPImageEditorDlg::OnMove)
    ON_NOTIFY_RANGE(NM_CLICK, XTP_IDC_IMAGEEDITOR_TRANSPARENT, XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR, &CXTPImageEditorDlg::OnColorClick)
    ON_NOTIFY_RANGE(NM_CLICK, XTP_IDS_CLR_BLACK, XTP_IDS_CLR_WHITE, &CXTPImageEditorDlg::OnColorClick)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CXTPImageEditorDlg::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CXTPImageEditorDlg::OnToolTipText)
END_MESSAGE_MAP()

CXTPImageEditorDlg::CXTPImageEditorDlg(CWnd* pParent) : m_pfnIsComCtlVersion6(&CXTPImageManager::IsComCtlVersion6)
{
    InitModalIndirect(XTPGetResourceLoader()->LoadDialogTemplate(XTP_IDD_IMAGEEDITOR_DIALOG), pParent);
}

CXTPImageEditorDlg::~CXTPImageEditorDlg() = default;

void CXTPImageEditorDlg::SetSize(int cx, int cy) { m_szPicture = CSize(cx, cy); }

void CXTPImageEditorDlg::SetIcon(const CXTPImageManagerIconHandle& hIcon)
{
    if (hIcon.IsEmpty())
        return;
    m_szPicture = hIcon.GetExtent();
    m_pInitialPicture = hIcon.IsAlpha() ? CXTPImageEditorBitmap::FromAlphaBitmap(hIcon.GetBitmap(), m_szPicture)
                                        : CXTPImageEditorBitmap::FromIcon(hIcon.GetIcon(), m_szPicture);
}

void CXTPImageEditorDlg::GetIcon(CXTPImageManagerIconHandle& hIcon) const
{
    const CXTPImageEditorBitmap* pPicture = m_wndPicture.GetSafeHwnd() || m_wndPicture.GetPicture()
                                                ? m_wndPicture.GetPicture()
                                                : m_pInitialPicture.get();
    if (pPicture && pPicture->IsAlpha()) {
        hIcon.CopyBitmap(*pPicture);
        return;
    }
    // The list masks a copy: adding changes the masked pixels of the bitmap given.
    std::unique_ptr<CXTPImageEditorBitmap> pCopy = CXTPImageEditorBitmap::Copy(pPicture, m_szPicture);
    if (!pCopy)
        return;
    HIMAGELIST hList = ::ImageList_Create(m_szPicture.cx, m_szPicture.cy, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!hList)
        return;
    ::ImageList_AddMasked(hList, *pCopy, XTP_IMAGEEDITOR_MARKER);
    if (::ImageList_GetImageCount(hList) == 1)
        hIcon = ::ImageList_GetIcon(hList, 0, ILD_NORMAL);
    ::ImageList_Destroy(hList);
}

void CXTPImageEditorDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_TOOLSFRAME, m_wndToolsFrame);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_MOVEFRAME, m_wndMoveFrame);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_TRANSPARENT, m_wndPickerTransparent);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR, m_wndPickerCustom);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_PICTURE, m_wndPicture);
    DDX_Control(pDX, XTP_IDC_IMAGEEDITOR_PREVIEW, m_wndPreview);
}

BOOL CXTPImageEditorDlg::OnInitDialog()
{
    if (!CDialog::OnInitDialog())
        return FALSE;
    CreateToolBars();
    CreatePalette();
    m_wndPickerTransparent.SetColor(XTP_IMAGEEDITOR_MARKER);
    m_wndPickerCustom.SetColor(RGB(255, 255, 255));
    m_wndPicture.Init(this);
    m_wndPicture.SetPicture(std::move(m_pInitialPicture));
    m_wndPreview.Init(this);
    m_wndPreview.ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    return TRUE;
}

void CXTPImageEditorDlg::CreateToolBars()
{
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE | CCS_NODIVIDER |
                          CCS_NORESIZE | CCS_NOPARENTALIGN;
    struct
    {
        CXTPImageEditorToolBar& toolBar;
        CImageList& images;
        CWnd& frame;
        const UINT* pButtons;
        int nButtons;
        UINT nID;
    } bars[] = {{m_wndToolBarTools, m_ilTools, m_wndToolsFrame, toolButtons, nToolImages, AFX_IDW_TOOLBAR},
                {m_wndToolBarMove, m_ilMove, m_wndMoveFrame, moveButtons, 4, AFX_IDW_TOOLBAR + 1}};

    CXTPResourceLoader* pLoader = XTPGetResourceLoader();
    const BOOL bAlpha = m_pfnIsComCtlVersion6 && m_pfnIsComCtlVersion6();
    for (auto& bar : bars) {
        CRect rcFrame;
        bar.frame.GetWindowRect(&rcFrame);
        ScreenToClient(&rcFrame);
        if (!bar.toolBar.Create(this, dwStyle, bar.nID))
            continue;
        bar.toolBar.SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(szToolImage.cx, szToolImage.cy));
        bar.toolBar.SetButtons(bar.pButtons, bar.nButtons);
        bar.toolBar.SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(szToolButton.cx, szToolButton.cy));
        for (int i = nButtonsPerRow - 1; i < bar.nButtons; i += nButtonsPerRow)
            bar.toolBar.SendMessage(TB_SETSTATE, bar.pButtons[i], MAKELPARAM(TBSTATE_ENABLED | TBSTATE_WRAP, 0));

        bar.images.Create(szToolImage.cx, szToolImage.cy, (bAlpha ? ILC_COLOR32 : ILC_COLOR24) | ILC_MASK, 0, 4);
        if (bAlpha) {
            CBitmap bitmap;
            bitmap.Attach(CXTPImageManager::LoadAlphaBitmap(XTP_IDB_IMAGEEDITOR_TOOLS32));
            ::ImageList_Add(bar.images, bitmap, nullptr);
        } else {
            CBitmap bitmap;
            if (pLoader->LoadBitmap(&bitmap, XTP_IDB_IMAGEEDITOR_TOOLS))
                bar.images.Add(&bitmap, RGB(192, 192, 192));
        }
        if (&bar.images == &m_ilMove) {
            for (int i = 0; i < nToolImages; i++)
                ::ImageList_Remove(bar.images, 0);
        }
        bar.toolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(bar.images.GetSafeHandle()));
        bar.toolBar.MoveWindow(&rcFrame);
    }
}

void CXTPImageEditorDlg::CreatePalette()
{
    CRect rcFrame;
    if (CWnd* pFrame = GetDlgItem(XTP_IDC_IMAGEEDITOR_COLORFRAME)) {
        pFrame->GetWindowRect(&rcFrame);
        ScreenToClient(&rcFrame);
    }
    for (int i = 0; i < 16; i++) {
        const CPoint pt(rcFrame.left + (i % 8) * 13, rcFrame.top + (i / 8) * 13);
        CXTPImageEditorPicker& picker = m_wndPalette[i];
        picker.Create(L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(pt, CSize(11, 11)), this, palette[i].nID);
        picker.SetColor(palette[i].clr);
    }
    SelectPicker(&m_wndPalette[0]);
}

void CXTPImageEditorDlg::SelectPicker(CXTPImageEditorPicker* pPicker)
{
    if (m_pSelectedPicker)
        m_pSelectedPicker->SetSelected(FALSE);
    m_pSelectedPicker = pPicker;
    if (pPicker)
        pPicker->SetSelected(TRUE);
}

void CXTPImageEditorDlg::OnPickColor(COLORREF clr)
{
    m_wndPickerCustom.SetColor(clr);
    SelectPicker(&m_wndPickerCustom);
    m_nCurrentTool = m_nPreviousTool;
}

void CXTPImageEditorDlg::OnPictureChanged()
{
    if (m_wndPicture.GetSafeHwnd())
        m_wndPicture.Invalidate(FALSE);
    if (m_wndPreview.GetSafeHwnd())
        m_wndPreview.Invalidate(FALSE);
}

LRESULT CXTPImageEditorDlg::OnKickIdle(WPARAM, LPARAM)
{
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    return 0;
}

void CXTPImageEditorDlg::OnTool(UINT nID)
{
    m_nCurrentTool = static_cast<int>(nID - XTP_ID_IMAGEEDITOR_PENCIL);
    if (m_nCurrentTool != xtpImageEditorToolPickColor)
        m_nPreviousTool = m_nCurrentTool;
}

void CXTPImageEditorDlg::OnUpdateTool(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(static_cast<int>(pCmdUI->m_nID - XTP_ID_IMAGEEDITOR_PENCIL) == m_nCurrentTool);
}

void CXTPImageEditorDlg::OnUndo() { m_wndPicture.Undo(); }
void CXTPImageEditorDlg::OnUpdateUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndPicture.CanUndo()); }
void CXTPImageEditorDlg::OnRedo() { m_wndPicture.Redo(); }
void CXTPImageEditorDlg::OnUpdateRedo(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndPicture.CanRedo()); }
void CXTPImageEditorDlg::OnClear() { m_wndPicture.Clear(); }

void CXTPImageEditorDlg::OnMove(UINT nID)
{
    switch (nID) {
    case XTP_ID_IMAGEEDITOR_LEFT: m_wndPicture.Move(-1, 0); break;
    case XTP_ID_IMAGEEDITOR_RIGHT: m_wndPicture.Move(1, 0); break;
    case XTP_ID_IMAGEEDITOR_UP: m_wndPicture.Move(0, -1); break;
    default: m_wndPicture.Move(0, 1); break;
    }
}

void CXTPImageEditorDlg::OnCopy()
{
    std::unique_ptr<CXTPImageEditorBitmap> pCopy = CXTPImageEditorBitmap::Copy(GetPicture(), m_szPicture);
    if (!pCopy || !::OpenClipboard(m_hWnd))
        return;
    ::EmptyClipboard();
    const BOOL bAlpha = pCopy->IsAlpha();
    if (!bAlpha)
        pCopy->ReplaceColor(XTP_IMAGEEDITOR_MARKER, GetStandardColor(COLOR_BTNFACE));
    if (::SetClipboardData(CF_BITMAP, pCopy->GetSafeHandle()))
        pCopy->Detach();   // the clipboard's now
    if (bAlpha) {
        HGLOBAL hIndicator = ::GlobalAlloc(GMEM_MOVEABLE, 1);
        if (hIndicator && !::SetClipboardData(CXTPImageManager::GetAlphaBitmapFormat(), hIndicator))
            ::GlobalFree(hIndicator);
    }
    ::CloseClipboard();
}

void CXTPImageEditorDlg::OnPaste()
{
    COleDataObject data;
    if (!data.AttachClipboard() || !data.IsDataAvailable(CF_BITMAP))
        return;
    data.Release();
    if (!::OpenClipboard(m_hWnd))
        return;
    const BOOL bAlpha = IsClipboardAlpha();
    std::unique_ptr<CXTPImageEditorBitmap> pPicture =
        CXTPImageEditorBitmap::FromBitmap(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), m_szPicture, bAlpha);
    ::CloseClipboard();
    if (!pPicture)
        return;
    if (!bAlpha)
        pPicture->ReplaceColor(GetStandardColor(COLOR_BTNFACE), XTP_IMAGEEDITOR_MARKER);
    m_wndPicture.Apply(std::move(pPicture));
}

void CXTPImageEditorDlg::OnImportFile()
{
    CString strFilter;
    XTPGetResourceLoader()->LoadString(&strFilter, XTP_IDS_IMAGEEDITOR_FILTER);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, strFilter, this);
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CXTPImageEditorBitmap> pPicture =
        LoadPictureFile(dialog.GetPathName(), dialog.GetFileExt(), m_szPicture);
    if (!pPicture) {
        XTPGetResourceLoader()->ShowMessageBox(XTP_IDS_IMAGEEDITOR_BADFILE, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    m_wndPicture.Apply(std::move(pPicture));
}

void CXTPImageEditorDlg::OnColorClick(UINT nID, NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (nID == XTP_IDC_IMAGEEDITOR_CUSTOMCOLOR) {
        // Whether confirmed or cancelled, the dialog's colour (the old one after a cancel) is taken.
        CColorDialog dialog(m_wndPickerCustom.GetColor(), 0, this);
        dialog.DoModal();
        m_wndPickerCustom.SetColor(dialog.GetColor());
        SelectPicker(&m_wndPickerCustom);
        return;
    }
    if (nID == XTP_IDC_IMAGEEDITOR_TRANSPARENT) {
        SelectPicker(&m_wndPickerTransparent);
        return;
    }
    for (CXTPImageEditorPicker& picker : m_wndPalette)
        if (picker.GetSafeHwnd() && static_cast<UINT>(picker.GetDlgCtrlID()) == nID)
            SelectPicker(&picker);
}

BOOL CXTPImageEditorDlg::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const CString strTip = ToolTipText(static_cast<UINT>(pNMHDR->idFrom));
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        const int cchText = static_cast<int>(sizeof(pInfo->szText));
        if (!::WideCharToMultiByte(CP_ACP, 0, strTip, -1, pInfo->szText, cchText, nullptr, nullptr))
            pInfo->szText[0] = '\0';
        pInfo->szText[cchText - 1] = '\0';
    } else {
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        lstrcpynW(pInfo->szText, strTip, static_cast<int>(sizeof(pInfo->szText) / sizeof(pInfo->szText[0])));
    }
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

BOOL CXTPImageEditorDlg::EditControlIcon(CXTPControl* pControl, CWnd* pOwner)
{
    const int nIconId = pControl ? pControl->GetIconId() : 0;
    if (nIconId <= 0)
        return FALSE;
    CXTPCommandBar* pBar = pControl->GetParent();
    CXTPCommandBars* pCommandBars = pBar ? pBar->GetCommandBars() : nullptr;
    CXTPImageManager* pImageManager = pCommandBars ? pCommandBars->GetImageManager() : XTPImageManager();
    const CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);

    CXTPImageEditorDlg dialog(pOwner);
    dialog.SetSize(szIcon.cx, szIcon.cy);
    if (CXTPImageManagerIcon* pIcon = pImageManager->GetImage(static_cast<UINT>(nIconId), szIcon.cx))
        dialog.SetIcon(pIcon->GetIcon());
    if (dialog.DoModal() != IDOK)
        return FALSE;
    CXTPImageManagerIconHandle hIcon;
    dialog.GetIcon(hIcon);
    if (hIcon.IsEmpty())
        return FALSE;
    if (pControl->GetCustomIconId() > 0)
        pImageManager->SetIcon(hIcon, static_cast<UINT>(pControl->GetCustomIconId()));
    else
        pControl->SetCustomIconId(static_cast<int>(pImageManager->AddCustomIcon(hIcon)));
    if (pBar && pBar->GetSafeHwnd())
        pBar->Invalidate(FALSE);
    return TRUE;
}
