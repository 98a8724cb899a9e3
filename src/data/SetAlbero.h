// Table Albero of the program database: the nodes of the navigation tree.
#pragma once

#include "data/TableRecordset.h"

class CRecAlbero : public CADORecord
{
public:
    ADO_BINDING_ENTRY* GetADOBindingEntries() override;

    CADOType<long> m_idNodo;
    CADOType<long> m_idFiglio;      // first child, null: none
    CADOType<long> m_idFratello;    // next sibling, null: none
    CADOType<long> m_nImmagine;
    CADOString<20> m_codSezione;
    CADOString<128> m_descrizione;
    CADOString<50> m_nomeFile;
    CADOString<1> m_flag;
};

class CSetAlbero : public CTableRecordset<CRecAlbero>
{
public:
    // On the program-database connection.
    explicit CSetAlbero(CADOConnection& connection) : CTableRecordset(connection, L"Albero", L"idNodo") {}
};
