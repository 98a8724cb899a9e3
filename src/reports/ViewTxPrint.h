// The printed reports: a template of the "Doc" folder filled from the data archive in the word-processing
// control, which fills the view. CViewTxPrintCSP is the programmed-target report, whose fields follow the
// authority's case; CViewTxPrintResp the report of one responsible centre.
#pragma once

#include "forms/DataView.h"
#include "forms/RecordID.h"
#include "platform/mfc/afxformview.h"
#include "platform/textdoc/TxControl.h"

#include <memory>

class CViewTxPrint : public CFormView, public CDataView
{
    DECLARE_DYNCREATE(CViewTxPrint)
public:
    CViewTxPrint();
    ~CViewTxPrint() override;

    BOOL LoadData(const CRecordID* pItem) override;
    // A report is never saved.
    BOOL SaveData() override { return TRUE; }
    const CRecordID* GetRecordID() const override { return m_pItem.get(); }
    void OnInitialUpdate() override;

    CTX4OLE& GetControl() { return m_control; }

protected:
    // Loads and fills the template; FALSE after an error message.
    BOOL LoadReport(const CTextLongID& item);
    virtual void FillReport(CTextDocument& doc);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnFilePrint();
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<CTextLongID> m_pItem;

private:
    CTX4OLE m_control;
};

class CViewTxPrintCSP : public CViewTxPrint
{
    DECLARE_DYNCREATE(CViewTxPrintCSP)
protected:
    void FillReport(CTextDocument& doc) override;
};

class CViewTxPrintResp : public CViewTxPrint
{
    DECLARE_DYNCREATE(CViewTxPrintResp)
public:
    // The item's number is the centre (0: the totals); the report is always a portrait page.
    BOOL LoadData(const CRecordID* pItem) override;
    const CRecordID* GetRecordID() const override { return m_pRespItem.get(); }

protected:
    void FillReport(CTextDocument& doc) override;

private:
    std::unique_ptr<CTextLongID> m_pRespItem;
    long m_nIdResp = 0;   // 0 until an item names a centre
};
