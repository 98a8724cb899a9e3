// Tables ExtraEntrCap and ExtraSpeseCap of the data archive: the extra-accounting amounts of each responsible
// centre by budget chapter; the rows of centre 0 are the totals of all centres.
#pragma once

#include "data/TableRecordset.h"
#include "platform/mfc/afxtempl.h"

class CRecExtraCap : public CADORecord
{
public:
    ADO_BINDING_ENTRY* GetADOBindingEntries() override;

    CADOType<long> m_ID;            // numbered by the database
    CADOType<long> m_idResp;
    CADOString<7> m_codUEB;         // seven digits, the first one the title
    CADOType<long> m_capitolo;
    CADOString<100> m_articolo;
    CADOCurrency m_importoComp;
    CADOCurrency m_importoCassa;
};

// The code of each budget chapter, by chapter number.
typedef CMap<long, long, CString, LPCTSTR> CChapterCodesMap;

class CSetExtraCap : public CTableRecordset<CRecExtraCap>
{
public:
    enum Kind { kindEntrate = 0, kindSpese = 1 };

    // On the data-archive connection.
    CSetExtraCap(CADOConnection& connection, int nKind);

    void OpenByResp(long nIdResp);
    // Sums of one centre, read through the bound record: by title (the title in m_codUEB), of the codes
    // 406xxxx, and of the codes 2xxxx10.
    void OpenSumsByTitle(long nIdResp);
    void OpenSums406(long nIdResp);
    void OpenSums2xx10(long nIdResp);

    // Every row's codUEB by its capitolo, over the whole table (0 for a null chapter; a later row replaces an
    // earlier one).
    void LoadChapterCodes(CChapterCodesMap& map);

    static void DeleteExtraCapRow(CADOConnection& connection, int nKind, long nID);
    // Rebuilds the totals rows (centre 0) from the rows of every centre, in one transaction.
    static bool BuildExtraCapTotals(CADOConnection& connection, int nKind);

private:
    static LPCTSTR TableOf(int nKind);
    void OpenQuery(LPCTSTR pszFormat, long nIdResp);
};
