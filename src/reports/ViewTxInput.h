// The text-document views: a ".txd" document in the word-processing control with its button bar, ruler and
// status bar. CViewTxInput edits a document and keeps the user's copy in "DocUt"; CViewTxInputEx fills the
// document's field references from the data archive and prints or exports it by its option flags;
// CViewTxConfServ keeps the references in its fields so that the user's copy fills again at each opening;
// CViewTxFax adds the update fax's tags.
#pragma once

#include "TxBars.h"

#include "forms/DataView.h"
#include "forms/RecordID.h"
#include "platform/mfc/afxformview.h"
#include "platform/textdoc/TxControl.h"

#include <memory>

class CViewTxInput : public CFormView, public CDataView
{
    DECLARE_DYNCREATE(CViewTxInput)
public:
    CViewTxInput();
    ~CViewTxInput() override;

    BOOL LoadData(const CRecordID* pItem) override;
    BOOL SaveData() override;
    const CRecordID* GetRecordID() const override { return m_pItem.get(); }
    void OnInitialUpdate() override;

    CTX4OLE& GetControl() { return m_control; }

protected:
    // Loads the document (the user's copy first) into the control, filled and with its references made
    // fields; FALSE after an error message.
    BOOL LoadDocument(const CString& strName, bool bLocked);
    // The user's copy in "DocUt", the older copy kept as ".old".
    BOOL SaveUserCopy();
    virtual void SetupPage(CTextPageSetup& page);
    virtual void FillFields(CTextDocument& doc);
    virtual void RemoveFieldDelimiters(CTextDocument& doc);
    void LayoutControls(int cx, int cy);
    const CString& GetDocumentName() const { return m_strName; }

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnChangeDocument();
    afx_msg void OnSelChangeDocument(NMHDR*, LRESULT* pResult);
    afx_msg void OnFileSave();
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<CRecordID> m_pItem;

private:
    CTX4OLE m_control;
    CTxBar m_buttonBar{CTxBar::buttonBar};
    CTxBar m_ruler{CTxBar::ruler};
    CTxBar m_statusBar{CTxBar::statusBar};
    CString m_strName;
    bool m_bLoading = false;
};

class CViewTxInputEx : public CViewTxInput
{
    DECLARE_DYNCREATE(CViewTxInputEx)
public:
    // Option flags of the item's number.
    enum { optPortrait = 1, optLocked = 2, optSavable = 4, optPrintable = 8 };

    BOOL LoadData(const CRecordID* pItem) override;
    // Savable: exports to the file the user chose (asked once). A document the user may edit but not export is
    // kept as the user's copy, as CViewTxInput keeps it, so that an answer "save" never drops the edits.
    BOOL SaveData() override;

protected:
    long GetOptions() const;
    void SetupPage(CTextPageSetup& page) override;
    void FillFields(CTextDocument& doc) override;

    afx_msg void OnFilePrint();
    afx_msg void OnUpdateFilePrint(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    CString m_strExportPath;
    long m_nExportFormat = txdFormatPdf;
};

class CViewTxConfServ : public CViewTxInputEx
{
    DECLARE_DYNCREATE(CViewTxConfServ)
public:
    BOOL SaveData() override { return SaveUserCopy(); }

protected:
    void FillFields(CTextDocument& doc) override;
    // The references are fields already.
    void RemoveFieldDelimiters(CTextDocument&) override {}
};

class CViewTxFax : public CViewTxInputEx
{
    DECLARE_DYNCREATE(CViewTxFax)
protected:
    void FillFields(CTextDocument& doc) override;
};
