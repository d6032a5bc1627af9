// The carrier's two placement records, the check of where the host put it, and the switch to the
// other record where the first one fails.
//
// The later cores' "extended" landed placement: R_global = R_planet * M(arot), with M built from the
// three angles as
//   | cy cz             cy sz             -sy   |
//   | sx sy cz - cx sz  sx sy sz + cx cz  sx cy |
//   | cx sy cz + sx sz  cx sy sz - sx cz  cx cy |
// and the origin at Size + vrot.x + terrain height along the local vertical. horizonArot solves
// M = the transpose of the planet-to-horizon matrix for the three angles.
#include "CarrierPlacement.h"

#include "CarrierControl.h"
#include "CarrierStand.h"
#include "EngineBinding.h"
#include "EquToGlobal.h"
#include "PluginState.h"
#include "VesselState.h"

#include <cmath>
#include <cstdio>

namespace {

const int firstLaterVersion = 160000; // the 2016-era cores and every one after them (YYMMDD)
const double placeTolerance = 50.0; // [m] of the origin from its place
const double tiltTolerance = 1e-5; // [rad] of +y from the vertical, of +z from north
// [m] A later core that misses the stand height by more than this stood the carrier on terrain: the
// record is sent again with the height learnt from the first placement.
const double terrainTolerance = 0.01;
const double degreesPerRadian = 57.29577951308232;
const int messageSize = 256;

const char misplacedFormat[] = "Haze carrier: simulator version %d did not place the carrier where the haze belongs "
                               "(it stood %.0f m from its place, tilted %.2g degrees). The haze stays off until the "
                               "simulator is restarted.";
const char switchFormat[] = "skyveil: the %s placement record put the carrier %.0f m from its place; the %s record "
                            "placed it right and is used from now on";

PlacementRecord current = PlacementRecord::Edition2006;

PlacementRecord otherRecord(PlacementRecord record)
{
    return record == PlacementRecord::Later ? PlacementRecord::Edition2006 : PlacementRecord::Later;
}

double angleBetween(const VECTOR3& a, const VECTOR3& b)
{
    return std::atan2(length(crossp(a, b)), dotp(a, b));
}

// The later record, from scratch: landed under the focus vessel, the local horizon's axes, the origin
// `height` over the ground there.
VESSELSTATUS2 laterRecord(const VESSEL* focus, double height)
{
    VESSELSTATUS2 status = blankStatus2();
    landUnderFocus(status, focus);
    status.arot = horizonArot(status.surf_lng, status.surf_lat);
    status.vrot.x = height;
    return status;
}

// Where the carrier stands against the place the record asked for.
PlacementCheck checkRecord(const VESSEL& carrier, const VESSELSTATUS2& record)
{
    return checkPlacement(carrier, record.rbody, record.surf_lng, record.surf_lat);
}

// The origin's height over the mean radius of the record's body. [m]
double originHeight(const VESSEL& carrier, const VESSELSTATUS2& record)
{
    VECTOR3 pos = _V(0, 0, 0);
    VECTOR3 bodyPos = _V(0, 0, 0);
    carrier.GetGlobalPos(pos);
    oapiGetGlobalPos(record.rbody, &bodyPos);
    return length(pos - bodyPos) - oapiGetSize(record.rbody);
}

// After a later record placed the carrier: where it missed the stand height, the difference is the
// terrain under it, and the record goes once more with the height over the ground that makes up for it.
PlacementCheck settleOnTerrain(const VESSEL* carrier, VESSELSTATUS2& record)
{
    const double miss = originHeight(*carrier, record) - carrierStandHeight;
    if (std::fabs(miss) > terrainTolerance) {
        record.vrot.x -= miss;
        carrier->DefSetStateEx(&record);
    }
    return checkRecord(*carrier, record);
}

// Where the host put the carrier with the record it was just sent; a later record is first sent again
// over the terrain.
PlacementCheck checkPlaced(PlacementRecord kind, const VESSEL* carrier, VESSELSTATUS2& record)
{
    return kind == PlacementRecord::Later ? settleOnTerrain(carrier, record) : checkRecord(*carrier, record);
}

// Places an existing carrier with one record. status is the 2006 record's base: the carrier's own
// record as read back this step, changed in place.
PlacementCheck placeWith(PlacementRecord kind, const VESSEL* carrier, VESSELSTATUS2& status, const VESSEL* focus)
{
    VESSELSTATUS2 later = blankStatus2();
    VESSELSTATUS2* record = &status;
    if (kind == PlacementRecord::Later) {
        later = laterRecord(focus, carrierStandHeight);
        record = &later;
    } else {
        landUnderFocus(status, focus);
    }
    carrier->DefSetStateEx(record);
    return checkPlaced(kind, carrier, *record);
}

// The current record placed the carrier wrong (`miss`): the other one is tried once. Returns whether
// the carrier now stands right; otherwise the message box has been shown and the add-on refused.
bool tryOtherRecord(const VESSEL* carrier, VESSELSTATUS2& status, const VESSEL* focus, const PlacementCheck& miss)
{
    const PlacementRecord other = otherRecord(current);
    const PlacementCheck second = placeWith(other, carrier, status, focus);
    if (second.right) {
        char line[messageSize];
        std::snprintf(
            line, sizeof line, switchFormat, placementRecordName(current), miss.distance, placementRecordName(other));
        oapiWriteLog(line);
        current = other;
        return true;
    }
    char message[messageSize];
    std::snprintf(message, sizeof message, misplacedFormat, oapiGetOrbiterVersion(), second.distance,
        second.tilt * degreesPerRadian);
    refuseAddon(message);
    return false;
}

} // namespace

