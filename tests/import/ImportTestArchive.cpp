#include "ImportTestArchive.h"

#include <sstream>

std::string CImportTestArchive::ArchiveBytes()
{
    m_data.Close();
    std::ostringstream bytes;
    {
        HANDLE hFile = ::CreateFileW(m_dataPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, hFile);
        char buffer[65536];
        DWORD nRead = 0;
        while (::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr) && nRead > 0)
            bytes.write(buffer, nRead);
        ::CloseHandle(hFile);
    }
    OpenConnection(m_data, m_dataPath, TRUE);
    return bytes.str();
}

std::string CImportTestArchive::DumpTable(LPCTSTR pszTable)
{
    CString sql;
    sql.Format(L"SELECT * FROM %s ORDER BY ID", pszTable);
    _RecordsetPtr rows = m_data.Execute(sql, nullptr, adCmdText);
    std::string text;
    for (; !rows->GetEOF(); rows->MoveNext()) {
        FieldsPtr fields = rows->GetFields();
        for (long i = 0; i < fields->GetCount(); ++i) {
            _variant_t value = fields->GetItem(_variant_t(i))->GetValue();
            text += value.vt == VT_NULL ? std::string("null") : CString(static_cast<LPCWSTR>(_bstr_t(value))).ToMultiByte(CP_UTF8);
            text += ';';
        }
        text += '\n';
    }
    return text;
}

std::string CImportTestArchive::DumpBalances()
{
    std::string text;
    for (LPCTSTR pszTable : {L"Entrate", L"SaldoFin", L"SaldoProg", L"Monitor", L"SaldoFinProg", L"SaldoFinCalc"})
        text += CString(pszTable).ToMultiByte(CP_UTF8) + ":\n" + DumpTable(pszTable);
    return text;
}

CString CImportTestArchive::WriteFile(LPCTSTR pszName, std::initializer_list<std::string> lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return m_folder.Write(pszName, bytes);
}

std::string CImportTestArchive::Right(const std::string& text, size_t nWidth)
{
    if (text.size() >= nWidth)
        return text.substr(text.size() - nWidth);
    return std::string(nWidth - text.size(), ' ') + text;
}
