// Resource ids of the forms tests.
#pragma once

#define IDP_TEST_FIELD_INVALID  30300   // clear of the framework's string ids
