#pragma once

#include "plugin/renderer/sphere_mesh.h"

// The unit geodesic sphere: an icosahedron with its poles on the y axis, every
// face divided into frequency² triangles, all points pushed onto the sphere.
// Triangles share no vertex; each gets u/v from its positions (seam on -x) and
// per-vertex tangents. Throws std::runtime_error on a degenerate triangle.
qvsdk::sphere_mesh build_geodesic_sphere(int frequency);
