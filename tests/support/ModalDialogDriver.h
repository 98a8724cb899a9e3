// Test double of the modal-dialog seam: while the object lives, every modal dialog (and every common file
// dialog) goes to the given handler instead of a modal loop. The handler works the dialog as a user would
// and answers the result to use when it leaves the dialog open.
#pragma once

#include "platform/mfc/afxdialog.h"

class CModalDialogDriver
{
public:
    explicit CModalDialogDriver(AFX_MODAL_HANDLER handler)
        : m_previous(AfxSetModalHandler([this, handler](CDialog& dialog) {
              ++m_nShown;
              return handler(dialog);
          }))
    {
    }
    ~CModalDialogDriver() { AfxSetModalHandler(m_previous); }
    CModalDialogDriver(const CModalDialogDriver&) = delete;
    CModalDialogDriver& operator=(const CModalDialogDriver&) = delete;

    int Shown() const { return m_nShown; }

private:
    int m_nShown = 0;
    AFX_MODAL_HANDLER m_previous;
};

// While it lives, modal dialogs run their real modal loop (the test main otherwise fails them as unexpected).
class CRealModalLoop
{
public:
    CRealModalLoop() : m_previous(AfxSetModalHandler(nullptr)) {}
    ~CRealModalLoop() { AfxSetModalHandler(m_previous); }
    CRealModalLoop(const CRealModalLoop&) = delete;
    CRealModalLoop& operator=(const CRealModalLoop&) = delete;

private:
    AFX_MODAL_HANDLER m_previous;
};
