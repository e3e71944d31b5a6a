#include "framework/painter/Matrix.h"

#include <cmath>

namespace Painter {

cMatrix cMatrix::Rotation(double radians)
{
    if (radians == 0)
        return cMatrix();
    const float c = static_cast<float>(std::cos(radians));
    const float s = static_cast<float>(std::sin(radians));
    return cMatrix(c, s, -s, c, 0, 0);
}

cMatrix cMatrix::operator*(const cMatrix& next) const
{
    cMatrix result;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
        {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += static_cast<double>(m[row][k]) * next.m[k][column];
            result.m[row][column] = static_cast<float>(sum);
        }
    return result;
}

bool cMatrix::operator==(const cMatrix& other) const
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (m[row][column] != other.m[row][column])
                return false;
    return true;
}

double cMatrix::Determinant() const
{
    return static_cast<double>(m[0][0]) * m[1][1] - static_cast<double>(m[0][1]) * m[1][0];
}

bool cMatrix::IsFinite() const
{
    for (const auto& row : m)
        for (float value : row)
            if (!std::isfinite(value))
                return false;
    return true;
}

bool sInverseMatrix::Invert(const cMatrix& matrix)
{
    if (!matrix.IsFinite())
        return false;
    const double det = matrix.Determinant();
    if (!std::isfinite(det) || std::fabs(det) < kEpsilon)
        return false;
    const double a = matrix.m[0][0], b = matrix.m[0][1];
    const double c = matrix.m[1][0], d = matrix.m[1][1];
    const double e = matrix.m[2][0], f = matrix.m[2][1];
    sInverseMatrix inverse;
    inverse.m00 = d / det;
    inverse.m01 = -b / det;
    inverse.m10 = -c / det;
    inverse.m11 = a / det;
    inverse.m20 = (c * f - d * e) / det;
    inverse.m21 = (b * e - a * f) / det;
    if (!std::isfinite(inverse.m00) || !std::isfinite(inverse.m01) || !std::isfinite(inverse.m10) ||
        !std::isfinite(inverse.m11) || !std::isfinite(inverse.m20) || !std::isfinite(inverse.m21))
        return false;
    *this = inverse;
    return true;
}

} // namespace Painter
