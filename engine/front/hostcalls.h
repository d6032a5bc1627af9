// The engine's private copy of the host service table, and the eight host services it calls.
//
// The engine reaches the host only through this copy. Every call goes through the typed slot it is
// documented for; a slot that the table left null answers as a host that returns zero would, so a
// broken table cannot crash the engine.
#pragma once

#include "HostServiceTable.h"

// Copies all 109 entries of table (null: every entry becomes null). Nothing keeps the table's address.
void hostcopy(const HostServiceTable* table);

// The entry copied for a slot (0..108); null outside that range. For checks only.
HostEntry hostentry(int slot);

// Radius of a body [m] (slot 1).
double hostgetsize(void* body);
// Time acceleration factor (slot 8).
double hosttimeacc();
// The focus vessel's longitude and latitude [rad] (slot 10); both 0 when the slot is null.
void hostfocusequpos(double* lng, double* lat);
// Handle of the focus vessel (slot 24).
void* hostfocusobject();
// Interface pointer of a vessel (slot 35).
void* hostvesselinterface(void* vessel);
// The three global unit axes in a vessel's local frame (slot 63); zero vectors when the slot is null.
void hostglobalaxes(void* vessel, HostVector* ex, HostVector* ey, HostVector* ez);
// The focus vessel's airspeed [m/s] (slot 104).
double hostfocusairspeed();
// The focus vessel's airspeed vector in its own frame [m/s] (slot 105).
HostVector hostfocusairspeedvec();
