// The camera's matrices through the system's GL and GLU (fixed-function pipeline).
#include "players/DirectorUserFixed.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace T730
{

void DirectorUserFixed::apply() const
{
    gluLookAt (0.0, (double) height + 1.0, (double) distance + 2.0, 0.0, (double) height, 0.0, 0.0, 1.0, 0.0);
    glRotatef (angleX, 1.0f, 0.0f, 0.0f);
    glRotatef (angleY, 0.0f, 1.0f, 0.0f);
    glTranslatef (-x0, -y0, -z0);
}

void DirectorUserFixed::applyProjection (int width, int height)
{
    glViewport (0, 0, width, height);
    glMatrixMode (GL_PROJECTION);
    glLoadIdentity();
    gluPerspective (fieldOfView, height > 0 ? (double) width / (double) height : 1.0, nearPlane, farPlane);
    glMatrixMode (GL_MODELVIEW);
}

} // namespace T730
