// Stand-in of the host SDK's OrbiterAPI.h: the types, constants and oapi functions that skyveil and its
// stand-in host use, declared with the names, parameter types, constness, default arguments and record
// layouts of the real SDK. Declarations only; the headless stand-in simulator implements them.
#pragma once

#include <windows.h>

#include <float.h>
#include <fstream>
#include <math.h>
#include <vector>

// ---------------------------------------------------------------------------------------------------
// Export macros
// ---------------------------------------------------------------------------------------------------
#ifdef _WIN32
#define DLLEXPORT __declspec(dllexport)
#define DLLIMPORT __declspec(dllimport)
#else
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))
#endif
#define DLLCLBK extern "C" DLLEXPORT

#ifdef OAPI_IMPLEMENTATION
#define OAPIFUNC DLLEXPORT
#else
#define OAPIFUNC DLLIMPORT
#endif

#ifdef _WIN64
#define OAPI_MSGTYPE LRESULT
#else
#define OAPI_MSGTYPE int
#endif

// ---------------------------------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------------------------------
const double PI = 3.14159265358979323846; // pi
const double PI05 = 1.57079632679489661923; // pi/2
const double PI2 = 6.28318530717958647693; // 2 pi
const double RAD = PI / 180.0; // degrees -> radians
const double DEG = 180.0 / PI; // radians -> degrees
const double C0 = 299792458.0; // speed of light [m/s]
const double TAUA = 499.004783806; // light time for 1 AU [s]
const double AU = C0 * TAUA; // astronomical unit [m]
const double GGRAV = 6.67259e-11; // gravitational constant [m^3 kg^-1 s^-2]
const double G = 9.81; // gravitational acceleration at Earth's surface [m/s^2]
const double ATMP = 101.4e3; // atmospheric pressure at sea level [Pa]
const double ATMD = 1.293; // atmospheric density at sea level [kg/m^3]

// Angle in the range -pi..pi.
inline double normangle(double angle)
{
    double a = fmod(angle, PI2);
    return (a >= PI ? a - PI2 : a < -PI ? a + PI2 : a);
}

// Angle in the range 0..2pi.
inline double posangle(double angle)
{
    double a = fmod(angle, PI2);
    return (a >= 0.0 ? a : a + PI2);
}

// ---------------------------------------------------------------------------------------------------
// Handles
// ---------------------------------------------------------------------------------------------------
typedef void* OBJHANDLE;
typedef void* VISHANDLE;
typedef void* MESHHANDLE;
typedef int* DEVMESHHANDLE;
typedef void* SURFHANDLE;
typedef void* PANELHANDLE;
typedef void* FILEHANDLE;
typedef void* NOTEHANDLE;
typedef void* THRUSTER_HANDLE;
typedef void* THGROUP_HANDLE;
typedef void* PROPELLANT_HANDLE;
typedef void* DOCKHANDLE;
typedef void* ATTACHMENTHANDLE;
typedef void* AIRFOILHANDLE;
typedef void* CTRLSURFHANDLE;
typedef void* NAVHANDLE;

// ---------------------------------------------------------------------------------------------------
// Vectors, matrices, colours, vertices, materials
// ---------------------------------------------------------------------------------------------------
typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union {
    double data[4];
    struct {
        double x, y, z, w;
    };
} VECTOR4;

typedef union {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

typedef union {
    double data[16];
    struct {
        double m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44;
    };
} MATRIX4;

typedef struct {
    float r;
    float g;
    float b;
    float a;
} COLOUR4;

typedef struct {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
} NTVERTEX;

typedef struct {
    NTVERTEX* Vtx;
    WORD* Idx;
    DWORD nVtx;
    DWORD nIdx;
    DWORD MtrlIdx;
    DWORD TexIdx;
    DWORD UsrFlag;
    WORD zBias;
    WORD Flags;
} MESHGROUP;

typedef struct {
    DWORD flags;
    DWORD UsrFlag;
    NTVERTEX* Vtx;
    DWORD nVtx;
    WORD* vIdx;
} GROUPEDITSPEC;

typedef struct {
    COLOUR4 diffuse;
    COLOUR4 ambient;
    COLOUR4 specular;
    COLOUR4 emissive;
    float power;
} MATERIAL;

// ---------------------------------------------------------------------------------------------------
// Vessel state records
// ---------------------------------------------------------------------------------------------------
typedef struct {
    VECTOR3 rpos;
    VECTOR3 rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double fuel;
    double eng_main;
    double eng_hovr;
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;
    VECTOR3 vdata[10];
    double fdata[10];
    DWORD flag[10];
} VESSELSTATUS;

typedef struct {
    DWORD version;
    DWORD flag;
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;
    VECTOR3 rpos;
    VECTOR3 rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double surf_lng;
    double surf_lat;
    double surf_hdg;
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } * fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } * thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } * dockinfo;
    DWORD xpdr;
} VESSELSTATUS2;

