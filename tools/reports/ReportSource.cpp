#include "ReportSource.h"

#include "reports/ReportFiller.h"
#include "util/MessageText.h"

namespace {

CTextCharFormat LineFormat(int nHalfPoints, bool bBold)
{
    CTextCharFormat format;
    format.nHalfPoints = nHalfPoints;
    format.bBold = bBold;
    return format;
}

// A reference left open would take in the text up to the next closing delimiter when it is filled. The
// accounting heading's tag opens like a reference but has no closing delimiter.
bool ReferencesClosed(const CString& strLine)
{
    const int nTag = static_cast<int>(wcslen(kAccountingHeadingTag));
    for (int p = strLine.Find(L"$["); p >= 0;) {
        if (strLine.Mid(p, nTag) == kAccountingHeadingTag) {
            p = strLine.Find(L"$[", p + nTag);
            continue;
        }
        const int q = strLine.Find(L"]$", p + 2);
        const int next = strLine.Find(L"$[", p + 2);
        if (q < 0 || (next >= 0 && next < q))
            return false;
        p = next;
    }
    return true;
}

} // namespace

CString CompileReportSource(const CString& strSource, CTextDocument& doc)
{
    doc.New();
    CString source = strSource;
    source.Remove(L'\r');
    if (!source.IsEmpty() && source[0] == 0xFEFF)
        source.Delete(0);
    int nLine = 0;
    for (int nStart = 0; nStart < source.GetLength();) {
        int nEnd = source.Find(L'\n', nStart);
        if (nEnd < 0)
            nEnd = source.GetLength();
        CString line = source.Mid(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        ++nLine;
        line.TrimRight();
        if (line.Left(2) == L"//")
            continue;
        if (!ReferencesClosed(line))
            return FormatString(L"line %d: a field reference is not closed with \"]$\"", nLine);
        line.Replace(L'|', L'\t');
        if (line == L"---")
            doc.AppendText(L"\x0C", LineFormat(20, false));
        else if (line.Left(3) == L"== ")
            doc.AppendText(line.Mid(3) + L"\r", LineFormat(22, true));
        else if (line.Left(2) == L"= ")
            doc.AppendText(line.Mid(2) + L"\r", LineFormat(28, true));
        else
            doc.AppendText(line + L"\r", LineFormat(20, false));
    }
    return CString();
}
