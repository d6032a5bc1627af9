// Engine-internal helpers shared by the ROAM source files; not part of the engine's interface.
#pragma once

#include "roam.h"

// Records set aside before a compound operation (a split, a merge, a start) changes anything, so
// that on an exhausted heap the operation does nothing instead of leaving half-linked trees.
// The spare records are chained through their own next / child[0] fields.
struct roamreserve {
    qentrytyp* entries;
    linktyp* links;
    blocktyp* blocks;
};

// Fills an empty reserve with the given numbers of records. All or nothing: on failure the reserve
// is left empty and the result is false.
bool reservetake(roamreserve* r, int nentries, int nlinks, int nblocks);

// Frees whatever the reserve still holds.
void reservefree(roamreserve* r);

// A fresh record from the reserve (null reserve or used up: from the heap). Null on failure;
// the contents are unset.
qentrytyp* newentry(roamreserve* r);
linktyp* newlink(roamreserve* r);
blocktyp* newblock(roamreserve* r);

// The queue, list and block procedures of roam.h, drawing new records from a reserve.
void splitqputfrom(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued, roamreserve* r);
void mergeqputfrom(roampl* e, blocktyp* b, std::int32_t bucket, bool onlyifqueued, roamreserve* r);
void leafaddfrom(roampl* e, blocktyp* b, roamreserve* r);
void alladdfrom(roampl* e, blocktyp* b, roamreserve* r);
void blockmakefrom(roampl* e, blocktyp* parent, blocktyp** slot, std::int32_t level, std::int32_t face, vectyp updir,
    vectyp cubecentre, roamreserve* r);

// The outward axis of the cube face a block's cube centre c lies on: the component of c lying
// exactly on the cube's face (radius), as a unit axis.
vectyp faceaxis(const roampl* e, const vectyp& c);

// Takes a list record out of the list whose head is *head.
void linkunlink(linktyp** head, linktyp* link);

// Empties both queues' bucket heads, candidates and occupancy bitmaps (records are not freed).
void queuesclear(roampl* e);
