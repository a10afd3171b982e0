#include "tools/qvhost/composition.h"

#include <cmath>
#include <utility>

namespace qvhost {

A_Matrix4 translation(double x, double y, double z)
{
    A_Matrix4 m{};
    for (int i = 0; i < 4; ++i)
        m.mat[i][i] = 1;
    m.mat[3][0] = x;
    m.mat[3][1] = y;
    m.mat[3][2] = z;
    return m;
}

A_Matrix4 pointing(const AEGP_ThreeDVal& position, const AEGP_ThreeDVal& target)
{
    double z[3] = {target.x - position.x, target.y - position.y, target.z - position.z};
    double length = std::sqrt(z[0] * z[0] + z[1] * z[1] + z[2] * z[2]);
    if (length == 0) {
        z[2] = 1;
        length = 1;
    }
    for (double& c : z)
        c /= length;
    // y points down the screen as in the composition; x completes a right-handed set.
    double up[3] = {0, 1, 0};
    if (std::fabs(z[1]) > 0.99) {
        up[1] = 0;
        up[2] = 1;
    }
    double x[3] = {up[1] * z[2] - up[2] * z[1], up[2] * z[0] - up[0] * z[2],
                   up[0] * z[1] - up[1] * z[0]};
    const double xl = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    for (double& c : x)
        c /= xl;
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                         z[0] * x[1] - z[1] * x[0]};
    A_Matrix4 m = translation(position.x, position.y, position.z);
    for (int i = 0; i < 3; ++i) {
        m.mat[0][i] = x[i];
        m.mat[1][i] = y[i];
        m.mat[2][i] = z[i];
    }
    return m;
}

double default_zoom(int comp_width)
{
    // A 50 mm lens on a 36 mm film back: the image plane is this far from the eye.
    return comp_width * 50.0 / 36.0;
}

host_layer footage_layer(const std::string& name, host_image image)
{
    host_layer layer;
    layer.name = name;
    layer.image = std::move(image);
    layer.transform = translation(0, 0, 0);
    return layer;
}

host_layer light_layer(AEGP_LightType type, const AEGP_ThreeDVal& position,
                       const AEGP_ThreeDVal& target)
{
    host_layer layer;
    layer.kind = layer_kind::light;
    layer.name = "Light";
    layer.light_type = type;
    layer.transform = pointing(position, target);
    return layer;
}

host_layer camera_layer(const AEGP_ThreeDVal& position, const AEGP_ThreeDVal& target, double zoom,
                        AEGP_CameraType type)
{
    host_layer layer;
    layer.kind = layer_kind::camera;
    layer.name = "Camera";
    layer.transform = pointing(position, target);
    layer.zoom = zoom;
    layer.camera_type = type;
    return layer;
}

} // namespace qvhost
