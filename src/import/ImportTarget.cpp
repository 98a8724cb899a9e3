#include "ImportTarget.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

COleCurrency CurrencyFromUnits(long long units)
{
    CURRENCY cy;
    cy.int64 = units * 10000;
    return COleCurrency(cy);
}

COleCurrency CurrencyFromCents(long long cents)
{
    CURRENCY cy;
    cy.int64 = cents * 100;
    return COleCurrency(cy);
}

bool WriteImportedAmount(CSetSaldi& set, LPCTSTR pszField, const COleCurrency& amount, int nOption)
{
    if (nOption != importSourceFields) {
        COleCurrency current = set.GetFieldAmount(pszField);
        if (current.GetStatus() == COleCurrency::valid && current != COleCurrency())
            return false;
    }
    set.SetFieldCurrency(pszField, amount);
    return true;
}

void ShowImportError(const _com_error& e, const CADOConnection& connection)
{
    AfxMessageBox(GetComErrorText(e, &connection), MB_ICONERROR);
}

void ShowImportError(CException* e)
{
    AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
}

bool StoreImport(CADOConnection& data, const std::function<void()>& writeAndRecompute)
{
    try {
        CADOTransaction transaction(data);
        writeAndRecompute();
        transaction.Commit();
    }
    catch (const _com_error& e) {
        ShowImportError(e, data);
        return false;
    }
    catch (CException* e) {
        ShowImportError(e);
        return false;
    }
    AfxMessageBox(IDP_IMPORT_DONE, MB_ICONINFORMATION);
    return true;
}