#define VS_FUELRESET 0x00000001
#define VS_FUELLIST 0x00000002
#define VS_THRUSTRESET 0x00000004
#define VS_THRUSTLIST 0x00000008
#define VS_DOCKINFOLIST 0x00000010

// ---------------------------------------------------------------------------------------------------
// Atmosphere
// ---------------------------------------------------------------------------------------------------
typedef struct {
    double p0; // pressure at mean radius [Pa]
    double rho0; // density at mean radius [kg/m^3]
    double R; // specific gas constant [J/(K kg)]
    double gamma; // ratio of specific heats
    double C; // exponent for pressure equation
    double O2pp; // partial pressure of oxygen
    double altlimit; // atmosphere altitude limit [m]
    double radlimit; // radius limit (altlimit + mean radius) [m]
    double horizonalt; // horizon rendering altitude [m]
    VECTOR3 color0; // sky colour at sea level during daytime
} ATMCONST;

typedef struct {
    double T; // temperature [K]
    double p; // pressure [Pa]
    double rho; // density [kg/m^3]
} ATMPARAM;

// ---------------------------------------------------------------------------------------------------
// Enumerations and constants
// ---------------------------------------------------------------------------------------------------
enum THGROUP_TYPE {
    THGROUP_MAIN,
    THGROUP_RETRO,
    THGROUP_HOVER,
    THGROUP_ATT_PITCHUP,
    THGROUP_ATT_PITCHDOWN,
    THGROUP_ATT_YAWLEFT,
    THGROUP_ATT_YAWRIGHT,
    THGROUP_ATT_BANKLEFT,
    THGROUP_ATT_BANKRIGHT,
    THGROUP_ATT_RIGHT,
    THGROUP_ATT_LEFT,
    THGROUP_ATT_UP,
    THGROUP_ATT_DOWN,
    THGROUP_ATT_FORWARD,
    THGROUP_ATT_BACK,
    THGROUP_USER = 0x40
};

typedef enum {
    AIRCTRL_ELEVATOR,
    AIRCTRL_RUDDER,
    AIRCTRL_AILERON,
    AIRCTRL_FLAP,
    AIRCTRL_ELEVATORTRIM,
    AIRCTRL_RUDDERTRIM
} AIRCTRL_TYPE;

typedef enum { FRAME_GLOBAL, FRAME_LOCAL, FRAME_REFLOCAL, FRAME_HORIZON } REFFRAME;

enum AltitudeMode { ALTMODE_MEANRAD, ALTMODE_GROUND };

#define OBJTP_INVALID 0
#define OBJTP_GENERIC 1
#define OBJTP_CBODY 2
#define OBJTP_STAR 3
#define OBJTP_PLANET 4
#define OBJTP_VESSEL 10
#define OBJTP_SURFBASE 20

#define COCKPIT_GENERIC 1
#define COCKPIT_PANELS 2
#define COCKPIT_VIRTUAL 3

#define CAM_COCKPIT 0
#define CAM_TARGETRELATIVE 1
#define CAM_ABSDIRECTION 2
#define CAM_GLOBALFRAME 3
#define CAM_TARGETTOOBJECT 4
#define CAM_TARGETFROMOBJECT 5
#define CAM_GROUNDOBSERVER 6

#define EVENT_VESSEL_INSMESH 0
#define EVENT_VESSEL_DELMESH 1
#define EVENT_VESSEL_MESHVISMODE 2
#define EVENT_VESSEL_RESETANIM 3
#define EVENT_VESSEL_CLEARANIM 4
#define EVENT_VESSEL_DELANIM 5
#define EVENT_VESSEL_NEWANIM 6
#define EVENT_VESSEL_MESHOFS 7
#define EVENT_VESSEL_MODMESHGROUP 8

