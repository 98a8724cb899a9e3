#include "afxdoctempl.h"

#include "afxdoc.h"
#include "afxframe.h"
#include "afxres.h"
#include "afxthread.h"
#include "afxview.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    rString.Empty();
    if (!lpszFullString)
        return FALSE;
    LPCTSTR pszStart = lpszFullString;
    for (; iSubString > 0; --iSubString) {
        pszStart = wcschr(pszStart, chSep);
        if (!pszStart)
            return FALSE;
        ++pszStart;
    }
    LPCTSTR pszEnd = wcschr(pszStart, chSep);
    rString = pszEnd ? CString(pszStart, static_cast<int>(pszEnd - pszStart)) : CString(pszStart);
    return TRUE;
}

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CString CDocTemplate::GetFileFilter() const
{
    CString strExt, strName;
    if (!GetDocString(strExt, filterExt) || strExt.IsEmpty())
        return CString();
    GetDocString(strName, filterName);
    return strName + L"|*" + strExt + L"|";
}

CDocument* CDocTemplate::CreateNewDocument()
{
    CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    if (!pObject)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete pObject;
        return nullptr;
    }
    auto pDocument = static_cast<CDocument*>(pObject);
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    if (!pObject)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete pObject;
        return nullptr;
    }
    auto pFrame = static_cast<CFrameWnd*>(pObject);
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;   // the frame has deleted itself
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    while (POSITION pos = GetFirstDocPosition())
        GetNextDoc(pos)->OnCloseDocument();
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const { return m_pOnlyDoc ? reinterpret_cast<POSITION>(1) : nullptr; }

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const
{
    rPos = nullptr;
    return m_pOnlyDoc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString strDocName;
    if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
        strDocName.LoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strDocName);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    if (pDocument) {
        // The one document is re-used: its changes are settled first, its frame stays.
        if (!pDocument->SaveModified())
            return nullptr;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos && !pFrame;)
            pFrame = pDocument->GetNextView(pos)->GetParentFrame();
    } else {
        pDocument = CreateNewDocument();
        bCreated = TRUE;
        if (!pDocument)
            return nullptr;
    }

    if (!pFrame) {
        // The document must survive its frame's failing creation, which destroys its view.
        BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (!pFrame) {
            if (bCreated)
                delete pDocument;
            return nullptr;
        }
    }

    // The loading sets the modified flag once it has begun: then the old content is gone.
    BOOL bWasModified = pDocument->IsModified();
    pDocument->SetModifiedFlag(FALSE);
    BOOL bOK = lpszPathName ? pDocument->OnOpenDocument(lpszPathName)
                            : (SetDefaultTitle(pDocument), pDocument->OnNewDocument());
    if (!bOK) {
        if (bCreated) {
            pFrame->DestroyWindow();   // the last view goes: the document closes
        } else if (!pDocument->IsModified()) {
            pDocument->SetModifiedFlag(bWasModified);   // untouched
        } else {
            // Half loaded: it must not be saved over the file it came from, so it starts again as new.
            SetDefaultTitle(pDocument);
            pDocument->OnNewDocument();
        }
        return nullptr;
    }
    if (lpszPathName)
        pDocument->SetPathName(lpszPathName);

    CWinThread* pThread = AfxGetThread();
    if (bCreated && pThread && !pThread->m_pMainWnd)
        pThread->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
