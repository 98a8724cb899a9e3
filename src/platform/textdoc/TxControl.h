// CTX4OLE: the word-processing control. A rich-edit window (riched20) shows and edits a CTextDocument: the
// document model stays the authority for fields and saving, and follows every edit the user makes (the change
// is found by comparing the text before and after), so fields move with the text around them. The control's text
// of a table differs from the model's (it marks rows and cells its own way): positions are mapped between the two. Pages are laid
// out by CTextLayout, the same lines the PDF export writes, and printed into any device context.
#pragma once

#include "TextDocument.h"

#include "platform/mfc/afxwin.h"

// A print job on a device context: the system's print job by default; a test or an export takes the pages. Each
// step answers whether the device took it; a job that fails after its start is aborted.
class CTxPrintJob
{
public:
    virtual ~CTxPrintJob() = default;
    virtual bool Start(HDC hdc, LPCTSTR pszTitle);
    virtual bool StartPage(HDC hdc);
    virtual bool EndPage(HDC hdc);
    virtual bool End(HDC hdc);
    virtual void Abort(HDC hdc);
};

class CTX4OLE : public CWnd
{
public:
    CTX4OLE();
    ~CTX4OLE() override;

    // A child rich-edit window; FALSE when the system has no rich-edit control.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Reads a ".txd" file and shows it; raises as CTextDocument::Load, the shown document unchanged then.
    void LoadDocument(LPCTSTR pszPath);
    // Shows a document built or filled by the program (the page set-up is kept).
    void SetDocument(const CTextDocument& doc);
    // The document as shown and edited.
    const CTextDocument& GetDocument() const { return m_doc; }
    // Writes the document in one of the TxdFormat formats; raises CFileException.
    void SaveDocument(LPCTSTR pszPath, int nFormat) const { m_doc.Save(pszPath, nFormat); }
    CTextPageSetup& PageSetup() { return m_doc.PageSetup(); }
    const CTextPageSetup& PageSetup() const { return m_doc.PageSetup(); }
    // An empty document.
    void NewDocument();
    // Inserts another document's content at the selection, with its fields.
    void InsertDocument(const CTextDocument& doc);
    // Selects nLength characters from nStart, in the window and in the document.
    void SetSel(long nStart, long nLength);

    // Locked (edit mode 2): the user reads, selects and prints, but cannot change the text.
    void SetLocked(bool bLocked);
    bool IsLocked() const { return m_bLocked; }

    // Pages of the document (at least 1).
    int GetPageCount() const;
    // Prints pages nFirst..nLast (1-based; -1 for the first or the last page) nCopies times as one print job
    // named pszTitle; answers the number of pages sent, 0 when the job could not start or failed on the way.
    int Print(HDC hdc, LPCTSTR pszTitle, int nFirst, int nLast, int nCopies, CTxPrintJob* pJob = nullptr) const;

    // Applies a character attribute (CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE) to the selection, toggling it.
    void ToggleSelectionEffect(DWORD dwEffect);
    // The caret's page, counted by page breaks before it (1-based).
    int GetCaretPage() const;

protected:
    afx_msg BOOL OnChange();
    // The formatting keys: bold, italic and underline go through the document, so that they are kept when it is
    // saved; the paragraph formats that a document cannot keep are not applied.
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    // The control draws a page break as a box: it is shown as a dotted line across the text instead.
    afx_msg void OnPaint();
    // Pasting takes the text only: the document could not keep formatting the clipboard brought.
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void ShowDocument();
    // Aligns the control's text with the model's: equal characters, the control's marks of rows and cells, and
    // what the control shows of the model's page breaks and cell ends.
    void MapShownText();
    long ModelPos(long nShown) const;
    long ShownPos(long nModel) const;
    void DrawPageBreaks(HDC hdc) const;
    CString ReadControlText() const;

    CTextDocument m_doc;
    CString m_strShown;   // the control's text as the model last saw it
    std::vector<long> m_shownToModel;
    std::vector<long> m_modelToShown;
    bool m_bLocked = false;
    bool m_bShowing = false;
    bool m_bSwallowChar = false;   // the character a handled formatting key produces
    // A format toggled at the caret applies to what is typed there next.
    long m_nPendingAt = -1;
    CTextCharFormat m_pendingFormat;
};

// What a key pressed with Ctrl (and without Alt, which with Ctrl is AltGr) does to the text's format: 0 nothing
// of ours, a CFE_ effect to toggle, or txKeyIgnored for a paragraph format that the document cannot keep.
const DWORD txKeyIgnored = 0x80000000;
DWORD TxFormattingKey(UINT nKey, bool bShift);