#define MESHVIS_NEVER 0x00
#define MESHVIS_EXTERNAL 0x01
#define MESHVIS_COCKPIT 0x02
#define MESHVIS_ALWAYS (MESHVIS_EXTERNAL | MESHVIS_COCKPIT)
#define MESHVIS_VC 0x04
#define MESHVIS_EXTPASS 0x10

#define MESHPROPERTY_MODULATEMATALPHA 1

typedef void (*LoadMeshClbkFunc)(MESHHANDLE hMesh, bool firstload);

class VESSEL;
typedef struct HUDPAINTSPEC HUDPAINTSPEC;

// ---------------------------------------------------------------------------------------------------
// Version, debug line, log
// ---------------------------------------------------------------------------------------------------
OAPIFUNC int oapiGetOrbiterVersion();
int oapiGetModuleVersion();
OAPIFUNC char* oapiDebugString();
OAPIFUNC void oapiWriteLog(char* line);

// ---------------------------------------------------------------------------------------------------
// Objects, bodies and vessels
// ---------------------------------------------------------------------------------------------------
OAPIFUNC OBJHANDLE oapiGetObjectByName(char* name);
OAPIFUNC OBJHANDLE oapiGetObjectByIndex(int index);
OAPIFUNC DWORD oapiGetObjectCount();
OAPIFUNC int oapiGetObjectType(OBJHANDLE hObj);
OAPIFUNC OBJHANDLE oapiGetVesselByName(char* name);
OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index);
OAPIFUNC DWORD oapiGetVesselCount();
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetGbodyByName(char* name);
OAPIFUNC OBJHANDLE oapiGetGbodyByIndex(int index);
OAPIFUNC DWORD oapiGetGbodyCount();
OAPIFUNC OBJHANDLE oapiGetBaseByIndex(OBJHANDLE hPlanet, int index);
OAPIFUNC DWORD oapiGetBaseCount(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char* name, int n);
OAPIFUNC OBJHANDLE oapiGetFocusObject();
OAPIFUNC OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel);
OAPIFUNC VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC VESSEL* oapiGetFocusInterface();
OAPIFUNC OBJHANDLE oapiCreateVessel(const char* name, const char* classname, const VESSELSTATUS& status);
OAPIFUNC OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status);
OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget = 0);

OAPIFUNC double oapiGetSize(OBJHANDLE hObj);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC double oapiGetEmptyMass(OBJHANDLE hVessel);
OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3* pos);
OAPIFUNC void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3* vel);
OAPIFUNC void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3* mat);
OAPIFUNC void oapiGlobalToLocal(OBJHANDLE hObj, const VECTOR3* glob, VECTOR3* loc);
OAPIFUNC void oapiLocalToGlobal(OBJHANDLE hObj, const VECTOR3* loc, VECTOR3* glob);
OAPIFUNC void oapiEquToLocal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3* loc);
OAPIFUNC void oapiLocalToEqu(OBJHANDLE hObj, const VECTOR3& loc, double* lng, double* lat, double* rad);
OAPIFUNC void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3* glob);
OAPIFUNC void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3& glob, double* lng, double* lat, double* rad);

OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, double* alt);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode mode, double* alt);
OAPIFUNC BOOL oapiGetHeading(OBJHANDLE hVessel, double* heading);
OAPIFUNC BOOL oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius);
OAPIFUNC BOOL oapiGetFocusAltitude(double* alt);
OAPIFUNC BOOL oapiGetFocusHeading(double* heading);
OAPIFUNC BOOL oapiGetFocusEquPos(double* longitude, double* latitude, double* radius);

OAPIFUNC BOOL oapiGetShipAirspeedVector(OBJHANDLE hVessel, VECTOR3* speedvec);
OAPIFUNC BOOL oapiGetFocusAirspeed(double* airspeed);
OAPIFUNC BOOL oapiGetFocusShipAirspeedVector(VECTOR3* speedvec);

// ---------------------------------------------------------------------------------------------------
// Planets
// ---------------------------------------------------------------------------------------------------
OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet);
OAPIFUNC double oapiGetPlanetObliquity(OBJHANDLE hPlanet);
OAPIFUNC double oapiGetPlanetTheta(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3* mat);
OAPIFUNC double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet);
OAPIFUNC bool oapiPlanetHasAtmosphere(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM* prm);
OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double alt, double lng, double lat, ATMPARAM* prm);
OAPIFUNC const ATMCONST* oapiGetPlanetAtmConstants(OBJHANDLE hPlanet);

