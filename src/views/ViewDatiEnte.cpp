#include "ViewDatiEnte.h"

#include "FormHost.h"

#include "data/AdoErrorText.h"
#include "data/SetDati.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"

namespace
{
const CViewDatiEnte::RecDati kFields[] = {
    {IDC_ENTE_NAME, L"ENTE", 255},    {IDC_ENTE_PIVA, L"PIVA", 15},      {IDC_ENTE_TEL, L"TEL", 50},
    {IDC_ENTE_FAX, L"FAX", 50},       {IDC_ENTE_MAIL, L"MAIL", 100},     {IDC_ENTE_ADDRESS, L"INDIRIZZO", 255},
    {IDC_ENTE_CAP, L"CAP", 5},        {IDC_ENTE_CITY, L"CITY", 255},     {IDC_ENTE_PROV, L"PROV", 2},
};
const COLORREF kCaptionText = RGB(255, 255, 0);
const COLORREF kCaptionBack = RGB(0, 128, 255);
} // namespace

IMPLEMENT_DYNCREATE(CViewDatiEnte, CFormView)

BEGIN_MESSAGE_MAP(CViewDatiEnte, CFormView)
    ON_MESSAGE(WM_INITDIALOG, &CViewDatiEnte::OnInitDialog)
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_EN_CHANGE(IDC_ENTE_NAME, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_PIVA, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_TEL, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_FAX, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_MAIL, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_ADDRESS, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_CAP, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_CITY, &CViewDatiEnte::OnChangeField)
    ON_EN_CHANGE(IDC_ENTE_PROV, &CViewDatiEnte::OnChangeField)
    ON_COMMAND(ID_FILE_SAVE, &CViewDatiEnte::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CViewDatiEnte::OnUpdateFileSave)
END_MESSAGE_MAP()

static_assert(sizeof(kFields) / sizeof(kFields[0]) == 9, "one text per field");

CViewDatiEnte::CViewDatiEnte() : CFormView(IDD_DATI_ENTE)
{
}

CViewDatiEnte::~CViewDatiEnte() = default;

const CViewDatiEnte::RecDati* CViewDatiEnte::GetFields(int& nCount)
{
    nCount = static_cast<int>(sizeof(kFields) / sizeof(kFields[0]));
    return kFields;
}

void CViewDatiEnte::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENTE_CAPTION, m_caption);
    for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); i++) {
        DDX_Text(pDX, static_cast<int>(kFields[i].nEditID), m_strValues[i]);
        DDV_MaxChars(pDX, m_strValues[i], kFields[i].nMaxLength);
    }
}

LRESULT CViewDatiEnte::OnInitDialog(WPARAM, LPARAM)
{
    // The form's first size, that of its template, is the one the re-layout measures growth from.
    m_resize.Resize();
    return TRUE;
}

void CViewDatiEnte::OnInitialUpdate()
{
    // The caption, a band down the left side, keeps its left, top and right edges and grows with the form's height.
    m_resize.AddControl(IDC_ENTE_CAPTION, 0, 0, 0, 1);
    CFormView::OnInitialUpdate();

    LOGFONT lf = {};
    if (CFont* pFont = GetFont())
        pFont->GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = 18;
    m_fontCaption.CreateFontIndirect(&lf);
    m_caption.SetFont(&m_fontCaption);
    m_brushCaption.CreateSolidBrush(kCaptionBack);
    m_caption.SetTextColor(kCaptionText);
    m_caption.SetBkColor(kCaptionBack);
    m_caption.SetBkMode(OPAQUE);
    m_resize.Resize();
    UpdateCommandState();
}

void CViewDatiEnte::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    if (m_caption.GetSafeHwnd())
        m_resize.Resize();
}

HBRUSH CViewDatiEnte::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetSafeHwnd() == m_caption.GetSafeHwnd() && m_brushCaption.GetSafeHandle()) {
        pDC->SetTextColor(kCaptionText);
        pDC->SetBkColor(kCaptionBack);
        pDC->SetBkMode(OPAQUE);
        return static_cast<HBRUSH>(m_brushCaption.GetSafeHandle());
    }
    return CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CViewDatiEnte::UpdateCommandState()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->m_nIdleFlags |= CFrameWnd::idleMenu;
}

void CViewDatiEnte::OnChangeField()
{
    if (m_bLoading)
        return;
    SetModified(TRUE);
    UpdateCommandState();
}

void CViewDatiEnte::ShowError(const _com_error& e)
{
    AfxMessageBox(GetComErrorText(e, &CFormHost::Get().GetDataConnection()), MB_ICONERROR);
}

BOOL CViewDatiEnte::LoadData(const CRecordID*)
{
    try {
        CSetDati set(L"DatiEnte", CFormHost::Get().GetDataConnection());
        m_bLoading = TRUE;
        for (const RecDati& field : kFields) {
            if (set.FindByTextKey(field.pszKey, TRUE))
                SetDlgItemText(static_cast<int>(field.nEditID), set.GetFieldString(L"value"));
        }
        m_bLoading = FALSE;
    } catch (const _com_error& e) {
        m_bLoading = FALSE;
        ShowError(e);
        return FALSE;
    }
    SetModified(FALSE);
    UpdateCommandState();
    return TRUE;
}

BOOL CViewDatiEnte::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!UpdateData(TRUE))
        return FALSE;   // the refused field has been named, its edit has the focus
    try {
        CSetDati set(L"DatiEnte", CFormHost::Get().GetDataConnection());
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        for (size_t i = 0; i < sizeof(kFields) / sizeof(kFields[0]); i++) {
            if (!set.FindByTextKey(kFields[i].pszKey, TRUE))
                set.AddNewWithKey(kFields[i].pszKey);
            set.SetFieldString(L"value", m_strValues[i]);
            set.UpdateRow();
        }
    } catch (const _com_error& e) {
        ShowError(e);
        return FALSE;
    }
    SetModified(FALSE);
    UpdateCommandState();
    return TRUE;
}

void CViewDatiEnte::OnFileSave()
{
    SaveWithWaitCursor();
}

void CViewDatiEnte::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    UpdateSaveCommand(pCmdUI);
}
