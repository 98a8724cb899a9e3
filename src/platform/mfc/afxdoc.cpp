#include "afxdoc.h"

#include "afxdoctempl.h"
#include "afxfiledlg.h"
#include "afxframe.h"
#include "afxres.h"
#include "afxview.h"

#include <shlwapi.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace
{
// Opens the document's file; a failure is shown and answers false.
bool OpenFile(CFile& file, LPCTSTR lpszPathName, UINT nOpenFlags)
{
    CFileException fe;
    if (file.Open(lpszPathName, nOpenFlags, &fe))
        return true;
    fe.ReportError(MB_ICONEXCLAMATION);
    return false;
}

// The document through an archive on its open file; a failure is shown and answers false.
bool SerializeFile(CDocument* pDocument, CFile& file, UINT nArchiveMode)
{
    try {
        CArchive ar(&file, nArchiveMode);
        ar.m_pDocument = pDocument;
        pDocument->Serialize(ar);
        ar.Close();
        return true;
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        return false;
    }
}
} // namespace

CDocument::~CDocument()
{
    // Views outliving their document would route commands to freed memory.
    while (!m_viewList.IsEmpty())
        static_cast<CView*>(m_viewList.RemoveHead())->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL)
{
    WCHAR szFull[MAX_PATH];
    DWORD n = ::GetFullPathNameW(lpszPathName, MAX_PATH, szFull, nullptr);
    m_strPathName = (n > 0 && n < MAX_PATH) ? szFull : lpszPathName;
    SetTitle(::PathFindFileNameW(m_strPathName));
}

void CDocument::AddView(CView* pView)
{
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::UpdateFrameCounts()
{
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* pView = GetNextView(pos);
        if (CFrameWnd* pFrame = pView->m_hWnd ? pView->GetParentFrame() : nullptr)
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFile file;
    if (!OpenFile(file, lpszPathName, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;   // the document is left as it was
    DeleteContents();
    SetModifiedFlag(TRUE);   // while loading: a failure leaves a document that must not look saved
    if (!SerializeFile(this, file, CArchive::load)) {
        DeleteContents();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    CFile file;
    if (!OpenFile(file, lpszPathName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive) ||
        !SerializeFile(this, file, CArchive::store))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The views go with their frames; the document must not delete itself while they do.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        auto pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else {
            pView->DestroyWindow();
        }
        RemoveView(pView);   // in case the view did not go with its window
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    // Another frame still showing the document keeps it alive without a question.
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
        if (pFrame && pFrame != pFrameArg)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString strName = m_strPathName.IsEmpty() ? m_strTitle : CString(::PathFindFileNameW(m_strPathName));
    if (strName.IsEmpty())
        strName.LoadString(AFX_IDS_UNTITLED);
    CString strPrompt;
    strPrompt.FormatMessage(AFX_IDP_ASK_TO_SAVE, static_cast<LPCTSTR>(strName));
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

BOOL CDocument::DoFileSave()
{
    DWORD dwAttrib = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_strPathName);
    if (dwAttrib != INVALID_FILE_ATTRIBUTES && (dwAttrib & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);   // a read-only file is saved under another name
    return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.GetString());
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString strPathName(lpszPathName);
    if (strPathName.IsEmpty()) {
        CString strExt, strFilter;
        if (m_pDocTemplate) {
            m_pDocTemplate->GetDocString(strExt, CDocTemplate::filterExt);
            strFilter = m_pDocTemplate->GetFileFilter();
        }
        if (!strFilter.IsEmpty())
            strFilter += L"|";
        CFileDialog dialog(FALSE, strExt.IsEmpty() ? nullptr : strExt.Mid(1).GetString(), m_strTitle,
                           OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                           strFilter.IsEmpty() ? nullptr : strFilter.GetString());
        CString strCaption;
        strCaption.LoadString(AFX_IDS_SAVEFILE);
        dialog.m_ofn.lpstrTitle = strCaption;
        if (dialog.DoModal() != IDOK)
            return FALSE;
        strPathName = dialog.GetPathName();
    }
    if (!OnSaveDocument(strPathName))
        return FALSE;
    if (bReplace)
        SetPathName(strPathName);
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
