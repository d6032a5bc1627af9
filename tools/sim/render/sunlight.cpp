#include "sunlight.h"

#include <GL/gl.h>

namespace skysim {

const float ambientLight = 0.08f;

VECTOR3 sunDirection(const SceneView& view)
{
    if (length(view.bodyPos) > 1.0)
        return unit(view.bodyPos * -1.0);
    return unit(_V(-0.6, 0.35, -0.7));
}

VECTOR3 sunPosition(const SceneView& view)
{
    if (length(view.bodyPos) > 1.0)
        return _V(0, 0, 0);
    return view.bodyPos + sunDirection(view) * AU;
}

LightingBody lightingBody(const SceneView& view)
{
    LightingBody b;
    b.pos = view.bodyPos;
    b.radius = view.bodyRadius;
    b.atm = view.bodyAtm;
    return b;
}

namespace {

void setLight0(const VECTOR3& dir, const GLfloat colour[4], float ambient, float globalAmbient)
{
    const GLfloat position[4] = {GLfloat(dir.x), GLfloat(dir.y), GLfloat(dir.z), 0.0f};
    const GLfloat amb[4] = {ambient, ambient, ambient, 1};
    const GLfloat global[4] = {globalAmbient, globalAmbient, globalAmbient, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, colour);
    glLightfv(GL_LIGHT0, GL_SPECULAR, colour);
    glLightfv(GL_LIGHT0, GL_AMBIENT, amb);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, global);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
}

} // namespace

void setDirectionalLight(const VECTOR3& dir, float ambient, float globalAmbient)
{
    const GLfloat white[4] = {1, 1, 1, 1};
    setLight0(dir, white, ambient, globalAmbient);
}

void setVesselLight(const EyeFrame& eye, const VECTOR3& sunDir, const VesselLight& light, float sceneAmbient)
{
    double mv[16];
    viewRotation(eye, mv);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mv);
    const GLfloat colour[4] = {light.sun[0], light.sun[1], light.sun[2], 1};
    setLight0(sunDir, colour, light.ambient, sceneAmbient);
}

void setSunLight(const EyeFrame& eye, const VECTOR3& sunDir, float ambient)
{
    // A direction given under the camera's rotation lands in eye coordinates, where GL keeps it.
    double mv[16];
    viewRotation(eye, mv);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mv);
    setDirectionalLight(sunDir, ambient, 0.0f);
}

} // namespace skysim
