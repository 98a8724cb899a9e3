// Table Responsabili of the data archive: the responsible centres (the row with ID 0 stands for the totals).
#pragma once

#include "data/TableRecordset.h"

class CRecResponsabile : public CADORecord
{
public:
    enum Tipo { tipoArea = 0, tipoSettore = 1, tipoServizi = 2 };

    ADO_BINDING_ENTRY* GetADOBindingEntries() override;

    // "Area", "Settore", "Servizi"; empty for a null or unknown type.
    CString GetTipologiaText() const;
    // The head of the centre: "Capoarea", "Caposettore", "Caposervizi"; empty for a null or unknown type.
    CString GetCaricaText() const;

    CADOType<long> m_ID;            // numbered by the database
    CADOString<50> m_responsabile;
    CADOString<250> m_centroServ;
    CADOType<long> m_tipoResp;

private:
    CString TypeText(UINT nFirstID) const;
};

class CSetResponsabili : public CTableRecordset<CRecResponsabile>
{
public:
    // On the data-archive connection.
    explicit CSetResponsabili(CADOConnection& connection)
        : CTableRecordset(connection, L"Responsabili", L"ID") {}

    // The centres without the totals row, by centre or by responsible.
    void OpenByCentroServ();
    void OpenByResponsabile();

private:
    void OpenOrderedBy(LPCTSTR pszColumn);
};
