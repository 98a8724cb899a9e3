// Document templates: which document, frame and view classes make up a document kind, and the resource
// (title, menu, icon, accelerators, document string) they share. CSingleDocTemplate keeps one document and
// re-uses it (and its frame) for every new or opened document.
#pragma once

#include "afxcmdtarget.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

// What a new frame needs to make its view.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The parts of the document string, separated by '\n'.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
    // "name|*.ext|" for the file dialogs, or empty when the document string names no extension.
    CString GetFileFilter() const;

    virtual CDocument* CreateNewDocument();
    // A frame (with its view) for pDoc; null when its creation failed.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    // A new document (null name) or the document of a file, with its frame and view.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // The id of the resources the template's documents share (menu, icon, strings).
    UINT GetResourceID() const { return m_nIDResource; }

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;

protected:
    CDocument* m_pOnlyDoc = nullptr;
};

// The iSubString-th part of a text whose parts are separated by chSep; FALSE when there is no such part.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep = L'\n');
