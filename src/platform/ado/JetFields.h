// The Fields and Properties collections of a record set.
#pragma once

#include "platform/ado/JetObject.h"

class CJetRecordset;

FieldsPtr JetMakeFields(CJetRecordset* recordset);
PropertiesPtr JetMakeProperties(CJetRecordset* recordset);
