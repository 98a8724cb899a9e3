#include "MessageText.h"

CString LoadResString(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}
