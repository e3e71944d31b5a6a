#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "framework/document/BVGroup.h"
#include "framework/document/BVImage.h"
#include "framework/document/BVScene.h"
#include "framework/document/BVShape.h"
#include "tests/document/DocumentTestSupport.h"

using namespace DocumentTest;
using Brimvale::cBVGroup;
using Brimvale::cBVImage;
using Brimvale::cBVObject;
using Container::sRect;

namespace {

void ExpectMatrix(const Painter::cMatrix& m, const float (&expected)[6], const char* what)
{
    const float got[6] = {m.m[0][0], m.m[0][1], m.m[1][0], m.m[1][1], m.m[2][0], m.m[2][1]};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-5) << what << " entry " << i;
}

} // namespace

TEST(BVObject, NewObjectsCarryTheDefaults)
{
    const cBVImage image;
    EXPECT_TRUE(image.Name().IsEmpty());
    EXPECT_EQ(image.Visible(), 1);
    EXPECT_EQ(image.State().secondFlag, 0);
    EXPECT_EQ(image.State().stateValue, 0);
    EXPECT_EQ(image.State().linkValue, -1);
    EXPECT_EQ(image.State().stateBytes[0], 0);
    EXPECT_EQ(image.State().stateBytes[1], 0);
    EXPECT_EQ(image.ScaleX(), 1.0f);
    EXPECT_EQ(image.ScaleY(), 1.0f);
    EXPECT_EQ(image.Opacity(), 255);
    EXPECT_EQ(image.BlendingMode(), 0);
    EXPECT_TRUE(image.Styles().Enabled());
    EXPECT_TRUE(image.Styles().IsEmpty());
    EXPECT_EQ(image.Mask(), nullptr);
    EXPECT_EQ(image.Kind(), cBVObject::KindImage);
    EXPECT_TRUE(image.Matrix() == Painter::cMatrix::Identity());

    const Brimvale::cBVScene scene;
    EXPECT_EQ(scene.Resolution(), 96);
    EXPECT_EQ(scene.Grid().width, 10);
    EXPECT_EQ(scene.Grid().height, 10);
    EXPECT_EQ(scene.Grid().flags[0], 1);
    EXPECT_EQ(scene.Grid().flags[1], 1);
    EXPECT_TRUE(scene.Canvas().IsEmpty());
    EXPECT_EQ(scene.Root().Expanded(), 1);
    EXPECT_EQ(scene.Metadata(), nullptr);
}

TEST(BVObject, SetScaleWaitsForTheNextMatrixUpdate)
{
    cBVImage image;
    image.SetPosition(5, 7);
    ExpectMatrix(image.Matrix(), {1, 0, 0, 1, 5, 7}, "after SetPosition");
    image.SetScale(2, 2);
    ExpectMatrix(image.Matrix(), {1, 0, 0, 1, 5, 7}, "after SetScale alone");
    image.UpdateMatrix();
    ExpectMatrix(image.Matrix(), {2, 0, 0, 2, 5, 7}, "after UpdateMatrix");
}

TEST(BVObject, MatrixIsPivotScaleSkewRotationThenPosition)
{
    struct sCase
    {
        float pivotX, pivotY, scaleX, scaleY, skewX, skewY, rotation;
        std::int32_t x, y;
        float expected[6];
    };
    const float c = std::cos(0.5f), s = std::sin(0.5f);
    const sCase cases[] = {
        // Pivot (2, 3) scaled by (2, 4): the translation is -pivot scaled, plus the position.
        {2, 3, 2, 4, 0, 0, 0, 10, 20, {2, 0, 0, 4, 6, 8}},
        // Skew: the x unit vector gains ky in y, the y unit vector kx in x.
        {0, 0, 1, 1, 0.5f, 0.25f, 0, 0, 0, {1, 0.25f, 0.5f, 1, 0, 0}},
        // Rotation by 0.5 rad: rows (cos, sin) and (-sin, cos).
        {0, 0, 1, 1, 0, 0, 0.5f, 3, 4, {c, s, -s, c, 3, 4}},
        // Scale then rotation, with a pivot: T(-p) S R + position.
        {1, 0, 2, 1, 0, 0, 0.5f, 0, 0, {2 * c, 2 * s, -s, c, -2 * c, -2 * s}},
    };
    for (const sCase& t : cases)
    {
        cBVImage image;
        image.SetTransformFields(Container::sPoint{t.x, t.y}, t.rotation, t.scaleX, t.scaleY, t.skewX, t.skewY,
                                 t.pivotX, t.pivotY);
        image.UpdateMatrix();
        ExpectMatrix(image.Matrix(), t.expected, "case");
    }
}

