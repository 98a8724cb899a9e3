// CViewDatiEnte: the authority's own data (name, VAT number, telephone, fax, e-mail, address, postcode, town,
// province), one row of table DatiEnte per field: the row's "ID" is the field's key, its "value" the text.
#pragma once

#include "controls/ColorCtrl.h"
#include "controls/MyResize.h"
#include "forms/DataView.h"
#include "platform/com/comsupport.h"
#include "platform/mfc/afxformview.h"

class CViewDatiEnte : public CFormView, public CDataView
{
    DECLARE_DYNCREATE(CViewDatiEnte)
public:
    CViewDatiEnte();
    ~CViewDatiEnte() override;

    // One field: its edit, its key in DatiEnte and the longest text it accepts.
    struct RecDati
    {
        UINT nEditID;
        LPCTSTR pszKey;
        int nMaxLength;
    };
    static const RecDati* GetFields(int& nCount);

    BOOL LoadData(const CRecordID* pItem) override;
    BOOL SaveData() override;
    const CRecordID* GetRecordID() const override { return nullptr; }

    void OnInitialUpdate() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnChangeField();
    afx_msg void OnFileSave();
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    void ShowError(const _com_error& e);
    void UpdateCommandState();

    CColorCtrl<CStatic> m_caption;
    CFont m_fontCaption;
    CBrush m_brushCaption;
    CString m_strValues[9];
    CMyResize m_resize{this};
    BOOL m_bLoading = FALSE;
};