// ---------------------------------------------------------------------------------------------------
// Camera
// ---------------------------------------------------------------------------------------------------
OAPIFUNC bool oapiCameraInternal();
OAPIFUNC int oapiCameraMode();
OAPIFUNC int oapiCockpitMode();
OAPIFUNC OBJHANDLE oapiCameraTarget();
OAPIFUNC void oapiCameraGlobalPos(VECTOR3* gpos);
OAPIFUNC void oapiCameraGlobalDir(VECTOR3* gdir);
OAPIFUNC void oapiCameraRotationMatrix(MATRIX3* rmat);
OAPIFUNC double oapiCameraAperture();

// ---------------------------------------------------------------------------------------------------
// Time
// ---------------------------------------------------------------------------------------------------
OAPIFUNC double oapiGetSimTime();
OAPIFUNC double oapiGetSimStep();
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC double oapiGetTimeAcceleration();
OAPIFUNC void oapiSetTimeAcceleration(double warp);

// ---------------------------------------------------------------------------------------------------
// Meshes
// ---------------------------------------------------------------------------------------------------
OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname);
OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname, LoadMeshClbkFunc fClbk);
OAPIFUNC void oapiDeleteMesh(MESHHANDLE hMesh);
OAPIFUNC DWORD oapiMeshGroupCount(MESHHANDLE hMesh);
OAPIFUNC MESHGROUP* oapiMeshGroup(MESHHANDLE hMesh, DWORD idx);
OAPIFUNC MESHGROUP* oapiMeshGroup(DEVMESHHANDLE hMesh, DWORD idx);
OAPIFUNC DWORD oapiMeshMaterialCount(MESHHANDLE hMesh);
OAPIFUNC MATERIAL* oapiMeshMaterial(MESHHANDLE hMesh, DWORD idx);
OAPIFUNC int oapiMeshMaterial(DEVMESHHANDLE hMesh, DWORD idx, MATERIAL* mat);
OAPIFUNC bool oapiSetMeshProperty(MESHHANDLE hMesh, DWORD property, DWORD value);
OAPIFUNC bool oapiSetMeshProperty(DEVMESHHANDLE hMesh, DWORD property, DWORD value);
OAPIFUNC SURFHANDLE oapiGetTextureHandle(MESHHANDLE hMesh, DWORD texidx);

// ---------------------------------------------------------------------------------------------------
// Surfaces and annotations
// ---------------------------------------------------------------------------------------------------
OAPIFUNC HDC oapiGetDC(SURFHANDLE surf);
OAPIFUNC void oapiReleaseDC(SURFHANDLE surf, HDC hDC);
OAPIFUNC NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& col);
OAPIFUNC bool oapiDelAnnotation(NOTEHANDLE hNote);
OAPIFUNC void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2);
OAPIFUNC void oapiAnnotationSetText(NOTEHANDLE hNote, char* note);

// ---------------------------------------------------------------------------------------------------
// Scenario files
// ---------------------------------------------------------------------------------------------------
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string);
OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i);
OAPIFUNC void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d);
OAPIFUNC void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& vec);
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line);

// ---------------------------------------------------------------------------------------------------
// Configuration files (the class file handed to clbkSetClassCaps)
// ---------------------------------------------------------------------------------------------------
OAPIFUNC bool oapiReadItem_string(FILEHANDLE f, char* item, char* string);
OAPIFUNC bool oapiReadItem_float(FILEHANDLE f, char* item, double& d);
OAPIFUNC bool oapiReadItem_int(FILEHANDLE f, char* item, int& i);
OAPIFUNC bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b);
OAPIFUNC bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vec);

// ---------------------------------------------------------------------------------------------------
// Vector and matrix helpers
// ---------------------------------------------------------------------------------------------------
inline VECTOR3 _V(double x, double y, double z)
{
    VECTOR3 vec = {{x, y, z}};
    return vec;
}

inline void veccpy(VECTOR3& a, const VECTOR3& b)
{
    a.x = b.x;
    a.y = b.y;
    a.z = b.z;
}

