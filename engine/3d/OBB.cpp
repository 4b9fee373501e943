#include "engine/3d/OBB.h"

#include <cmath>

namespace engine {

namespace {

constexpr float kTolerance = 1e-5f;

Vec3 normalised(const Vec3& v) {
    const float length = v.length();
    return length > 0.f ? v * (1.f / length) : v;
}

// The eigenvectors of a symmetric 3x3 matrix (Jacobi rotations), as the columns
// of `vectors`.
void symmetricEigenvectors(double a[3][3], double vectors[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) vectors[i][j] = i == j ? 1.0 : 0.0;
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off < 1e-24) break;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (std::fabs(a[p][q]) < 1e-30) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t = (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < 3; ++k) {   // a = a * J
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq;
                    a[k][q] = s * kp + c * kq;
                }
                for (int k = 0; k < 3; ++k) {   // a = J^T * a
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk;
                    a[q][k] = s * pk + c * qk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double kp = vectors[k][p], kq = vectors[k][q];
                    vectors[k][p] = c * kp - s * kq;
                    vectors[k][q] = s * kp + c * kq;
                }
            }
        }
    }
}

}  // namespace

OBB::OBB() { reset(); }

OBB::OBB(const AABB& box) {
    reset();
    if (box.isEmpty()) return;
    _center = box.getCenter();
    _extents = (box._max - box._min) * 0.5f;
}

OBB::OBB(const Vec3* points, int count) {
    reset();
    if (count <= 0) return;
    double mean[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i) {
        mean[0] += points[i].x;
        mean[1] += points[i].y;
        mean[2] += points[i].z;
    }
    for (double& m : mean) m /= count;
    double covariance[3][3] = {};
    for (int i = 0; i < count; ++i) {
        const double d[3] = {points[i].x - mean[0], points[i].y - mean[1], points[i].z - mean[2]};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) covariance[r][c] += d[r] * d[c] / count;
    }
    double vectors[3][3];
    symmetricEigenvectors(covariance, vectors);
    Vec3 axes[3];
    for (int c = 0; c < 3; ++c) {
        axes[c] = normalised(Vec3(static_cast<float>(vectors[0][c]), static_cast<float>(vectors[1][c]),
                                  static_cast<float>(vectors[2][c])));
    }
    // A right-handed frame whatever the eigenvectors' signs.
    axes[2] = normalised(axes[0].cross(axes[1]));
    float low[3], high[3];
    for (int a = 0; a < 3; ++a) low[a] = high[a] = points[0].dot(axes[a]);
    for (int i = 1; i < count; ++i) {
        for (int a = 0; a < 3; ++a) {
            const float d = points[i].dot(axes[a]);
            if (d < low[a]) low[a] = d;
            if (d > high[a]) high[a] = d;
        }
    }
    _xAxis = axes[0];
    _yAxis = axes[1];
    _zAxis = axes[2];
    _center = _xAxis * ((low[0] + high[0]) * 0.5f) + _yAxis * ((low[1] + high[1]) * 0.5f) +
              _zAxis * ((low[2] + high[2]) * 0.5f);
    _extents = Vec3((high[0] - low[0]) * 0.5f, (high[1] - low[1]) * 0.5f, (high[2] - low[2]) * 0.5f);
}

void OBB::set(const Vec3& center, const Vec3& xAxis, const Vec3& yAxis, const Vec3& zAxis, const Vec3& extents) {
    _center = center;
    _xAxis = xAxis;
    _yAxis = yAxis;
    _zAxis = zAxis;
    _extents = extents;
}

void OBB::reset() {
    _center = Vec3();
    _xAxis = Vec3(1, 0, 0);
    _yAxis = Vec3(0, 1, 0);
    _zAxis = Vec3(0, 0, 1);
    _extents = Vec3();
}

bool OBB::containPoint(const Vec3& point) const {
    const Vec3 d = point - _center;
    return std::fabs(d.dot(_xAxis)) <= _extents.x + kTolerance && std::fabs(d.dot(_yAxis)) <= _extents.y + kTolerance &&
           std::fabs(d.dot(_zAxis)) <= _extents.z + kTolerance;
}

void OBB::getCorners(Vec3* dst) const {
    const Vec3 x = _xAxis * _extents.x, y = _yAxis * _extents.y, z = _zAxis * _extents.z;
    dst[0] = _center - x + y + z;
    dst[1] = _center - x - y + z;
    dst[2] = _center + x - y + z;
    dst[3] = _center + x + y + z;
    dst[4] = _center + x + y - z;
    dst[5] = _center + x - y - z;
    dst[6] = _center - x - y - z;
    dst[7] = _center - x + y - z;
}

bool OBB::intersects(const OBB& box) const {
    const Vec3 mine[3] = {_xAxis, _yAxis, _zAxis};
    const Vec3 theirs[3] = {box._xAxis, box._yAxis, box._zAxis};
    const float myExtents[3] = {_extents.x, _extents.y, _extents.z};
    const float theirExtents[3] = {box._extents.x, box._extents.y, box._extents.z};
    const Vec3 between = box._center - _center;
    // Separated along the axis when the boxes' shadows on it do not meet.
    auto separated = [&](const Vec3& axis) {
        if (axis.dot(axis) < 1e-12f) return false;   // parallel edges: covered by the face axes
        float reach = 0;
        for (int i = 0; i < 3; ++i) {
            reach += myExtents[i] * std::fabs(mine[i].dot(axis));
            reach += theirExtents[i] * std::fabs(theirs[i].dot(axis));
        }
        return std::fabs(between.dot(axis)) > reach + kTolerance;
    };
    for (int i = 0; i < 3; ++i) {
        if (separated(mine[i]) || separated(theirs[i])) return false;
    }
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (separated(mine[i].cross(theirs[j]))) return false;
        }
    }
    return true;
}

void OBB::transform(const Mat4& matrix) {
    matrix.transformPoint(&_center);
    Vec3* axes[3] = {&_xAxis, &_yAxis, &_zAxis};
    float* extents[3] = {&_extents.x, &_extents.y, &_extents.z};
    for (int i = 0; i < 3; ++i) {
        Vec3 turned;
        matrix.transformVector(axes[i]->x, axes[i]->y, axes[i]->z, 0.f, &turned);
        const float length = turned.length();
        *extents[i] *= length;
        *axes[i] = length > 0.f ? turned * (1.f / length) : turned;
    }
}

}  // namespace engine
