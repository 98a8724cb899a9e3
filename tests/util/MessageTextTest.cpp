#include "util/MessageText.h"
#include "resource.h"

#include <gtest/gtest.h>

// The system's message formatting turns the line breaks of the string table into CR LF.
TEST(MessageText, ResourceMessageGetsItsInsertsInOrder)
{
    EXPECT_EQ(CString(L"La versione dell'archivio \u00e8 errata;\r\nVersione attesa:\t2.00\r\nVersione incontrata:\t2.01"),
              FormatResMessage(IDP_ARCHIVE_VERSION, L"2.00", CString(L"2.01")));
    EXPECT_EQ(CString(L"Impossibile trovare il file:\r\nC:\\Prog\\Form\\Entrate1.vts"),
              FormatResMessage(IDP_FILE_NOT_FOUND, L"C:\\Prog\\Form\\Entrate1.vts"));
}

// An insert without its argument stays as written instead of being read from past the arguments.
TEST(MessageText, InsertsBeyondTheArgumentsStayInTheText)
{
    EXPECT_EQ(CString(L"La versione dell'archivio \u00e8 errata;\r\nVersione attesa:\t2.00\r\nVersione incontrata:\t%2"),
              FormatResMessage(IDP_ARCHIVE_VERSION, L"2.00"));
    EXPECT_EQ(CString(L"Impossibile trovare il file:\r\n%1"), FormatResMessage(IDP_FILE_NOT_FOUND));
}

TEST(MessageText, MissingStringsAreEmpty)
{
    EXPECT_TRUE(LoadResString(65001).IsEmpty());
    EXPECT_TRUE(FormatResMessage(65001, L"x").IsEmpty());
    EXPECT_EQ(CString(L"Quarzel08"), LoadResString(57344));
}

TEST(MessageText, FormatStringHasNoLengthLimit)
{
    CString longText(L'x', 5000);
    CString text = FormatString(L"[%s] %d", longText.GetString(), 42);
    EXPECT_EQ(5000 + 5, text.GetLength());
    EXPECT_EQ(CString(L"] 42"), text.Right(4));
}

TEST(MessageText, SystemErrorTextAndItsFallback)
{
    CString known = GetSystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(known.IsEmpty());
    EXPECT_NE(L'\n', known[known.GetLength() - 1]);
    EXPECT_EQ(-1, known.Find(L"System error"));

    const struct { DWORD code; const wchar_t* text; } cases[] = {
        { 0x2FFFFFFFu, L"System error: 805306367 (0x2FFFFFFF)" },
        { 0xA0001234u, L"System error: -1610608076 (0xA0001234)" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.text), GetSystemErrorText(c.code));
}

TEST(MessageText, ExceptionTextIsReadAndTheExceptionDeleted)
{
    CFileException* e = new CFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"C:\\x.mdb");
    EXPECT_EQ(CString(L"Impossibile trovare il file C:\\x.mdb."), GetExceptionText(e, TRUE));
    EXPECT_TRUE(GetExceptionText(nullptr).IsEmpty());
}

namespace
{
// An exception whose text cannot be built: reading it raises in turn.
class CBrokenException : public CException
{
public:
    static int s_nAlive;
    CBrokenException() { ++s_nAlive; }
    ~CBrokenException() override { --s_nAlive; }
    BOOL GetErrorMessage(LPTSTR, UINT, PUINT = NULL) const override { AfxThrowMemoryException(); }
};
int CBrokenException::s_nAlive = 0;
} // namespace

// The handler that asks for the text is already handling an error: nothing may escape from it.
TEST(MessageText, ExceptionTextNeverRaises)
{
    CString text;
    EXPECT_NO_THROW(text = GetExceptionText(new CBrokenException, TRUE));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, CBrokenException::s_nAlive);
}

TEST(MessageText, WindowTextWithoutMnemonics)
{
    HWND label = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, label);
    const struct { const wchar_t* text; const wchar_t* expected; } cases[] = {
        { L"&Capitolo:", L"Capitolo:" },
        { L"Dati && Saldi", L"Dati  Saldi" },
        { L"Senza segni", L"Senza segni" },
    };
    for (const auto& c : cases) {
        ::SetWindowTextW(label, c.text);
        EXPECT_EQ(CString(c.expected), GetWindowTextNoAmp(label)) << c.text;
    }
    ::DestroyWindow(label);
}
