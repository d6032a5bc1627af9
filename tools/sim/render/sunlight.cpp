#include "sunlight.h"

#include <GL/gl.h>

namespace skysim {

const float ambientLight = 0.08f;

VECTOR3 sunDirection(const SceneView& view)
{
    if (vlen(view.bodyPos) > 1.0)
        return vunit(vmul(view.bodyPos, -1.0));
    return vunit(_V(-0.6, 0.35, -0.7));
}

void setSunLight(const EyeFrame& eye, const VECTOR3& sunDir, float ambient)
{
    // A direction given under the camera's rotation lands in eye coordinates, where GL keeps it.
    double mv[16];
    viewRotation(eye, mv);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(mv);
    const GLfloat dir[4] = {GLfloat(sunDir.x), GLfloat(sunDir.y), GLfloat(sunDir.z), 0.0f};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat amb[4] = {ambient, ambient, ambient, 1};
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, dir);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, amb);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
}

} // namespace skysim
