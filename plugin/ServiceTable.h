// The host service table in the plug-in's static storage.
#pragma once

#include "HostServiceTable.h"

// Writes every non-reserved slot (host functions as they are, plug-in adapters), leaves the reserved
// slots null and returns the table's address. The table lives as long as the library; the engine
// copies it inside initint.
const HostServiceTable* fillServiceTable();

// The table as it stands (all null before fillServiceTable).
const HostServiceTable* serviceTable();