TEST(BVObject, BoundsFollowTheMatrixAndRefuseWildGeometry)
{
    cBVImage image;
    image.GetPicture()->CopyFrom(Solid(10, 4, 0xFF00FF00u));
    image.SetPosition(3, 5);
    EXPECT_EQ(image.GetBounds(true), (sRect{3, 5, 13, 9}));
    EXPECT_TRUE(image.HitTest(3, 5));
    EXPECT_FALSE(image.HitTest(13, 5));
    image.SetRotation(float(std::numbers::pi / 2));
    // A quarter turn about the origin: x becomes -y.
    EXPECT_EQ(image.GetBounds(true), (sRect{-1, 5, 3, 15}));

    const float wild[] = {NAN, INFINITY, 1e30f};
    for (float value : wild)
    {
        cBVImage layer;
        layer.GetPicture()->CopyFrom(Solid(10, 4, 0xFF00FF00u));
        layer.SetTransformFields(Container::sPoint{0, 0}, 0, value, 1, 0, 0, 0, 0);
        layer.UpdateMatrix();
        EXPECT_EQ(layer.GetBounds(true), sRect{}) << value;
    }
}

TEST(BVGroup, BoundsAreTheUnionOfTheChildren)
{
    cBVGroup empty;
    empty.RecomputeBounds();
    EXPECT_EQ(empty.GetBounds(true), sRect{});
    EXPECT_EQ(empty.GetLocalBounds(), sRect{});

    cBVGroup group;
    group.AddChild(ImageLayer(Solid(4, 4, 0xFFFFFFFFu), 10, 20));
    auto inner = std::make_unique<cBVGroup>();
    inner->AddChild(ImageLayer(Solid(2, 3, 0xFFFFFFFFu), -5, 30));
    cBVGroup* innerGroup = inner.get();
    group.AddChild(std::move(inner));
    group.RecomputeBounds();
    EXPECT_EQ(innerGroup->Position(), (Container::sPoint{-5, 30}));
    EXPECT_EQ(innerGroup->GetLocalBounds(), (sRect{0, 0, 2, 3}));
    EXPECT_EQ(group.GetBounds(true), (sRect{-5, 20, 14, 33}));
    EXPECT_EQ(group.Position(), (Container::sPoint{-5, 20}));
    EXPECT_EQ(group.GetLocalBounds(), (sRect{0, 0, 19, 13}));
    EXPECT_EQ(group.Child(0).Parent(), &group);
    EXPECT_EQ(innerGroup->Parent(), &group);
}

TEST(BVGroup, CloneIsDeep)
{
    cBVGroup group;
    group.AddChild(ImageLayer(Solid(2, 2, 0xFF112233u), 1, 1));
    std::unique_ptr<cBVObject> copy = group.Clone();
    ASSERT_TRUE(copy);
    auto& copied = static_cast<cBVGroup&>(*copy);
    ASSERT_EQ(copied.ChildCount(), 1u);
    EXPECT_EQ(copied.Child(0).Parent(), &copied);
    group.Child(0).GetPicture()->Fill(0);
    EXPECT_EQ(copied.Child(0).GetPicture()->Pixel(0, 0), 0xFF112233u);
}

TEST(BVScene, RenderCompositesLayersBottomFirst)
{
    Brimvale::cBVScene scene;
    ASSERT_TRUE(scene.SetCanvasSize(4, 2));
    scene.Root().AddChild(ImageLayer(Solid(4, 2, 0xFF0000FFu)));
    auto top = ImageLayer(Solid(2, 2, 0xFFFF0000u), 1, 0);
    top->SetOpacity(128);
    scene.Root().AddChild(std::move(top));
    auto hidden = ImageLayer(Solid(4, 2, 0xFF00FF00u));
    hidden->SetVisible(0);
    scene.Root().AddChild(std::move(hidden));
    ASSERT_TRUE(scene.Render());
    const Painter::cPicture& canvas = scene.Canvas();
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(canvas.Pixel(3, 1), 0xFF0000FFu);
    // Red at opacity 128 over blue.
    const std::uint32_t mixed = canvas.Pixel(1, 0);
    EXPECT_EQ(mixed >> 24, 0xFFu);
    EXPECT_NEAR(int((mixed >> 16) & 0xFF), 128, 1);
    EXPECT_NEAR(int(mixed & 0xFF), 127, 1);
    EXPECT_EQ(canvas.Pixel(2, 1), mixed);
}

TEST(BVScene, SingularAndHugeGeometryDrawsNothing)
{
    Brimvale::cBVScene scene;
    ASSERT_TRUE(scene.SetCanvasSize(8, 8));
    auto flat = ImageLayer(Solid(8, 8, 0xFFFFFFFFu));
    flat->SetScale(0, 1);
    flat->UpdateMatrix();
    scene.Root().AddChild(std::move(flat));
    auto far = ImageLayer(Solid(8, 8, 0xFFFFFFFFu), 2000000000, 0);
    scene.Root().AddChild(std::move(far));
    auto shape = std::make_unique<Brimvale::cBVShape>();
    shape->width = NAN;
    scene.Root().AddChild(std::move(shape));
    ASSERT_TRUE(scene.Render());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(scene.Canvas().Pixel(x, y), 0u);
}
