#pragma once

// Painter::cMatrix: a 3 x 3 affine transform in row-vector form, as layers
// store it: a point (x, y) maps to (x, y, 1) x M, so the first two rows are
// the images of the x and y unit vectors and the third row the translation.
// Matrices multiply left to right (A * B applies A first). The third column
// is taken to be (0, 0, 1).

#include <cstdint>

namespace Painter {

class cMatrix
{
public:
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    cMatrix() = default;
    cMatrix(float m00, float m01, float m10, float m11, float m20, float m21)
        : m{{m00, m01, 0}, {m10, m11, 0}, {m20, m21, 1}}
    {
    }

    static cMatrix Identity() { return cMatrix(); }
    static cMatrix Translation(float x, float y) { return cMatrix(1, 0, 0, 1, x, y); }
    static cMatrix Scale(float x, float y) { return cMatrix(x, 0, 0, y, 0, 0); }
    // Turns by `radians`, positive from the x axis towards the y axis.
    static cMatrix Rotation(double radians);

    // This transform followed by `next`.
    cMatrix operator*(const cMatrix& next) const;
    bool operator==(const cMatrix& other) const;

    // The determinant of the linear part.
    double Determinant() const;
    // Whether every entry is a finite number.
    bool IsFinite() const;
    // No rotation, scale or skew: the linear part is exactly the identity.
    bool IsTranslation() const { return m[0][0] == 1 && m[0][1] == 0 && m[1][0] == 0 && m[1][1] == 1; }

    void Transform(double x, double y, double& outX, double& outY) const
    {
        outX = x * m[0][0] + y * m[1][0] + m[2][0];
        outY = x * m[0][1] + y * m[1][1] + m[2][1];
    }
};

// The inverse of an affine transform in double precision, for mapping
// target pixels back into a source.
struct sInverseMatrix
{
    double m00 = 1, m01 = 0, m10 = 0, m11 = 1, m20 = 0, m21 = 0;

    // Smallest |determinant| that is still inverted; a flatter transform
    // draws nothing.
    static constexpr double kEpsilon = 1e-9;

    // False (inverse unchanged) for a non-finite or (nearly) singular matrix.
    bool Invert(const cMatrix& matrix);

    void Transform(double x, double y, double& outX, double& outY) const
    {
        outX = x * m00 + y * m10 + m20;
        outY = x * m01 + y * m11 + m21;
    }
};

} // namespace Painter
