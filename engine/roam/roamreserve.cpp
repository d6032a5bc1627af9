// Non-throwing allocation of engine records and the all-or-nothing reserve of compound operations.
#include "roaminternal.h"

#include <new>

bool reservetake(roamreserve* r, int nentries, int nlinks, int nblocks)
{
    *r = roamreserve {nullptr, nullptr, nullptr};
    for (int i = 0; i < nentries; ++i) {
        qentrytyp* q = new (std::nothrow) qentrytyp;
        if (!q) {
            reservefree(r);
            return false;
        }
        q->next = r->entries;
        r->entries = q;
    }
    for (int i = 0; i < nlinks; ++i) {
        linktyp* l = new (std::nothrow) linktyp;
        if (!l) {
            reservefree(r);
            return false;
        }
        l->next = r->links;
        r->links = l;
    }
    for (int i = 0; i < nblocks; ++i) {
        blocktyp* b = new (std::nothrow) blocktyp;
        if (!b) {
            reservefree(r);
            return false;
        }
        b->child[0] = r->blocks;
        r->blocks = b;
    }
    return true;
}

void reservefree(roamreserve* r)
{
    while (r->entries) {
        qentrytyp* q = r->entries;
        r->entries = q->next;
        delete q;
    }
    while (r->links) {
        linktyp* l = r->links;
        r->links = l->next;
        delete l;
    }
    while (r->blocks) {
        blocktyp* b = r->blocks;
        r->blocks = b->child[0];
        delete b;
    }
}

qentrytyp* newentry(roamreserve* r)
{
    if (r && r->entries) {
        qentrytyp* q = r->entries;
        r->entries = q->next;
        return q;
    }
    return new (std::nothrow) qentrytyp;
}

linktyp* newlink(roamreserve* r)
{
    if (r && r->links) {
        linktyp* l = r->links;
        r->links = l->next;
        return l;
    }
    return new (std::nothrow) linktyp;
}

blocktyp* newblock(roamreserve* r)
{
    if (r && r->blocks) {
        blocktyp* b = r->blocks;
        r->blocks = b->child[0];
        return b;
    }
    return new (std::nothrow) blocktyp;
}