inline VECTOR3 operator+(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline VECTOR3 operator-(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline VECTOR3 operator*(const VECTOR3& a, const double f)
{
    return _V(a.x * f, a.y * f, a.z * f);
}
inline VECTOR3 operator/(const VECTOR3& a, const double f)
{
    return _V(a.x / f, a.y / f, a.z / f);
}
inline VECTOR3 operator-(const VECTOR3& a)
{
    return _V(-a.x, -a.y, -a.z);
}

inline VECTOR3& operator+=(VECTOR3& a, const VECTOR3& b)
{
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
    return a;
}

inline VECTOR3& operator-=(VECTOR3& a, const VECTOR3& b)
{
    a.x -= b.x;
    a.y -= b.y;
    a.z -= b.z;
    return a;
}

inline VECTOR3& operator*=(VECTOR3& a, const double f)
{
    a.x *= f;
    a.y *= f;
    a.z *= f;
    return a;
}

inline VECTOR3& operator/=(VECTOR3& a, const double f)
{
    a.x /= f;
    a.y /= f;
    a.z /= f;
    return a;
}

inline double dotp(const VECTOR3& a, const VECTOR3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline VECTOR3 crossp(const VECTOR3& a, const VECTOR3& b)
{
    return _V(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}

inline double length(const VECTOR3& a)
{
    return sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
inline double length2(const VECTOR3& a)
{
    return a.x * a.x + a.y * a.y + a.z * a.z;
}
inline double dist(const VECTOR3& a, const VECTOR3& b)
{
    return length(a - b);
}

inline void normalise(VECTOR3& a)
{
    a /= length(a);
}
inline VECTOR3 unit(const VECTOR3& a)
{
    return a / length(a);
}

inline MATRIX3 _M(
    double m11, double m12, double m13, double m21, double m22, double m23, double m31, double m32, double m33)
{
    MATRIX3 mat = {{m11, m12, m13, m21, m22, m23, m31, m32, m33}};
    return mat;
}

inline MATRIX3 identity()
{
    return _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

inline MATRIX3 outerp(const VECTOR3& a, const VECTOR3& b)
{
    return _M(a.x * b.x, a.x * b.y, a.x * b.z, a.y * b.x, a.y * b.y, a.y * b.z, a.z * b.x, a.z * b.y, a.z * b.z);
}

// Matrix times vector: M * v.
inline VECTOR3 mul(const MATRIX3& A, const VECTOR3& b)
{
    return _V(A.m11 * b.x + A.m12 * b.y + A.m13 * b.z, A.m21 * b.x + A.m22 * b.y + A.m23 * b.z,
        A.m31 * b.x + A.m32 * b.y + A.m33 * b.z);
}

// Transposed matrix times vector: transpose(M) * v.
inline VECTOR3 tmul(const MATRIX3& A, const VECTOR3& b)
{
    return _V(A.m11 * b.x + A.m21 * b.y + A.m31 * b.z, A.m12 * b.x + A.m22 * b.y + A.m32 * b.z,
        A.m13 * b.x + A.m23 * b.y + A.m33 * b.z);
}

inline MATRIX3 mul(const MATRIX3& A, const MATRIX3& B)
{
    return _M(A.m11 * B.m11 + A.m12 * B.m21 + A.m13 * B.m31, A.m11 * B.m12 + A.m12 * B.m22 + A.m13 * B.m32,
        A.m11 * B.m13 + A.m12 * B.m23 + A.m13 * B.m33, A.m21 * B.m11 + A.m22 * B.m21 + A.m23 * B.m31,
        A.m21 * B.m12 + A.m22 * B.m22 + A.m23 * B.m32, A.m21 * B.m13 + A.m22 * B.m23 + A.m23 * B.m33,
        A.m31 * B.m11 + A.m32 * B.m21 + A.m33 * B.m31, A.m31 * B.m12 + A.m32 * B.m22 + A.m33 * B.m32,
        A.m31 * B.m13 + A.m32 * B.m23 + A.m33 * B.m33);
}

// Rotation matrix for a rotation by angle about a unit axis.
inline MATRIX3 rotm(const VECTOR3& axis, double angle)
{
    double c = cos(angle), s = sin(angle), t = 1 - c, x = axis.x, y = axis.y, z = axis.z;
    return _M(t * x * x + c, t * x * y - z * s, t * x * z + y * s, t * x * y + z * s, t * y * y + c, t * y * z - x * s,
        t * x * z - y * s, t * y * z + x * s, t * z * z + c);
}

// With ORBITER_MODULE defined in exactly one translation unit of a module, that unit links the
// SDK's module glue and exports the module's build date.
#ifdef ORBITER_MODULE
void dummy();
void calldummy()
{
    dummy();
}
DLLCLBK char* ModuleDate()
{
    return (char*)__DATE__;
}
#endif
