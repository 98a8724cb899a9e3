#include "platform/mfc/afx.h"
#include "platform/mfc/afxres.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace
{
CString MessageOf(const CException& e, UINT nMax = 512, UINT* pnHelp = nullptr)
{
    CString text;
    BOOL ok = e.GetErrorMessage(text.GetBuffer(static_cast<int>(nMax)), nMax, pnHelp);
    text.ReleaseBuffer();
    return ok ? text : CString(L"<none>");
}
} // namespace

TEST(CException, TextsComeFromTheStringTableWithTheFileName)
{
    struct Case
    {
        CException* e;
        LPCTSTR expected;
    } cases[] = {
        {new CMemoryException, L"Memoria insufficiente."},
        {new CUserException, L"Errore sconosciuto."},
        {new CInvalidArgException, L"Parametro non valido."},
        {new CNotSupportedException, L"\u00C8 stata tentata un'operazione non supportata."},
        {new CFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"C:\\Dati\\50% sconto.txt"),
         L"Impossibile trovare il file C:\\Dati\\50% sconto.txt."},
        {new CFileException(CFileException::endOfFile, -1, L"a.dat"),
         L"Tentativo di accesso oltre la fine del file a.dat."},
        {new CArchiveException(CArchiveException::badSchema, L"Layout.bin"),
         L"L'archivio Layout.bin contiene un oggetto di una versione non supportata."},
        {new CFileException(99, -1, L"x"), L"<none>"},
        {new CException, L"<none>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CString(c.expected), MessageOf(*c.e)) << c.expected;
        c.e->Delete();
    }
}

TEST(CException, MessageIsCutToTheBufferAndReportsItsHelpContext)
{
    CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"b.txt");
    UINT help = 0;
    EXPECT_EQ(CString(L"Acces"), MessageOf(e, 6, &help));
    EXPECT_EQ(UINT(AFX_IDP_FILE_ACCESS_DENIED), help);
    TCHAR none[1] = {L'x'};
    EXPECT_FALSE(e.GetErrorMessage(none, 0));
    EXPECT_EQ(L'x', none[0]);
}

TEST(CException, ReportErrorShowsTheTextOrTheFallback)
{
    CMessageBoxRecorder recorder(IDCANCEL);
    CArchiveException archive(CArchiveException::endOfFile, L"x.bin");
    EXPECT_EQ(IDCANCEL, archive.ReportError(MB_OKCANCEL | MB_ICONSTOP));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Fine del file raggiunta durante la lettura dell'archivio x.bin."), recorder.Last().text);
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONSTOP), recorder.Last().type);

    // A long path is shown whole, not cut to a fixed buffer.
    CString longName(L'x', 900);
    CFileException file(CFileException::badPath, -1, longName);
    file.ReportError();
    EXPECT_EQ(CString(L"Il percorso del file ") + longName + L" non \u00E8 valido.", recorder.Last().text);

    CException plain(FALSE);
    plain.ReportError(MB_OK, AFX_IDS_MEMORY_EXCEPTION);
    EXPECT_EQ(CString(L"Memoria insufficiente."), recorder.Last().text);
    plain.ReportError();
    EXPECT_EQ(CString(L"Si \u00E8 verificata un'eccezione sconosciuta."), recorder.Last().text);
}

TEST(CException, ThrowHelpersThrowTheirClassAsPointer)
{
    try {
        AfxThrowFileException(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, L"c.mdb");
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::sharingViolation, e->m_cause);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, e->m_lOsError);
        EXPECT_EQ(CString(L"c.mdb"), e->m_strFileName);
        e->Delete();
    }
    try {
        AfxThrowArchiveException(CArchiveException::badClass);
    } catch (CException* e) {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CArchiveException)));
        EXPECT_EQ(CArchiveException::badClass, static_cast<CArchiveException*>(e)->m_cause);
        e->Delete();
    }
    // The out-of-memory exception is preallocated: deleting it must leave it usable for the next throw.
    for (int i = 0; i < 2; ++i) {
        try {
            AfxThrowMemoryException();
        } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
            EXPECT_EQ(CString(L"Memoria insufficiente."), MessageOf(*e));
            e->Delete();
        }
    }
    EXPECT_THROW(AfxThrowUserException(), CUserException*);
    EXPECT_THROW(AfxThrowNotSupportedException(), CNotSupportedException*);
    EXPECT_THROW(AfxThrowResourceException(), CResourceException*);
    EXPECT_THROW(AfxThrowInvalidArgException(), CInvalidArgException*);
}

TEST(CFileException, SystemErrorsMapToCauses)
{
    const struct
    {
        LONG lOsError;
        int cause;
    } cases[] = {
        {NO_ERROR, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_INVALID_NAME, CFileException::badPath},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_NOT_ENOUGH_MEMORY, CFileException::genericException},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.lOsError)) << c.lOsError;

    EXPECT_NO_THROW(CFileException::ThrowOsError(0, L"a"));
    try {
        CFileException::ThrowOsError(ERROR_PATH_NOT_FOUND, L"Z:\\no\\a.txt");
        ADD_FAILURE();
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::badPath, e->m_cause);
        EXPECT_EQ(ERROR_PATH_NOT_FOUND, e->m_lOsError);
        EXPECT_EQ(CString(L"Z:\\no\\a.txt"), e->m_strFileName);
        e->Delete();
    }
}
