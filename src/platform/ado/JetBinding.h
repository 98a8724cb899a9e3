// Record binding: moves values between a record set's current row and the slots of a bound C++ record.
#pragma once

#include "platform/ado/JetObject.h"

#include <utility>
#include <vector>

class CJetRecordset;
class CJetErrorLog;

// Refuses a binding table with an entry of an unknown type or a text buffer without room.
void JetCheckBinding(CADORecordBinding* record, CJetErrorLog* log);
// Writes each entry's slots from the value of its column (by ordinal) in the current row.
void JetFillRecord(CADORecordBinding* record, CJetRecordset& recordset);
// The values of the entries that may be written (fModify), by column position from 0: a null one as VT_NULL
// unless skipNull; entries whose status is neither value nor null are left out.
std::vector<std::pair<long, _variant_t>> JetCollectRecord(CADORecordBinding* record, bool skipNull);

IADORecordBinding* JetMakeRecordBinding(CJetRecordset* recordset);
