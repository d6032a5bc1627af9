#include "roamtestkit.h"

#include "timers.h"

#include <set>
#include <sstream>
#include <vector>

namespace {

std::int64_t clocknow;
std::int64_t clockstep;

std::int64_t fakecounter()
{
    clocknow += clockstep;
    return clocknow;
}

void collect(const blocktyp* b, std::vector<const blocktyp*>* out)
{
    out->push_back(b);
    if (b->child[0])
        for (const blocktyp* c : b->child)
            if (c)
                collect(c, out);
}

std::vector<const blocktyp*> reachable(const roampl* e)
{
    std::vector<const blocktyp*> all;
    for (const blocktyp* r : e->roots)
        if (r)
            collect(r, &all);
    return all;
}

bool sameVec(const vectyp& a, const vectyp& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

std::string checktrees(const roampl* e, const std::set<const blocktyp*>& blocks)
{
    std::ostringstream err;
    for (int f = 0; f < 6; ++f) {
        const blocktyp* r = e->roots[f];
        if (!r)
            continue;
        if (r->parent || r->level != 1 || r->face != f)
            err << "root " << f << " has parent, level or face wrong; ";
    }
    for (const blocktyp* b : blocks) {
        if (b->alive != 1)
            err << "block not alive; ";
        const int kids
            = (b->child[0] != nullptr) + (b->child[1] != nullptr) + (b->child[2] != nullptr) + (b->child[3] != nullptr);
        if (kids != 0 && kids != 4)
            err << "block with " << kids << " children; ";
        if (kids == 4) {
            for (const blocktyp* c : b->child)
                if (c->parent != b || c->face != b->face || c->level != b->level + 1 || !sameVec(c->updir, b->updir))
                    err << "child at level " << c->level << " disagrees with its parent; ";
            if (b->leaflink)
                err << "inner block at level " << b->level << " has a leaf record; ";
        } else if (!b->leaflink) {
            err << "leaf at level " << b->level << " has no leaf record; ";
        }
        if (b->mergeentry && b->level <= 3)
            err << "level " << b->level << " block in the merge queue; ";
    }
    return err.str();
}

// A list: consistent back links, each record its block's record, each block once and reachable.
std::string checklist(const linktyp* head, linktyp* blocktyp::*field, const std::set<const blocktyp*>& blocks,
    std::set<const blocktyp*>* seen, const char* name)
{
    std::ostringstream err;
    const linktyp* prev = nullptr;
    for (const linktyp* l = head; l; prev = l, l = l->next) {
        if (l->prev != prev)
            err << name << ": broken prev link; ";
        if (!blocks.count(l->block))
            return err.str() + name + ": record of a block not in the trees; ";
        if (l->block->*field != l)
            err << name << ": record is not its block's; ";
        if (!seen->insert(l->block).second)
            err << name << ": block listed twice; ";
        if (seen->size() > blocks.size())
            return err.str() + name + ": list longer than the trees; ";
    }
    return err.str();
}

// A queue: entries in the bucket they name, back links, owner's entry; candidate as a scan leaves it.
std::string checkqueue(const roampl* e, bool merge, const std::set<const blocktyp*>& blocks)
{
    std::ostringstream err;
    const char* name = merge ? "merge queue" : "split queue";
    qentrytyp* const* heads = merge ? e->mergeq : e->splitq;
    const std::uint64_t* occ = merge ? e->mergeocc : e->splitocc;
    const std::uint64_t sum = merge ? e->mergeoccsum : e->splitoccsum;
    qentrytyp* blocktyp::*field = merge ? &blocktyp::mergeentry : &blocktyp::splitentry;
    std::size_t entries = 0;
    int lowest = -1;
    int highest = -1;
    for (int i = 0; i < roambuckets; ++i) {
        const bool filled = heads[i] != nullptr;
        if (((occ[i / 64] >> (i % 64)) & 1u) != filled)
            err << name << ": occupancy bit of bucket " << i << " wrong; ";
        if (filled) {
            if (lowest < 0)
                lowest = i;
            highest = i;
        }
        const qentrytyp* prev = nullptr;
        for (const qentrytyp* q = heads[i]; q; prev = q, q = q->next) {
            if (q->prev != prev)
                err << name << ": broken prev link in bucket " << i << "; ";
            if (q->bucket != i)
                err << name << ": entry naming bucket " << q->bucket << " sits in " << i << "; ";
            if (!blocks.count(q->block))
                return err.str() + name + ": entry of a block not in the trees; ";
            if (q->block->*field != q)
                err << name << ": entry is not its block's; ";
            if (++entries > blocks.size())
                return err.str() + name + ": more entries than blocks; ";
        }
    }
    for (int w = 0; w < roamoccwords; ++w)
        if (((sum >> w) & 1u) != (occ[w] != 0))
            err << name << ": summary bit " << w << " wrong; ";
    std::size_t owners = 0;
    for (const blocktyp* b : blocks)
        owners += (b->*field) != nullptr;
    if (owners != entries)
        err << name << ": " << owners << " blocks own entries but " << entries << " are queued; ";
    if (!merge) {
        const qentrytyp* want = highest < 0 ? nullptr : heads[highest];
        if (e->splittop != want)
            err << "splittop is not the head of the highest bucket; ";
    } else if (lowest < 0) {
        if (e->mergebottom)
            err << "mergebottom set on an empty queue; ";
    } else {
        // A put leaves the bucket's last entry, a remove its head; either may have run last.
        const qentrytyp* tail = heads[lowest];
        while (tail->next)
            tail = tail->next;
        if (e->mergebottom != heads[lowest] && e->mergebottom != tail)
            err << "mergebottom is neither head nor tail of the lowest bucket; ";
    }
    return err.str();
}

std::string checkrecords(const roampl* e, const std::set<const blocktyp*>& blocks, bool trees);

} // namespace

void fakeclock(std::int64_t ticksperread)
{
    clocknow = 0;
    clockstep = ticksperread;
    timersetsource(fakecounter, 1000000);
}

void realclock()
{
    timersetsource(nullptr, 0);
}

std::string roamcheck(const roampl* e)
{
    const std::vector<const blocktyp*> list = reachable(e);
    const std::set<const blocktyp*> blocks(list.begin(), list.end());
    if (blocks.size() != list.size())
        return "a block is reachable twice from the roots";
    return checktrees(e, blocks) + checkrecords(e, blocks, true);
}

std::string roamcheckloose(const roampl* e)
{
    std::set<const blocktyp*> blocks;
    for (const linktyp* l = e->allblocks; l; l = l->next)
        if (!blocks.insert(l->block).second)
            return "all-blocks list names a block twice";
    return checkrecords(e, blocks, false);
}

namespace {

std::string checkrecords(const roampl* e, const std::set<const blocktyp*>& blocks, bool trees)
{
    std::string err;
    std::set<const blocktyp*> onall;
    err += checklist(e->allblocks, &blocktyp::alllink, blocks, &onall, "all-blocks list");
    if (onall.size() != blocks.size())
        err += "all-blocks list misses blocks of the trees; ";
    std::set<const blocktyp*> onleaves;
    err += checklist(e->leaves, &blocktyp::leaflink, blocks, &onleaves, "leaf list");
    // Outside trees the leaves are whichever blocks were listed.
    int leaves = static_cast<int>(onleaves.size());
    if (trees) {
        leaves = 0;
        for (const blocktyp* b : blocks)
            leaves += b->child[0] == nullptr;
    }
    if (static_cast<int>(onleaves.size()) != leaves)
        err += "leaf list does not hold exactly the childless blocks; ";
    if (e->leafload != roamleafload * leaves)
        err += "leafload " + std::to_string(e->leafload) + " for " + std::to_string(leaves) + " leaves; ";

    bool cursorfound = e->cursor == nullptr;
    for (const linktyp* l = e->allblocks; l && !cursorfound; l = l->next)
        cursorfound = l == e->cursor;
    if (!cursorfound)
        err += "cursor is not a record of the all-blocks list; ";

    err += checkqueue(e, false, blocks);
    err += checkqueue(e, true, blocks);
    return err;
}

} // namespace

int roamblockcount(const roampl* e)
{
    return static_cast<int>(reachable(e).size());
}

int roamleafcount(const roampl* e)
{
    int n = 0;
    for (const blocktyp* b : reachable(e))
        n += b->child[0] == nullptr;
    return n;
}

int listlength(const linktyp* head)
{
    int n = 0;
    for (; head; head = head->next)
        ++n;
    return n;
}
