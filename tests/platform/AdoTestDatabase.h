// A fresh Jet-style database in a temporary folder for the tests of the ADO stand-in.
#pragma once

#include "platform/ado/adodb.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

class CAdoTestDatabase : public ::testing::Test
{
protected:
    static constexpr const wchar_t* PASSWORD = L"Sègreto;1";

    void SetUp() override
    {
        m_path = m_folder.File(L"Prog03.mdb");
        JetCreateDatabase(m_path, PASSWORD);
        m_connection = Connect(L"'Sègreto;1'");
    }

    CString ConnectionString(LPCWSTR password) const
    {
        CString text;
        text.Format(L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s;Persist Security Info=False;"
                    L"Jet OLEDB:Database Password=%s",
                    static_cast<LPCWSTR>(m_path), password);
        return text;
    }

    _ConnectionPtr Connect(LPCWSTR password) const
    {
        _ConnectionPtr connection;
        EXPECT_EQ(S_OK, connection.CreateInstance(__uuidof(Connection)));
        connection->Open(_bstr_t(static_cast<LPCWSTR>(ConnectionString(password))), L"", L"", -1);
        return connection;
    }

    long Execute(LPCWSTR sql)
    {
        _variant_t affected;
        m_connection->Execute(sql, &affected, adCmdText | adExecuteNoRecords);
        return affected.lVal;
    }

    _RecordsetPtr Open(LPCWSTR source, LockTypeEnum lock, long options)
    {
        _RecordsetPtr recordset;
        recordset.CreateInstance(__uuidof(Recordset));
        recordset->Open(source, _variant_t(static_cast<IDispatch*>(m_connection), true), adOpenStatic, lock, options);
        return recordset;
    }

    // The native error of the connection's last failure, after running the action.
    template <class Action> long NativeErrorOf(Action action)
    {
        try {
            action();
        } catch (const _com_error&) {
            return m_connection->GetErrors()->GetItem(0L)->GetNativeError();
        }
        ADD_FAILURE() << "no error raised";
        return 0;
    }

    CTempFolder m_folder;
    CString m_path;
    _ConnectionPtr m_connection;
};

inline LONGLONG CurrencyCount(const _variant_t& value)
{
    EXPECT_EQ(VT_CY, value.vt);
    return value.vt == VT_CY ? value.cyVal.int64 : 0;
}

inline _variant_t Currency(LONGLONG count)
{
    CY value;
    value.int64 = count;
    return _variant_t(value);
}

inline CString Text(const _variant_t& value)
{
    return value.vt == VT_BSTR ? CString(value.bstrVal) : CString(L"<not a text>");
}

inline _variant_t Keys(long first, long second)
{
    SAFEARRAYBOUND bound = {2, 1};
    SAFEARRAY* array = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    _variant_t values[] = {first, second};
    for (LONG i = 1; i <= 2; ++i)
        ::SafeArrayPutElement(array, &i, &values[i - 1]);
    VARIANT keys;
    keys.vt = VT_ARRAY | VT_VARIANT;
    keys.parray = array;
    return _variant_t(keys, false);
}
