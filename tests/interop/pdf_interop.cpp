// The program's side of the PDF check: writes sample documents as PDF into the folder given, for the script to
// read with poppler's tools.
#include "platform/mfc/afxexcept.h"
#include "platform/textdoc/TextDocument.h"

#include <cstdio>

namespace {

void Write(const CTextDocument& doc, const CString& folder, LPCTSTR pszName)
{
    doc.Save(folder + L"\\" + pszName, txdFormatPdf);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const CString folder(argv[1]);
    try {
        CTextDocument report;
        CTextCharFormat title;
        title.bBold = true;
        title.nHalfPoints = 32;
        report.AppendText(L"Saldo finanziario 2008\r", title);
        report.AppendText(L"Citt\u00e0 di Cant\u00f9: perch\u00e9 \u00e8 pi\u00f9 cos\u00ec \u20ac 1.234,50\r"
                          L"Caso:\t", CTextCharFormat());
        CTextCharFormat symbol;
        symbol.strFace = L"Wingdings";
        symbol.nCharSet = SYMBOL_CHARSET;
        report.AppendText(L"\u00fe\u00a8", symbol);
        report.AppendText(L"\x0C" L"Seconda pagina\r", CTextCharFormat());
        Write(report, folder, L"report.pdf");

        CTextDocument longText;
        longText.PageSetup().nWidth = 16838;
        longText.PageSetup().nHeight = 11905;
        for (int i = 1; i <= 120; ++i) {
            CString line;
            line.Format(L"Riga %d del documento lungo, con parole che vanno a capo quando la riga \u00e8 piena "
                        L"e continuano sulla riga seguente.\r", i);
            longText.AppendText(line, CTextCharFormat());
        }
        Write(longText, folder, L"long.pdf");
    }
    catch (CException* e) {
        e->Delete();
        std::fputs("PDF not written\n", stderr);
        return 1;
    }
    return 0;
}
