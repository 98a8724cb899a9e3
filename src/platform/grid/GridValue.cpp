#include "GridValue.h"

namespace
{
struct ErrorName
{
    GridError nError;
    LPCTSTR pszText;
};

const ErrorName s_errorNames[] = {
    {gridErrorDiv0, L"#DIV/0!"}, {gridErrorValue, L"#VALUE!"}, {gridErrorRef, L"#REF!"},
    {gridErrorName, L"#NAME?"},  {gridErrorNum, L"#NUM!"},     {gridErrorCircular, L"#CIRC!"},
};
} // namespace

LPCTSTR GridErrorText(GridError nError)
{
    for (const ErrorName& e : s_errorNames)
        if (e.nError == nError)
            return e.pszText;
    return L"";
}
