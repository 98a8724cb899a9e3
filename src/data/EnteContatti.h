// The authority's contact data from table "DatiEnte", for the messages to the maker.
#pragma once

#include "data/ADOConnection.h"
#include "util/MailLink.h"

// Rows "ENTE", "PROV", "TEL", "FAX", "MAIL", column "value"; a missing row or an empty value keeps the dotted
// placeholder. Database errors travel as _com_error.
CEnteContatti ReadEnteContatti(CADOConnection& connection);