const char* placementRecordName(PlacementRecord record)
{
    return record == PlacementRecord::Later ? "2016" : "2006";
}

PlacementRecord firstPlacementRecord(int hostVersion)
{
    return hostVersion >= firstLaterVersion ? PlacementRecord::Later : PlacementRecord::Edition2006;
}

PlacementRecord currentPlacementRecord()
{
    return current;
}

void choosePlacementRecord(PlacementRecord record)
{
    current = record;
}

VECTOR3 horizonArot(double lng, double lat)
{
    const double sinLng = std::sin(lng), cosLng = std::cos(lng);
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    const double y = std::asin(std::fmax(-1.0, std::fmin(1.0, cosLng * sinLat)));
    return _V(std::atan2(cosLat, -sinLat * sinLng), y, std::atan2(cosLng * cosLat, -sinLng));
}

PlacementCheck checkPlacement(const VESSEL& carrier, OBJHANDLE body, double lng, double lat)
{
    VECTOR3 pos = _V(0, 0, 0);
    VECTOR3 bodyPos = _V(0, 0, 0);
    MATRIX3 rot = _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
    carrier.GetGlobalPos(pos);
    carrier.GetRotationMatrix(rot);
    oapiGetGlobalPos(body, &bodyPos);

    PlacementCheck check;
    const VECTOR3 place = bodyPos + equToGlobal(body, lat, lng, oapiGetSize(body) + carrierStandHeight);
    check.distance = length(pos - place);

    // The local vertical and north where the carrier stands; at a pole any heading counts as north.
    const VECTOR3 up = unit(pos - bodyPos);
    const VECTOR3 axis = equToGlobal(body, rightAngle, 0.0, 1.0);
    const VECTOR3 north = axis - up * dotp(axis, up);
    const VECTOR3 carrierY = _V(rot.m12, rot.m22, rot.m32);
    const VECTOR3 carrierZ = _V(rot.m13, rot.m23, rot.m33);
    check.tilt = angleBetween(carrierY, up);
    if (length(north) > 1e-9)
        check.tilt = std::fmax(check.tilt, angleBetween(carrierZ, north));
    check.right = check.distance <= placeTolerance && check.tilt <= tiltTolerance;
    return check;
}

OBJHANDLE createPlacedCarrier(const VESSEL* focus)
{
    if (addonRefused)
        return nullptr;
    // The 2006 creation record is the zeroed one, landed under the focus vessel.
    VESSELSTATUS2 record = blankStatus2();
    if (current == PlacementRecord::Later)
        record = laterRecord(focus, carrierStandHeight);
    else
        landUnderFocus(record, focus);
    const OBJHANDLE handle = oapiCreateVesselEx(carrierVesselName, carrierClassName, &record);
    const VESSEL* carrier = handle ? oapiGetVesselInterface(handle) : nullptr;
    if (!carrier)
        return handle;
    const PlacementCheck first = checkPlaced(current, carrier, record);
    if (first.right)
        return handle;
    VESSELSTATUS2 status = readStatus2(carrier);
    if (tryOtherRecord(carrier, status, focus, first))
        return handle;
    oapiDeleteVessel(handle, nullptr);
    return nullptr;
}

bool carrierStandsRight(const VESSEL& carrier)
{
    const OBJHANDLE body = carrier.GetSurfaceRef();
    double lng = 0, lat = 0, radius = 0;
    oapiGetEquPos(carrier.GetHandle(), &lng, &lat, &radius);
    return checkPlacement(carrier, body, lng, lat).right;
}

bool reanchorCarrier(const VESSEL* carrier, VESSELSTATUS2& status, const VESSEL* focus)
{
    if (addonRefused)
        return false;
    const PlacementCheck first = placeWith(current, carrier, status, focus);
    return first.right || tryOtherRecord(carrier, status, focus, first);
}
