// The leaf list (with its load count), the list of all blocks, and block disposal.
//
// Both lists are intrusive and doubly linked, and new records go to the head: the leaf-list order
// decides which block lands in which mesh group, the all-blocks order where a re-prioritisation
// pass resumes.
#include "roaminternal.h"

namespace {

// A block already on the list keeps its one record: a second would orphan the first.
bool listadd(linktyp** head, linktyp** field, blocktyp* b, roamreserve* r)
{
    if (*field)
        return false;
    linktyp* link = newlink(r);
    if (!link)
        return false;
    link->block = b;
    link->prev = nullptr;
    link->next = *head;
    if (*head)
        (*head)->prev = link;
    *head = link;
    *field = link;
    return true;
}

} // namespace

void linkunlink(linktyp** head, linktyp* link)
{
    if (link->prev)
        link->prev->next = link->next;
    if (link->next)
        link->next->prev = link->prev;
    if (*head == link)
        *head = link->next;
}

void leafaddfrom(roampl* e, blocktyp* b, roamreserve* r)
{
    if (!b || !b->alive)
        return;
    if (listadd(&e->leaves, &b->leaflink, b, r))
        e->leafload += roamleafload;
}

void alladdfrom(roampl* e, blocktyp* b, roamreserve* r)
{
    if (!b || !b->alive)
        return;
    listadd(&e->allblocks, &b->alllink, b, r);
}

void leafadd(roampl* e, blocktyp* b)
{
    leafaddfrom(e, b, nullptr);
}

void alladd(roampl* e, blocktyp* b)
{
    alladdfrom(e, b, nullptr);
}

void blockdispose(roampl* e, blocktyp** var)
{
    if (!var || !*var)
        return;
    blocktyp* b = *var;
    splitqremove(e, &b->splitentry);
    mergeqremove(e, &b->mergeentry);
    if (b->leaflink) {
        linkunlink(&e->leaves, b->leaflink);
        delete b->leaflink;
        b->leaflink = nullptr;
        e->leafload -= roamleafload;
    }
    if (b->alllink) {
        if (e->cursor == b->alllink)
            e->cursor = b->alllink->next;
        linkunlink(&e->allblocks, b->alllink);
        delete b->alllink;
        b->alllink = nullptr;
    }
    b->alive = 0;
    delete b;
    *var = nullptr;
}
