// Dialog 137: one responsible centre, with its type, the centre's name and the responsible's name; the label of
// the responsible reads the head of the chosen type ("Caposettore:").
#pragma once

#include "data/SetResponsabili.h"
#include "platform/mfc/afxwin.h"

class CDlgCentroServ : public CDialog
{
public:
    // pRecord: the centre to change, or null for a new one.
    CDlgCentroServ(CWnd* pParentWnd, const CRecResponsabile* pRecord);

    CRecResponsabile m_rec;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnTypeChosen();
    afx_msg void OnNameChange();
    DECLARE_MESSAGE_MAP()

private:
    void ShowHeadLabel(long nType);
};
