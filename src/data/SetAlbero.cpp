#include "SetAlbero.h"

ADO_BINDING_ENTRY* CRecAlbero::GetADOBindingEntries()
{
    static ADO_BINDING_ENTRY entries[] = {
        Bind(1, m_idNodo, FALSE),
        Bind(2, m_idFiglio, TRUE),
        Bind(3, m_idFratello, TRUE),
        Bind(4, m_nImmagine, TRUE),
        Bind(5, m_codSezione, TRUE),
        Bind(6, m_descrizione, TRUE),
        Bind(7, m_nomeFile, TRUE),
        Bind(8, m_flag, TRUE),
        EndOfBindings(),
    };
    return entries;
}
