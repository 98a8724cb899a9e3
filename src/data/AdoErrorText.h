// Texts of database errors, as the operation the user started shows them. They run inside catch handlers: they
// never raise.
#pragma once

#include "data/ADOConnection.h"

// The description of one ADO error entry; empty when it has none.
CString GetAdoErrorDescription(ErrorPtr pError);

// The error's own description, then each entry of the connection's Errors collection on its own line; when
// neither says anything, "[Errore %X -- (%d)]" with the HRESULT and its low 16 bits. The connection may be null.
CString GetComErrorText(const _com_error& e, const CADOConnection* pConnection);

// Raises a database error of the program's own, carrying its text as its description (so that GetComErrorText
// shows it).
[[noreturn]] void ThrowComError(HRESULT hr, const CString& description);
