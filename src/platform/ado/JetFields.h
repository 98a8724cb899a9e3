// The Fields and Properties collections of a record set.
#pragma once

#include "platform/ado/JetObject.h"

class CJetRecordset;

// The Fields collection and the Field of a column (from 0) live inside the record set that makes them: their
// references count on the record set, so that field access in a loop allocates nothing.
CJetUnknown<Fields>* JetNewFields(CJetRecordset* recordset);
CJetUnknown<Field>* JetNewField(CJetRecordset* recordset, long column);
PropertiesPtr JetMakeProperties(CJetRecordset* recordset);
