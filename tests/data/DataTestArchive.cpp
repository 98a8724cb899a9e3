#include "DataTestArchive.h"

#include "data/DatabaseSchema.h"

const LPCTSTR CDataTestArchive::Password = L"pr0va";

void CDataTestArchive::SetUp()
{
    m_dataPath = m_folder.File(L"Archivio.mdb");
    m_progPath = m_folder.File(L"Prog03.mdb");
    CreateDataArchive(m_dataPath, Password);
    CreateProgramDatabase(m_progPath, Password);
    OpenDatabases(TRUE);
}

void CDataTestArchive::TearDown()
{
    // The files are removed with the folder: close them first.
    if (m_data.IsOpen())
        m_data.Close();
    if (m_prog.IsOpen())
        m_prog.Close();
}

void CDataTestArchive::OpenDatabases(BOOL bSeekAllowed)
{
    TearDown();
    OpenConnection(m_data, m_dataPath, bSeekAllowed);
    OpenConnection(m_prog, m_progPath, bSeekAllowed);
}

void CDataTestArchive::OpenConnection(CADOConnection& connection, const CString& path, BOOL bSeekAllowed)
{
    ASSERT_HRESULT_SUCCEEDED(connection.CreateConnection());
    connection.Open(CADOConnection::FormatConnectionString(path, Password), bSeekAllowed);
}

_variant_t CDataTestArchive::Scalar(LPCTSTR pszSQL)
{
    _RecordsetPtr result = m_data.Execute(pszSQL, nullptr, adCmdText);
    return result->GetFields()->GetItem(_variant_t(0L))->GetValue();
}
