#pragma once

// Brimvale::cBVObject: the base of every layer of a document. It holds the
// layer's name, visibility, transform fields and the matrix derived from
// them, and the state values documents store that this program only
// carries through.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/core/Geometry.h"
#include "framework/core/WideString.h"
#include "framework/painter/Matrix.h"

namespace Painter {
class cCanvas;
class cPicture;
} // namespace Painter

namespace Brimvale {

class cBVGroup;

class cBVObject
{
public:
    // The kind codes children are stored under (0: not a stored kind).
    enum : std::int32_t
    {
        KindNone = 0,
        KindGroup = 1,
        KindImage = 256,
        KindBackground = 257,
        KindText = 512,
        KindPath = 768,
        KindStockShape = 769,
    };

    // Values a document stores and copies without interpreting them.
    struct sStoredState
    {
        std::uint8_t secondFlag = 0;
        std::int32_t stateValue = 0;
        std::int16_t linkValue = -1;
        std::uint8_t stateBytes[2] = {0, 0};
    };

    cBVObject() = default;
    cBVObject(const cBVObject& other);
    cBVObject& operator=(const cBVObject&) = delete;
    virtual ~cBVObject();

    virtual std::int32_t Kind() const { return KindNone; }
    // A deep copy (without a parent); null when memory runs out.
    virtual std::unique_ptr<cBVObject> Clone() const;
    virtual std::size_t GetMemorySize() const { return 112; }
    virtual void ReleaseCache() {}
    virtual void SetPosition(std::int32_t x, std::int32_t y);
    virtual void SetRotation(float radians);
    virtual void SetSkew(float x, float y);
    // Stores the scale only; the next operation that recomputes the matrix
    // takes it in.
    virtual void SetScale(float x, float y);
    // The layer's own rectangle before the transform.
    virtual Container::sRect GetLocalBounds() const { return Container::sRect{}; }
    // Whether (x, y) lies in GetBounds.
    virtual bool HitTest(std::int32_t x, std::int32_t y) const;
    // The canvas rectangle the layer covers: its local rectangle through the
    // matrix. Empty for a transform that is not finite or maps outside the
    // range of picture coordinates.
    virtual Container::sRect GetBounds(bool withStyles) const;
    virtual void Invalidate() {}
    // Render with the layer's own blending mode and opacity.
    virtual void Draw(Painter::cCanvas& canvas, const Painter::cMatrix& matrix);
    virtual void Render(Painter::cCanvas& canvas, const Painter::cMatrix& matrix, std::int32_t mode,
                        std::int32_t opacity)
    {
    }
    virtual void GetSize(std::int32_t& width, std::int32_t& height) const;
    virtual Painter::cPicture* GetPicture() { return nullptr; }
    virtual const Painter::cPicture* GetPicture() const { return nullptr; }

    // Recomputes the matrix: T(-pivot) S(scale) K(skew) R(rotation), then
    // the position added to the translation.
    void UpdateMatrix();

    const Container::cWideString& Name() const { return m_name; }
    void SetName(const Container::cWideString& name) { m_name = name; }
    std::uint8_t Visible() const { return m_visible; }
    void SetVisible(std::uint8_t visible) { m_visible = visible; }
    cBVGroup* Parent() const { return m_parent; }
    void SetParent(cBVGroup* parent) { m_parent = parent; }
    Container::sPoint Position() const { return m_position; }
    float Rotation() const { return m_rotation; }
    float ScaleX() const { return m_scaleX; }
    float ScaleY() const { return m_scaleY; }
    float SkewX() const { return m_skewX; }
    float SkewY() const { return m_skewY; }
    float PivotX() const { return m_pivotX; }
    float PivotY() const { return m_pivotY; }
    void SetPivot(float x, float y) { m_pivotX = x; m_pivotY = y; }
    const Painter::cMatrix& Matrix() const { return m_matrix; }
    sStoredState& State() { return m_state; }
    const sStoredState& State() const { return m_state; }

    // The transform fields as a file stores them, without recomputing the
    // matrix (the reader calls UpdateMatrix once they are all in).
    void SetTransformFields(Container::sPoint position, float rotation, float scaleX, float scaleY, float skewX,
                            float skewY, float pivotX, float pivotY);

protected:
    // The bounding box of rect through matrix, empty when it is not finite or
    // too large.
    static Container::sRect TransformedBounds(const Container::sRect& rect, const Painter::cMatrix& matrix);

private:
    Container::cWideString m_name;
    std::uint8_t m_visible = 1;
    cBVGroup* m_parent = nullptr;
    Container::sPoint m_position;
    float m_rotation = 0;
    float m_scaleX = 1;
    float m_scaleY = 1;
    float m_skewX = 0;
    float m_skewY = 0;
    float m_pivotX = 0;
    float m_pivotY = 0;
    Painter::cMatrix m_matrix;
    sStoredState m_state;
};

} // namespace Brimvale
