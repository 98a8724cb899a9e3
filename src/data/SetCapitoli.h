// Tables CapEntrate and CapSpese of the data archive: the budget chapters of revenue and of expenditure.
#pragma once

#include "data/TableRecordset.h"
#include "platform/mfc/afxtempl.h"

class CRecCapitolo : public CADORecord
{
public:
    ADO_BINDING_ENTRY* GetADOBindingEntries() override;

    CADOType<long> m_ID;            // the chapter number
    CADOString<100> m_descrizione;
    CADOString<7> m_codUEB;
};

typedef CMap<long, long, CRecCapitolo, const CRecCapitolo&> CCapitoliMap;

class CSetCapitoli : public CTableRecordset<CRecCapitolo>
{
public:
    enum Kind { kindEntrate = 0, kindSpese = 1 };

    // On the data-archive connection.
    CSetCapitoli(CADOConnection& connection, int nKind);

    void OpenOrderedById();
    // Every chapter of the kind by its number (0 for a null number; a later row replaces an earlier one).
    static void LoadCapitoliMap(CADOConnection& connection, int nKind, CCapitoliMap& map);
};
