// Stand-in of the host SDK's VesselAPI.h: the VESSEL interface class with the members that skyveil and
// its stand-in host use, and VESSEL2 with its virtual callbacks in the order of the real vtable.
// Declarations only; the headless stand-in simulator implements them.
#pragma once

#include "OrbiterAPI.h"

class Vessel; // the host's internal vessel object

typedef struct {
    VECTOR3 pos; // touchdown point in vessel coordinates [m]
    double stiffness; // suspension stiffness [N/m]
    double damping; // suspension damping [N s/m]
    double mu; // lateral friction coefficient
    double mu_lng; // longitudinal friction coefficient
} TOUCHDOWNVTX;

struct HUDPAINTSPEC {
    int W, H;
    int CX, CY;
    double Scale;
    int Markersize;
};

class OAPIFUNC VESSEL {
public:
    VESSEL(OBJHANDLE hVessel, int fmodel = 1);

    inline int Version() const { return version; }

    // Identity
    const OBJHANDLE GetHandle() const;
    char* GetName() const;
    char* GetClassName() const;
    bool GetEnableFocus() const;
    void SetEnableFocus(bool enable) const;

    // Size, visibility, camera
    double GetSize() const;
    void SetSize(double size) const;
    void SetVisibilityLimit(double vislimit, double spotlimit = -1) const;
    double GetClipRadius() const;
    void SetClipRadius(double rad) const;
    void SetCameraOffset(const VECTOR3& co) const;

    // Mass and inertia
    double GetEmptyMass() const;
    void SetEmptyMass(double m) const;
    double GetMass() const;
    void GetPMI(VECTOR3& pmi) const;
    void SetPMI(const VECTOR3& pmi) const;

    // Touchdown points
    void SetTouchdownPoints(const TOUCHDOWNVTX* tdvtx, DWORD ntdvtx) const;
    DWORD GetTouchdownPointCount() const;
    double GetCOG_elev() const;

    // State
    void GetStatus(VESSELSTATUS& status) const;
    void GetStatusEx(void* status) const;
    void DefSetStateEx(const void* status) const;
    DWORD GetFlightStatus() const;
    void GetGlobalPos(VECTOR3& pos) const;
    void GetGlobalVel(VECTOR3& vel) const;
    void GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const;
    void GetAngularVel(VECTOR3& avel) const;
    void GetRotationMatrix(MATRIX3& R) const;
    void GlobalRot(const VECTOR3& rloc, VECTOR3& rglob) const;
    void HorizonRot(const VECTOR3& rloc, VECTOR3& rhorizon) const;
    void Local2Global(const VECTOR3& local, VECTOR3& global) const;
    void Global2Local(const VECTOR3& global, VECTOR3& local) const;

    // Orbit and surface
    OBJHANDLE GetPeDist(double& pedist) const;
    OBJHANDLE GetApDist(double& apdist) const;
    const OBJHANDLE GetSurfaceRef() const;
    const OBJHANDLE GetAtmRef() const;
    double GetAltitude() const;
    double GetAltitude(AltitudeMode mode, int* reslvl = 0);
    double GetPitch() const;
    double GetBank() const;
    double GetYaw() const;
    double GetSurfaceElevation() const;
    OBJHANDLE GetEquPos(double& longitude, double& latitude, double& radius) const;

    // Airspeed
    double GetAirspeed() const;
    bool GetAirspeedVector(REFFRAME frame, VECTOR3& v) const;
    bool GetHorizonAirspeedVector(VECTOR3& v) const;
    bool GetShipAirspeedVector(VECTOR3& v) const;
    double GetAOA() const;

    // Controls and forces
    void SetADCtrlMode(DWORD mode) const;
    void SetControlSurfaceLevel(AIRCTRL_TYPE type, double level) const;
    void SetControlSurfaceLevel(AIRCTRL_TYPE type, double level, bool direct) const;
    double GetControlSurfaceLevel(AIRCTRL_TYPE type) const;
    void AddForce(const VECTOR3& F, const VECTOR3& r) const;
    void SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const;
    void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;
    double GetThrusterGroupLevel(THGROUP_HANDLE thg) const;
    double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
    double GetWheelbrakeLevel(int which) const;

    // Meshes
    UINT AddMesh(const char* meshname, const VECTOR3* ofs = 0) const;
    UINT AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs = 0) const;
    UINT GetMeshCount() const;
    MESHHANDLE GetMesh(VISHANDLE vis, UINT idx) const;
    const MESHHANDLE GetMeshTemplate(UINT idx) const;
    void SetMeshVisibilityMode(UINT idx, WORD mode) const;
    WORD GetMeshVisibilityMode(UINT idx) const;

    // Scenario
    void ParseScenarioLineEx(char* line, void* status) const;

    // Obsolete methods, still part of the interface
    void SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const;
    void GetTouchdownPoints(VECTOR3& pt1, VECTOR3& pt2, VECTOR3& pt3) const;

protected:
    Vessel* vessel;
    short flightmodel;
    short version;
};

// Do not add, remove or re-arrange the virtual methods: the host calls them through this vtable.
class OAPIFUNC VESSEL2 : public VESSEL {
public:
    VESSEL2(OBJHANDLE hVessel, int fmodel = 1);

    virtual void clbkSetClassCaps(FILEHANDLE cfg);
    virtual void clbkSaveState(FILEHANDLE scn);
    virtual void clbkLoadStateEx(FILEHANDLE scn, void* status);
    virtual void clbkSetStateEx(const void* status);
    virtual void clbkPostCreation();
    virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel);
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual bool clbkPlaybackEvent(double simt, double event_t, const char* event_type, const char* event);
    virtual void clbkVisualCreated(VISHANDLE vis, int refcount);
    virtual void clbkVisualDestroyed(VISHANDLE vis, int refcount);
    virtual void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hDC);
    virtual void clbkRCSMode(int mode);
    virtual void clbkADCtrlMode(DWORD mode);
    virtual void clbkHUDMode(int mode);
    virtual void clbkMFDMode(int mfd, int mode);
    virtual void clbkNavMode(int mode, bool active);
    virtual void clbkDockEvent(int dock, OBJHANDLE mate);
    virtual void clbkAnimate(double simt);
    virtual int clbkConsumeDirectKey(char* kstate);
    virtual int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate);
    virtual bool clbkLoadGenericCockpit();
    virtual bool clbkLoadPanel(int id);
    virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my);
    virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf);
    virtual bool clbkLoadVC(int id);
    virtual bool clbkVCMouseEvent(int id, int event, VECTOR3& p);
    virtual bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf);
};
