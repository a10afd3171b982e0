#include "plugin/renderer/model_matrix.h"

namespace qvsdk {

mat4 model_matrix(const float translation[4], const float rotation[4], float scale)
{
    mat4 scaling = mat4::identity();
    scaling[0] = scaling[5] = scaling[10] = scale;
    const mat4 rotating = mat4::from_quaternion(rotation[0], rotation[1], rotation[2], rotation[3]);
    mat4 moving = mat4::identity();
    moving[12] = translation[0];
    moving[13] = translation[1];
    moving[14] = translation[2];
    return moving * rotating * scaling;
}

} // namespace qvsdk
